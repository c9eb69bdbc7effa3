#pragma once
// Creating tables and tags, rebuilding and verifying indexes.

#include <string>
#include <vector>

#include "platform/xbase/field.h"

namespace xbase {

struct TagSpec {
  std::string name;  // at most 10 characters; stored upper case
  std::string key_expr;
  std::string for_expr;  // empty: every record
  bool unique = false;
  bool descending = false;
};

// Creates a new table at `path` (".DBF" added when there is no extension): version 0x03, or 0xF5
// with an FPT memo file when a field is a memo; with a structural CDX holding `tags` when any are
// given. Fails when the table exists.
void CreateTable(const std::string& path, const Schema& fields, const std::vector<TagSpec>& tags);

// Adds a tag to the table's structural index, creating the index when the table has none, and
// fills it from the records. Needs the table exclusively.
void CreateTag(const std::string& path, const TagSpec& tag);

// Rebuilds every tag from the records. Needs the table exclusively.
void Reindex(const std::string& path);

struct VerifyReport {
  std::string tag;                    // empty for the table itself
  std::vector<std::string> problems;  // empty when sound
};

// Checks every tag: every record (deleted ones included) exactly once unless its FOR condition
// leaves it out, keys in order, each stored key equal to its expression's value, a sound page
// structure. Holds the table's file lock meanwhile so that no station changes it.
std::vector<VerifyReport> Verify(const std::string& path);

}  // namespace xbase

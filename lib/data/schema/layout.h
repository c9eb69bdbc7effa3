#pragma once
// The record layouts and index tags of every table the program reads or writes: the one place
// that defines them, for creating tables (demo database, tests) and for checking a site's tables
// when they are opened.

#include <string>
#include <string_view>
#include <vector>

#include "platform/xbase/field.h"
#include "platform/xbase/table_maintenance.h"

namespace schema {

// What the program needs of a field of a site's existing table.
enum class Need {
  kFixedWidth,  // read or written by name, and joined into keys: type and width must match
  kTyped,       // read or written by name: the type must match, the width is the site's
  kOptional,    // looked up by name before it is read, or only part of our own layout
};

struct FieldDef {
  std::string name;
  char type = 'C';
  int length = 0;
  int decimals = 0;
  Need need = Need::kTyped;
};

struct TableLayout {
  std::string name;
  std::vector<FieldDef> fields;
  std::vector<xbase::TagSpec> tags;
};

// Every layout: the hotel tables first, then the site tables of the frame and error handler.
const std::vector<TableLayout>& Layouts();
// The layout of the table named `name` (case-insensitive), or nullptr.
const TableLayout* FindLayout(std::string_view name);

// The DBF field list of a layout.
xbase::Schema FieldsOf(const TableLayout& layout);
// Creates the table of `layout` with its tags in `folder` (upper-case file names).
void CreateFromLayout(const std::string& folder, const TableLayout& layout);

// The layouts of each group, defined in their own files.
std::vector<TableLayout> HotelLayouts();
std::vector<TableLayout> SiteLayouts();

}  // namespace schema

// Commands that write: reindex, append, set, delete, create. Writes go through the same locks as
// any station: shared open, record lock, release.
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <thread>

#include "platform/xbase/cursor.h"
#include "platform/xbase/error.h"
#include "platform/xbase/table_maintenance.h"
#include "tools/xbtool/commands.h"
#include "tools/xbtool/field_text.h"

namespace xbtool {
namespace {

using xbase::Error;
using xbase::ErrorKind;

constexpr auto kLockPatience = std::chrono::seconds(5);
constexpr auto kLockRetry = std::chrono::milliseconds(100);

// Retries a lock for a few seconds, as a station would, before giving up with a clear error.
void WaitForLock(const std::function<bool()>& attempt, const std::string& what) {
  auto deadline = std::chrono::steady_clock::now() + kLockPatience;
  while (!attempt()) {
    if (std::chrono::steady_clock::now() >= deadline) {
      throw Error(ErrorKind::kLock, "", what + " is locked by another user");
    }
    std::this_thread::sleep_for(kLockRetry);
  }
}

uint32_t ParseRecno(const std::string& text) {
  size_t used = 0;
  unsigned long n = 0;
  try {
    n = std::stoul(text, &used);
  } catch (const std::exception&) {
    used = 0;
  }
  if (used != text.size() || n == 0 || n > 0xFFFFFFFFul) {
    throw Error(ErrorKind::kArgument, "", "\"" + text + "\" is not a record number");
  }
  return static_cast<uint32_t>(n);
}

// Opens FILE shared, checks the assignments, locks record RECNO and hands the cursor over for
// the change.
void ChangeRecord(const std::string& file, const std::string& recno_text, const Args& assignments,
                  const std::function<void(xbase::Cursor&, const Assignments&)>& change) {
  uint32_t recno = ParseRecno(recno_text);
  xbase::Cursor cursor(file, {xbase::ShareMode::kShared, false, false});
  Assignments values = ParseAssignments(cursor, assignments);
  cursor.GoTo(recno);
  if (cursor.Eof()) {
    throw Error(ErrorKind::kArgument, cursor.table().path(),
                "record " + recno_text + " does not exist");
  }
  WaitForLock([&] { return cursor.RLock(); }, "record " + recno_text);
  change(cursor, values);
  cursor.Unlock();
}

xbase::FieldInfo ParseFieldSpec(const std::string& spec) {
  // NAME:TYPE:WIDTH[:DEC]
  std::vector<std::string> parts;
  size_t start = 0;
  for (size_t colon; (colon = spec.find(':', start)) != std::string::npos; start = colon + 1) {
    parts.push_back(spec.substr(start, colon - start));
  }
  parts.push_back(spec.substr(start));
  if (parts.size() < 2 || parts.size() > 4 || parts[1].size() != 1) {
    throw Error(ErrorKind::kArgument, "", "field \"" + spec + "\" is not NAME:TYPE:WIDTH[:DEC]");
  }
  xbase::FieldInfo f;
  f.name = parts[0];
  f.type = static_cast<char>(std::toupper(static_cast<unsigned char>(parts[1][0])));
  try {
    if (parts.size() > 2) f.length = std::stoi(parts[2]);
    if (parts.size() > 3) f.decimals = std::stoi(parts[3]);
  } catch (const std::exception&) {
    throw Error(ErrorKind::kArgument, "",
                "field \"" + spec + "\" has a width that is not a number");
  }
  return f;
}

xbase::TagSpec ParseTagSpec(const std::string& spec) {
  // NAME=EXPR[;FOR=EXPR][;UNIQUE][;DESCENDING]
  auto eq = spec.find('=');
  if (eq == std::string::npos)
    throw Error(ErrorKind::kArgument, "", "tag \"" + spec + "\" is not NAME=EXPR");
  xbase::TagSpec tag;
  tag.name = spec.substr(0, eq);
  std::string rest = spec.substr(eq + 1);
  auto semi = rest.find(';');
  tag.key_expr = rest.substr(0, semi);
  while (semi != std::string::npos) {
    auto next = rest.find(';', semi + 1);
    std::string option = rest.substr(semi + 1, next == std::string::npos ? next : next - semi - 1);
    if (option.rfind("FOR=", 0) == 0) {
      tag.for_expr = option.substr(4);
    } else if (option == "UNIQUE") {
      tag.unique = true;
    } else if (option == "DESCENDING") {
      tag.descending = true;
    } else {
      throw Error(ErrorKind::kArgument, "",
                  "tag option \"" + option + "\" is not FOR=, UNIQUE or DESCENDING");
    }
    semi = next;
  }
  return tag;
}

}  // namespace

int ReindexCommand(const Args& args) {
  if (args.size() != 1) throw Error(ErrorKind::kArgument, "", "usage: xbtool reindex FILE");
  xbase::Reindex(args[0]);
  return 0;
}

int AppendCommand(const Args& args) {
  if (args.empty())
    throw Error(ErrorKind::kArgument, "", "usage: xbtool append FILE FIELD=VALUE ...");
  xbase::Cursor cursor(args[0], {xbase::ShareMode::kShared, false, false});
  Assignments values = ParseAssignments(cursor, Args(args.begin() + 1, args.end()));
  WaitForLock([&] { return cursor.Append(); }, "the table's append lock");
  for (const auto& [field, value] : values) cursor.Put(field, value);
  cursor.Unlock();
  std::printf("%u\n", cursor.RecNo());
  return 0;
}

int SetCommand(const Args& args) {
  if (args.size() < 3)
    throw Error(ErrorKind::kArgument, "", "usage: xbtool set FILE RECNO FIELD=VALUE ...");
  ChangeRecord(args[0], args[1], Args(args.begin() + 2, args.end()),
               [](xbase::Cursor& cursor, const Assignments& values) {
                 for (const auto& [field, value] : values) cursor.Put(field, value);
               });
  return 0;
}

int DeleteCommand(const Args& args) {
  if (args.size() != 2) throw Error(ErrorKind::kArgument, "", "usage: xbtool delete FILE RECNO");
  ChangeRecord(args[0], args[1], {},
               [](xbase::Cursor& cursor, const Assignments&) { cursor.Delete(); });
  return 0;
}

int CreateCommand(const Args& args) {
  const char* usage =
      "usage: xbtool create FILE --field NAME:TYPE:WIDTH[:DEC] ... --tag NAME=EXPR[;FOR=EXPR] ...";
  if (args.empty()) throw Error(ErrorKind::kArgument, "", usage);
  xbase::Schema fields;
  std::vector<xbase::TagSpec> tags;
  for (size_t i = 1; i < args.size(); ++i) {
    if (args[i] == "--field" && i + 1 < args.size()) {
      fields.push_back(ParseFieldSpec(args[++i]));
    } else if (args[i] == "--tag" && i + 1 < args.size()) {
      tags.push_back(ParseTagSpec(args[++i]));
    } else {
      throw Error(ErrorKind::kArgument, "", usage);
    }
  }
  xbase::CreateTable(args[0], fields, tags);
  return 0;
}

}  // namespace xbtool

// Commands that only read: struct, dump, seek, verify.
#include <dirent.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <iostream>
#include <string>

#include "platform/xbase/cursor.h"
#include "platform/xbase/error.h"
#include "platform/xbase/julian_date.h"
#include "platform/xbase/number_format.h"
#include "platform/xbase/table_maintenance.h"
#include "tools/xbtool/commands.h"
#include "tools/xbtool/field_text.h"

namespace xbtool {
namespace {

using xbase::Cursor;
using xbase::CursorOptions;

CursorOptions ReadOnlyShared(bool hide_deleted = true) {
  CursorOptions o;
  o.read_only = true;
  o.hide_deleted = hide_deleted;
  return o;
}

void PrintVerify(const std::string& table, const std::vector<xbase::VerifyReport>& reports,
                 bool& all_sound) {
  if (reports.empty()) std::printf("%s: ok (no index tags)\n", table.c_str());
  for (const auto& r : reports) {
    if (r.problems.empty()) {
      std::printf("%s %s: ok\n", table.c_str(), r.tag.c_str());
      continue;
    }
    all_sound = false;
    for (const auto& p : r.problems)
      std::printf("%s %s: %s\n", table.c_str(), r.tag.c_str(), p.c_str());
  }
}

bool IsDbfName(const std::string& name) {
  if (name.size() < 5) return false;
  std::string ext = name.substr(name.size() - 4);
  for (char& c : ext) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return ext == ".DBF";
}

std::vector<std::string> TablesInFolder(const std::string& dir) {
  std::vector<std::string> names;
  if (DIR* d = ::opendir(dir.c_str())) {
    while (struct dirent* e = ::readdir(d)) {
      if (IsDbfName(e->d_name)) names.push_back(dir + "/" + e->d_name);
    }
    ::closedir(d);
  }
  std::sort(names.begin(), names.end());
  return names;
}

bool IsFolder(const std::string& path) {
  DIR* d = ::opendir(path.c_str());
  if (d) ::closedir(d);
  return d != nullptr;
}

}  // namespace

int StructCommand(const Args& args) {
  if (args.size() != 1)
    throw xbase::Error(xbase::ErrorKind::kArgument, "", "usage: xbtool struct FILE");
  Cursor cursor(args[0], ReadOnlyShared());
  for (const auto& f : cursor.fields()) {
    std::printf("field %s %c %d %d\n", f.name.c_str(), f.type, f.length, f.decimals);
  }
  xbase::Table& table = cursor.table();
  for (int t = 0; t < static_cast<int>(table.tags().size()); ++t) {
    const xbase::TagInfo& info = table.tag_info(t);
    std::printf("tag %s key=%s for=%s%s%s\n", info.name.c_str(), info.key_expr.c_str(),
                info.for_expr.c_str(), info.unique ? " unique" : "",
                info.descending ? " descending" : "");
  }
  return 0;
}

int DumpCommand(const Args& args) {
  std::string file, tag;
  bool deleted = false;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--deleted") {
      deleted = true;
    } else if (args[i] == "--tag" && i + 1 < args.size()) {
      tag = args[++i];
    } else if (file.empty()) {
      file = args[i];
    } else {
      throw xbase::Error(xbase::ErrorKind::kArgument, "",
                         "usage: xbtool dump FILE [--tag TAG] [--deleted]");
    }
  }
  Cursor cursor(file, ReadOnlyShared(!deleted));
  cursor.SetOrder(tag);
  cursor.GoTop();
  std::string line;
  for (; !cursor.Eof(); cursor.Skip(1)) {
    line = std::to_string(cursor.RecNo());
    if (deleted && cursor.Deleted()) line += '*';
    for (int f = 0; f < cursor.FieldCount(); ++f) {
      line += '|';
      line += ShowField(cursor, f);
    }
    line += '\n';
    std::fwrite(line.data(), 1, line.size(), stdout);
  }
  return 0;
}

int SeekCommand(const Args& args) {
  if (args.size() != 2)
    throw xbase::Error(xbase::ErrorKind::kArgument, "", "usage: xbtool seek FILE TAG");
  Cursor cursor(args[0], ReadOnlyShared());
  cursor.SetOrder(args[1]);
  xbase::ValueType type = cursor.table().tags()[cursor.order()].key_type;
  std::string key;
  while (std::getline(std::cin, key)) {
    bool found;
    if (type == xbase::ValueType::kNumeric) {
      found = cursor.Seek(xbase::Value::Numeric(xbase::ParseNumber(key)));
    } else if (type == xbase::ValueType::kDate) {
      found = cursor.Seek(xbase::Value::Date(xbase::Stod(key)));
    } else {
      found = cursor.SeekBytes(key);
    }
    std::printf("%u\n", found ? cursor.RecNo() : 0u);
  }
  return 0;
}

int VerifyCommand(const Args& args) {
  if (args.size() != 1)
    throw xbase::Error(xbase::ErrorKind::kArgument, "", "usage: xbtool verify PATH");
  bool all_sound = true;
  std::vector<std::string> tables =
      IsFolder(args[0]) ? TablesInFolder(args[0]) : std::vector<std::string>{args[0]};
  for (const std::string& table : tables) {
    try {
      PrintVerify(table, xbase::Verify(table), all_sound);
    } catch (const xbase::Error& e) {
      all_sound = false;
      std::printf("%s: %s\n", table.c_str(), e.what());
    }
  }
  return all_sound ? 0 : 1;
}

}  // namespace xbtool

// Opens a table one of whose files (DBF, CDX or FPT, chosen by the first input byte) is replaced
// by the rest of the input, then reads it every way a station does: every tag in both
// directions, seeks, every field and memo. Damage may only surface as xbase::Error.

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/xbase/cursor.h"
#include "platform/xbase/error.h"
#include "platform/xbase/table_maintenance.h"

namespace {

namespace fs = std::filesystem;

// A small valid table with a memo and three tags; its files are the ones the input replaces.
const fs::path& Folder() {
  static const fs::path dir = [] {
    fs::path d = fs::temp_directory_path() / ("fuzz_table_" + std::to_string(::getpid()));
    fs::create_directories(d);
    std::string path = (d / "SEED.DBF").string();
    xbase::CreateTable(
        path, {{"NEGOCIO", 'C', 15}, {"NUMERO", 'N', 6}, {"FECHA", 'D', 8}, {"INFO", 'M', 10}},
        {{"SEED", "NEGOCIO+STR(NUMERO,6)", ""},
         {"SEED2", "DTOS(FECHA)", "NUMERO > 2"},
         {"SEED3", "NUMERO", ""}});
    xbase::Cursor c(path);
    for (int i = 1; i <= 40; ++i) {
      c.Append();
      c.Put("NEGOCIO", xbase::Value::Character(i % 2 ? "HOTEL1" : "HOTEL2"));
      c.Put("NUMERO", xbase::Value::Numeric(i));
      c.Put("FECHA", xbase::Value::Date(2460380 + i));
      c.Put("INFO", xbase::Value::Character(std::string(static_cast<size_t>(i) * 7, 'm')));
      c.Unlock();
    }
    return d;
  }();
  return dir;
}

void Exercise(const std::string& path) {
  xbase::Cursor c(path, {xbase::ShareMode::kExclusive, true, true});
  for (int order = -1; order < static_cast<int>(c.table().tags().size()); ++order) {
    try {
      c.SetOrder(order < 0 ? "" : c.table().tag_info(order).name);
    } catch (const xbase::Error&) {
      continue;
    }
    int steps = 0;
    for (c.GoTop(); !c.Eof() && steps < 200; c.Skip(1), ++steps) {
      for (int f = 0; f < c.FieldCount(); ++f) c.Get(f);
    }
    steps = 0;
    for (c.GoBottom(); !c.Bof() && steps < 200; c.Skip(-1), ++steps) {
    }
    if (order >= 0 && c.table().tags()[order].key_type == xbase::ValueType::kCharacter) {
      c.SeekBytes("HOTEL1");
      c.SeekBytes("HOTEL2         ", true);
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  static const char* kExtensions[] = {".DBF", ".CDX", ".FPT"};
  const fs::path& seed = Folder();
  fs::path work = seed / "work";
  fs::create_directories(work);
  for (const char* ext : kExtensions) {
    fs::copy_file(seed / (std::string("SEED") + ext), work / (std::string("T") + ext),
                  fs::copy_options::overwrite_existing);
  }
  std::ofstream(work / (std::string("T") + kExtensions[data[0] % 3]),
                std::ios::binary | std::ios::trunc)
      .write(reinterpret_cast<const char*>(data + 1), static_cast<std::streamsize>(size - 1));
  try {
    Exercise((work / "T.DBF").string());
  } catch (const xbase::Error&) {
    // Damage reported as it should be.
  }
  return 0;
}

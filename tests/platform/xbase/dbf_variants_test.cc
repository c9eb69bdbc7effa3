// Tables in the header variants other programs write: dBASE III with and without memo, and
// Visual FoxPro with its binary integer fields, field offsets and backlink area. Each is read,
// appended to in its own variant and read back.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>

#include "platform/xbase/cursor.h"
#include "platform/xbase/error.h"
#include "tests/support/temp_dir.h"

namespace xbase {
namespace {

using testing_support::TempDir;

struct RawField {
  const char* name;
  char type;
  int length;
};

// Writes a table header of `version` with the given fields and one record.
std::string WriteTable(const std::string& path, uint8_t version,
                       const std::vector<RawField>& fields, const std::string& record) {
  bool vfp = version == 0x30 || version == 0x31 || version == 0x32;
  size_t header_length = 32 + 32 * fields.size() + 1 + (vfp ? 263 : 1);
  size_t record_length = 1;
  for (const RawField& f : fields) record_length += static_cast<size_t>(f.length);
  std::string h(header_length, '\0');
  h[0] = static_cast<char>(version);
  h[4] = 1;  // one record
  h[8] = static_cast<char>(header_length & 0xFF);
  h[9] = static_cast<char>(header_length >> 8);
  h[10] = static_cast<char>(record_length & 0xFF);
  h[11] = static_cast<char>(record_length >> 8);
  h[29] = 0x03;  // a code page byte, which must survive
  size_t pos = 32, offset = 1;
  for (const RawField& f : fields) {
    std::copy(f.name, f.name + std::strlen(f.name), h.begin() + static_cast<long>(pos));
    h[pos + 11] = f.type;
    if (vfp) h[pos + 12] = static_cast<char>(offset);
    h[pos + 16] = static_cast<char>(f.length);
    offset += static_cast<size_t>(f.length);
    pos += 32;
  }
  h[pos] = 0x0D;
  std::ofstream(path, std::ios::binary) << h << record;  // no end-of-file byte
  return h;
}

std::string Le32(uint32_t v) {
  std::string s(4, '\0');
  for (int i = 0; i < 4; ++i) s[i] = static_cast<char>((v >> (8 * i)) & 0xFF);
  return s;
}

TEST(DbfVariantsTest, EachVariantReadsAppendsAndKeepsItsHeader) {
  struct Case {
    const char* name;
    uint8_t version;
    std::vector<RawField> fields;
    std::string record;
  } cases[] = {
      {"dBASE III", 0x03, {{"NAME", 'C', 5}, {"QTY", 'N', 4}}, " alpha  42"},
      {"dBASE III with memo", 0x83, {{"NAME", 'C', 5}, {"QTY", 'N', 4}}, " alpha  42"},
      {"Visual FoxPro", 0x30, {{"NAME", 'C', 5}, {"QTY", 'I', 4}}, " alpha" + Le32(42)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TempDir dir;
    std::string path = dir.File("T.DBF");
    std::string header = WriteTable(path, c.version, c.fields, c.record);
    {
      Cursor cursor(path);
      EXPECT_EQ(cursor.RecCount(), 1u);
      EXPECT_EQ(cursor.Get("NAME").str, "alpha");
      EXPECT_EQ(cursor.Get("QTY").num, 42);
      ASSERT_TRUE(cursor.Append());
      EXPECT_EQ(cursor.Get("QTY").num, 0);  // a blank integer is zero, not four blanks
      cursor.Put("NAME", Value::Character("beta"));
      cursor.Put("QTY", Value::Numeric(-7));
      cursor.Unlock();
    }
    Cursor cursor(path);
    cursor.GoTo(2);
    EXPECT_EQ(cursor.Get("NAME").str, "beta ");
    EXPECT_EQ(cursor.Get("QTY").num, -7);
    std::ifstream in(path, std::ios::binary);
    std::string now((std::istreambuf_iterator<char>(in)), {});
    EXPECT_EQ(now[0], header[0]);                                      // variant kept
    EXPECT_EQ(now[4], 2);                                              // header count kept current
    EXPECT_EQ(now[29], 0x03);                                          // code page kept
    EXPECT_EQ(now.substr(32, header.size() - 32), header.substr(32));  // fields untouched
  }
}

TEST(DbfVariantsTest, DbtMemoFieldsAreReportedAsUnsupported) {
  TempDir dir;
  std::string path = dir.File("D.DBF");
  WriteTable(path, 0x83, {{"NAME", 'C', 5}, {"NOTE", 'M', 10}}, " alpha         1");
  Cursor cursor(path);
  EXPECT_EQ(cursor.Get("NAME").str, "alpha");
  try {
    cursor.Get("NOTE");
    FAIL();
  } catch (const Error& e) {
    EXPECT_EQ(e.kind(), ErrorKind::kUnsupported);
    EXPECT_NE(std::string(e.what()).find(".DBT"), std::string::npos);
  }
}

}  // namespace
}  // namespace xbase

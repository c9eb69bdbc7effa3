// Every tag expression of the fixture CDX files parses against its table's schema, and
// evaluated on every record gives exactly the keys stored in the index. The DBF header, the
// records and the CDX pages are read here with a few lines of byte arithmetic, independent of
// the storage engine's own readers.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/xbase/error.h"
#include "platform/xbase/expression.h"
#include "platform/xbase/julian_date.h"
#include "platform/xbase/number_format.h"

namespace xbase {
namespace {

namespace fs = std::filesystem;

fs::path FixtureDir() {
  const char* env = std::getenv("ZV_FIXTURES");
  if (env != nullptr && *env != '\0') return fs::path(env) / "BASES";
  return fs::path(ZV_TEST_FIXTURES_DIR) / "BASES";
}

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  EXPECT_TRUE(in) << path;
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

uint32_t U8(const std::string& b, size_t at) { return static_cast<unsigned char>(b.at(at)); }
uint32_t Le16(const std::string& b, size_t at) { return U8(b, at) | U8(b, at + 1) << 8; }
uint32_t Le32(const std::string& b, size_t at) { return Le16(b, at) | Le16(b, at + 2) << 16; }
uint32_t Be32(const std::string& b, size_t at) {
  return U8(b, at) << 24 | U8(b, at + 1) << 16 | U8(b, at + 2) << 8 | U8(b, at + 3);
}

struct Table {
  Schema schema;
  std::vector<std::string> records;  // raw bytes, deletion flag first
};

Table ReadTable(const fs::path& path) {
  const std::string dbf = ReadFile(path);
  Table table;
  const uint32_t header_length = Le16(dbf, 8);
  const uint32_t record_length = Le16(dbf, 10);
  int offset = 1;
  for (size_t at = 32; U8(dbf, at) != 0x0D; at += 32) {
    FieldInfo field;
    field.name = dbf.substr(at, 11);
    field.name.resize(field.name.find('\0') == std::string::npos ? 11 : field.name.find('\0'));
    field.type = dbf[at + 11];
    field.length = static_cast<int>(U8(dbf, at + 16));
    field.decimals = static_cast<int>(U8(dbf, at + 17));
    if (field.type == 'C') field.length += 256 * field.decimals, field.decimals = 0;
    field.offset = offset;
    offset += field.length;
    table.schema.push_back(field);
  }
  EXPECT_EQ(static_cast<uint32_t>(offset), record_length);
  for (size_t at = header_length; at + record_length <= dbf.size(); at += record_length) {
    table.records.push_back(dbf.substr(at, record_length));
  }
  return table;
}

class RawRecord : public RecordView {
 public:
  RawRecord(const Schema& schema, const std::string& bytes, uint32_t recno)
      : schema_(schema), bytes_(bytes), recno_(recno) {}

  Value Field(int index) const override {
    const FieldInfo& f = schema_.at(static_cast<size_t>(index));
    const std::string text =
        bytes_.substr(static_cast<size_t>(f.offset), static_cast<size_t>(f.length));
    switch (f.type) {
      case 'N':
      case 'F':
        return Value::Numeric(ParseNumber(text));
      case 'D':
        return Value::Date(Stod(text));
      case 'L':
        return Value::Logical(text == "T" || text == "t" || text == "Y" || text == "y");
      case 'M':
        return Value::Character("");
      default:
        return Value::Character(text);
    }
  }
  bool Deleted() const override { return bytes_[0] == '*'; }
  uint32_t RecNo() const override { return recno_; }

 private:
  const Schema& schema_;
  const std::string& bytes_;
  uint32_t recno_;
};

using Keys = std::set<std::pair<std::string, uint32_t>>;

// Collects the (key, record number) entries of the B-tree whose root page is at `page`.
void CollectKeys(const std::string& cdx, uint32_t page, size_t key_length, char fill, Keys& keys,
                 int depth = 0) {
  ASSERT_LT(depth, 16);
  const uint32_t attribute = Le16(cdx, page);
  const uint32_t count = Le16(cdx, page + 2);
  if ((attribute & 2) == 0) {  // interior
    for (uint32_t i = 0; i < count; ++i) {
      const size_t entry = page + 12 + i * (key_length + 8);
      CollectKeys(cdx, Be32(cdx, entry + key_length + 4), key_length, fill, keys, depth + 1);
    }
    return;
  }
  const uint32_t record_mask = Le32(cdx, page + 14);
  const uint32_t dup_mask = U8(cdx, page + 18);
  const uint32_t trail_mask = U8(cdx, page + 19);
  const uint32_t record_bits = U8(cdx, page + 20);
  const uint32_t dup_bits = U8(cdx, page + 21);
  const uint32_t entry_bytes = U8(cdx, page + 23);
  size_t key_end = page + 512;
  std::string previous;
  for (uint32_t i = 0; i < count; ++i) {
    uint64_t entry = 0;
    for (uint32_t b = 0; b < entry_bytes; ++b) {
      entry |= static_cast<uint64_t>(U8(cdx, page + 24 + i * entry_bytes + b)) << (8 * b);
    }
    const auto recno = static_cast<uint32_t>(entry & record_mask);
    const size_t dup = (entry >> record_bits) & dup_mask;
    const size_t trail = (entry >> (record_bits + dup_bits)) & trail_mask;
    const size_t stored = key_length - dup - trail;
    key_end -= stored;
    std::string key =
        previous.substr(0, dup) + cdx.substr(key_end, stored) + std::string(trail, fill);
    keys.emplace(key, recno);
    previous = key;
  }
}

struct Tag {
  std::string name;
  std::string key_expression;
  std::string for_expression;
  size_t key_length;
  Keys keys;
};

std::vector<Tag> ReadTags(const fs::path& path) {
  const std::string cdx = ReadFile(path);
  Keys directory;
  CollectKeys(cdx, Le32(cdx, 0), 10, ' ', directory);
  std::vector<Tag> tags;
  for (const auto& entry : directory) {
    const std::string& name = entry.first;
    const size_t header = entry.second;
    Tag tag;
    tag.name = name.substr(0, name.find_last_not_of(' ') + 1);
    tag.key_length = Le16(cdx, header + 12);
    const std::string pool = cdx.substr(header + 512, 512);
    auto expression = [&](size_t offset_at) {
      const size_t offset = Le16(cdx, header + offset_at);
      const size_t length = Le16(cdx, header + offset_at + 2);
      std::string text = pool.substr(offset, length);
      return text.substr(0, text.find('\0'));
    };
    tag.key_expression = expression(508);
    tag.for_expression = expression(504);
    CollectKeys(cdx, Le32(cdx, header), tag.key_length, ' ', tag.keys);
    tags.push_back(std::move(tag));
  }
  return tags;
}

class FixtureTest : public ::testing::TestWithParam<const char*> {};

TEST_P(FixtureTest, TagExpressionsGiveTheStoredKeys) {
  const std::string name = GetParam();
  const Table table = ReadTable(FixtureDir() / (name + ".DBF"));
  const std::vector<Tag> tags = ReadTags(FixtureDir() / (name + ".CDX"));
  ASSERT_FALSE(tags.empty());
  ASSERT_FALSE(table.records.empty());
  std::map<std::string, Expression> by_tag;
  for (const Tag& tag : tags) {
    SCOPED_TRACE(tag.name + ": " + tag.key_expression);
    Expression key;
    try {
      key = Expression::Parse(tag.key_expression, table.schema, name);
    } catch (const Error& e) {
      FAIL() << e.what();
    }
    EXPECT_TRUE(tag.for_expression.empty());  // none of the fixtures has one
    Keys computed;
    for (size_t i = 0; i < table.records.size(); ++i) {
      const auto recno = static_cast<uint32_t>(i + 1);
      const Value value = key.Evaluate(RawRecord(table.schema, table.records[i], recno));
      ASSERT_EQ(value.type, ValueType::kCharacter);
      EXPECT_EQ(value.str.size(), tag.key_length);
      computed.emplace(value.str, recno);
    }
    EXPECT_EQ(computed, tag.keys);
    by_tag.emplace(tag.name, key);
  }

  // Each successful seek of the fixture finds a record whose key starts with the sought bytes.
  std::ifstream seeks(FixtureDir() / (name + ".seeks"), std::ios::binary);
  std::string line;
  int checked = 0;
  while (std::getline(seeks, line)) {
    const size_t first = line.find('|');
    const size_t last = line.rfind('|');
    ASSERT_NE(first, last) << line;
    const std::string tag = line.substr(0, first);
    const std::string sought = line.substr(first + 1, last - first - 1);
    const unsigned long recno = std::stoul(line.substr(last + 1));
    ASSERT_TRUE(by_tag.count(tag)) << tag;
    if (recno == 0) continue;
    const Value value = by_tag.at(tag).Evaluate(
        RawRecord(table.schema, table.records.at(recno - 1), static_cast<uint32_t>(recno)));
    EXPECT_EQ(value.str.substr(0, sought.size()), sought) << line;
    ++checked;
  }
  EXPECT_GT(checked, 0);
}

INSTANTIATE_TEST_SUITE_P(Bases, FixtureTest,
                         ::testing::Values("DET_FOL", "DET_RES2", "ENC_FOL", "LOG_XML",
                                           "T_CAMBIO"));

}  // namespace
}  // namespace xbase

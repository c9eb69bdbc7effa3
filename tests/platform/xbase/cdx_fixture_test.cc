// Index files written by another xBase program: reading them, seeking in them, and writing
// their pages back byte for byte.

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <sstream>

#include "platform/xbase/byte_order.h"
#include "platform/xbase/cdx_index.h"
#include "platform/xbase/error.h"
#include "tests/platform/xbase/cdx_test_support.h"

namespace xbase {
namespace {

using testing::FixturePath;
using testing::ReadBytes;

struct ExpectedTag {
  std::string name, key_expr;
  int key_length;
};

// In the order of their headers in the file.
const std::map<std::string, std::vector<ExpectedTag>> kExpectedTags = {
    {"DET_FOL",
     {{"DET_FOL", "NEGOCIO+NUMERO+CONSECUT", 34},
      {"DET_FOL4", "NEGOCIO+NUMERO+CONSECUT", 34},
      {"DET_FOL13", "NEGOCIO+NUMERO+GRUPO+CONSECUT", 38}}},
    {"DET_RES2",
     {{"DET_RES2", "NEGOCIO+COD_RES+COD_HAB+CODIGO", 33},
      {"DET_RS30", "NEGOCIO+ENHOUSE+COD_ROOMS", 31},
      {"DET_RS34", "NEGOCIO+ENHOUSE+COD_RES", 26}}},
    {"ENC_FOL",
     {{"ENC_FOL", "NEGOCIO+NUMERO", 30},
      {"ENC_FOL4", "NEGOCIO+NUMERO", 30},
      {"ENC_FOL5", "NEGOCIO+COD_RES+ROOM+COD_HAB+CODIGO+STR(CTA_MAES,1)+FOLIO_IND", 50},
      {"ENC_FOL13", "NEGOCIO+COD_RES+ROOM+STR(CTA_MAES,1)+FOLIO_IND", 42},
      {"ENC_FOL10", "NEGOCIO+STR(CTA_MAES,1)+COD_RES+ROOM+COD_HAB+CODIGO", 49}}},
    {"LOG_XML", {{"LOG_XML", "DTOS(FECHA)+HORA", 16}}},
    {"T_CAMBIO",
     {{"T_CAMBIO", "NEGOCIO+MONEDA1+MONEDA2+DTOS(FECHA)", 27},
      {"T_CAMB2", "NEGOCIO+MONEDA1+MONEDA2+STR(STOD(\"20900101\")-FECHA,14)", 33}}},
};

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty()) lines.push_back(line);
  }
  return lines;
}

// Record numbers marked deleted ("N*|...") in the table's dump.
std::set<uint32_t> DeletedRecords(const std::string& table) {
  std::set<uint32_t> deleted;
  for (const std::string& line : Lines(ReadBytes(FixturePath(table + ".dump-deleted")))) {
    const std::string first = line.substr(0, line.find('|'));
    if (!first.empty() && first.back() == '*') deleted.insert(std::stoul(first));
  }
  return deleted;
}

class FixtureIndexTest : public ::testing::TestWithParam<std::string> {
 protected:
  FixtureIndexTest()
      : file_(File::Open(FixturePath(GetParam() + ".CDX").string(), true, ShareMode::kShared)),
        index_(file_) {}
  File file_;
  CdxIndex index_;
};

TEST_P(FixtureIndexTest, ListsTagsWithTheirExpressions) {
  const std::vector<ExpectedTag>& expected = kExpectedTags.at(GetParam());
  ASSERT_EQ(index_.tags().size(), expected.size());
  for (size_t i = 0; i < expected.size(); ++i) {
    const TagInfo& tag = index_.tags()[i];
    EXPECT_EQ(tag.name, expected[i].name);
    EXPECT_EQ(tag.key_expr, expected[i].key_expr);
    EXPECT_EQ(tag.key_length, expected[i].key_length);
    EXPECT_EQ(tag.for_expr, "");
    EXPECT_FALSE(tag.unique || tag.descending || tag.has_for);
    EXPECT_EQ(index_.FindTag(tag.name), static_cast<int>(i));
  }
  EXPECT_EQ(index_.FindTag(kExpectedTags.at(GetParam())[0].name + "x"), -1);
}

TEST_P(FixtureIndexTest, EveryTagIsStructurallySound) {
  for (size_t i = 0; i < index_.tags().size(); ++i) {
    EXPECT_EQ(index_.CheckStructure(static_cast<int>(i)), std::vector<std::string>{})
        << index_.tags()[i].name;
  }
}

// Each line TAG|KEY|RECNO: a seek of KEY passing over deleted records finds RECNO (0: none).
TEST_P(FixtureIndexTest, SeeksFindTheListedRecords) {
  const std::set<uint32_t> deleted = DeletedRecords(GetParam());
  const std::vector<std::string> lines = Lines(ReadBytes(FixturePath(GetParam() + ".seeks")));
  ASSERT_FALSE(lines.empty());
  for (const std::string& line : lines) {
    const size_t first_bar = line.find('|'), last_bar = line.rfind('|');
    const int tag = index_.FindTag(line.substr(0, first_bar));
    ASSERT_GE(tag, 0) << line;
    const std::string prefix = line.substr(first_bar + 1, last_bar - first_bar - 1);
    std::optional<KeyEntry> found = index_.SeekPrefix(tag, prefix);
    while (found && deleted.count(found->recno) != 0) found = index_.Next(tag, *found);
    const bool matches = found && found->key.compare(0, prefix.size(), prefix) == 0;
    EXPECT_EQ(matches ? found->recno : 0u, std::stoul(line.substr(last_bar + 1))) << line;
  }
}

TEST_P(FixtureIndexTest, WalksAgreeInBothDirections) {
  for (size_t t = 0; t < index_.tags().size(); ++t) {
    const int tag = static_cast<int>(t);
    std::vector<KeyEntry> forward, backward;
    index_.ForEach(tag, [&](const KeyEntry& e) { forward.push_back(e); });
    for (auto e = index_.Last(tag); e; e = index_.Prev(tag, *e)) backward.push_back(*e);
    std::reverse(backward.begin(), backward.end());
    EXPECT_EQ(forward, backward);
    EXPECT_FALSE(forward.empty());
  }
}

// Decoding and encoding every page of every tree gives back the bytes the other program wrote.
TEST_P(FixtureIndexTest, PagesReencodeToTheSameBytes) {
  const std::string bytes = ReadBytes(FixturePath(GetParam() + ".CDX"));
  const auto* raw = reinterpret_cast<const uint8_t*>(bytes.data());
  std::vector<std::pair<uint32_t, int>> roots = {{LoadLe32(raw), 10}};
  for (const TagInfo& tag : index_.tags()) {
    roots.push_back({LoadLe32(raw + tag.header_offset), tag.key_length});
  }
  size_t pages = 0;
  for (auto [root, key_length] : roots) {
    std::vector<uint32_t> pending = {root};
    while (!pending.empty()) {
      const uint32_t offset = pending.back();
      pending.pop_back();
      const CdxPage page = DecodePage(raw + offset, offset, key_length, ' ', file_.path());
      uint8_t encoded[kCdxPageSize];
      EncodePage(page, encoded);
      EXPECT_EQ(std::string(reinterpret_cast<char*>(encoded), kCdxPageSize),
                bytes.substr(offset, kCdxPageSize))
          << "page " << offset;
      pending.insert(pending.end(), page.children.begin(), page.children.end());
      ++pages;
    }
  }
  EXPECT_GT(pages, roots.size() - 1);
}

INSTANTIATE_TEST_SUITE_P(Fixtures, FixtureIndexTest,
                         ::testing::Values("DET_FOL", "DET_RES2", "ENC_FOL", "LOG_XML",
                                           "T_CAMBIO"));

}  // namespace
}  // namespace xbase

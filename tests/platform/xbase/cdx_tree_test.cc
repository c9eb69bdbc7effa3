// Maintenance of index trees: random inserts and removals against a model, bulk builds, page
// reuse, the tag directory and change detection between two users of one file.

#include <gtest/gtest.h>

#include <random>
#include <set>

#include "platform/xbase/byte_order.h"
#include "platform/xbase/cdx_index.h"
#include "platform/xbase/error.h"
#include "tests/platform/xbase/cdx_test_support.h"

namespace xbase {
namespace {

using Model = std::set<std::pair<std::string, uint32_t>>;

std::vector<KeyEntry> AllEntries(CdxIndex& index, int tag) {
  std::vector<KeyEntry> out;
  index.ForEach(tag, [&](const KeyEntry& e) { out.push_back(e); });
  return out;
}

std::vector<KeyEntry> ModelEntries(const Model& model) {
  std::vector<KeyEntry> out;
  for (const auto& [key, recno] : model) out.push_back({key, recno});
  return out;
}

std::optional<KeyEntry> AsEntry(Model::const_iterator it, const Model& model) {
  if (it == model.end()) return std::nullopt;
  return KeyEntry{it->first, it->second};
}

class IndexFileTest : public testing::ScratchTest {
 protected:
  void SetUp() override {
    ScratchTest::SetUp();
    path_ = PathOf("T.CDX");
    file_ = File::Create(path_);
    CdxIndex::CreateEmpty(file_);
    index_.emplace(file_);
  }
  int AddTag(const std::string& name, int key_length, char fill = ' ') {
    return index_->AddTag(name, "EXPR_" + name, "", key_length, fill, false, false);
  }

  std::string path_;
  File file_;
  std::optional<CdxIndex> index_;
};

struct ModelCase {
  const char* name;
  int key_length;
  char fill;
};

class RandomModelTest : public IndexFileTest, public ::testing::WithParamInterface<ModelCase> {
 protected:
  // Keys sharing prefixes of random lengths, often ending in fill bytes, bytes above 0x7F.
  std::string RandomKey() {
    const int key_length = GetParam().key_length;
    std::string key = prefixes_[rng_() % prefixes_.size()];
    key.resize(rng_() % (key_length + 1));
    while (static_cast<int>(key.size()) < key_length) key += static_cast<char>(rng_() % 256);
    if (rng_() % 2) std::fill(key.begin() + rng_() % (key_length + 1), key.end(), GetParam().fill);
    return key;
  }
  uint32_t RandomRecno() { return rng_() % 3 ? 1 + rng_() % (1u << 24) : 1 + rng_() % 100; }

  void ExpectSameAsModel(int tag, const Model& model) {
    ASSERT_EQ(index_->CheckStructure(tag), std::vector<std::string>{});
    ASSERT_EQ(AllEntries(*index_, tag), ModelEntries(model));
    for (int probe = 0; probe < 50; ++probe) {
      std::string prefix = RandomKey().substr(0, rng_() % (GetParam().key_length + 1));
      std::string low = prefix;
      low.resize(GetParam().key_length, '\0');
      EXPECT_EQ(index_->SeekPrefix(tag, prefix), AsEntry(model.lower_bound({low, 0}), model));
      const KeyEntry from{RandomKey(), RandomRecno()};
      EXPECT_EQ(index_->Next(tag, from), AsEntry(model.upper_bound({from.key, from.recno}), model));
      auto below = model.lower_bound({from.key, from.recno});
      EXPECT_EQ(index_->Prev(tag, from),
                below == model.begin() ? std::nullopt : AsEntry(std::prev(below), model));
    }
  }

  std::mt19937 rng_{20240310};
  std::vector<std::string> prefixes_ = {
      "",        "A", "HOTEL1         R0010", "HOTEL2    ", "\xD1\xD1\xD1", std::string(8, '\0'),
      "\xFF\xFE"};
};

TEST_P(RandomModelTest, InsertsAndRemovesMatchAnOrderedSet) {
  const int tag = AddTag("T", GetParam().key_length, GetParam().fill);
  Model model;
  std::vector<std::pair<std::string, uint32_t>> live;
  for (int op = 1; op <= 20000; ++op) {
    const unsigned dice = rng_() % 100;
    if (dice < 62 || live.empty()) {
      // One insert in five repeats a key already present with another record number.
      std::string key =
          rng_() % 5 == 0 && !live.empty() ? live[rng_() % live.size()].first : RandomKey();
      const uint32_t recno = RandomRecno();
      index_->Insert(tag, {key, recno});
      if (model.insert({key, recno}).second) live.push_back({key, recno});
    } else if (dice < 92) {
      const size_t victim = rng_() % live.size();
      EXPECT_TRUE(index_->Remove(tag, {live[victim].first, live[victim].second}));
      model.erase(live[victim]);
      live[victim] = live.back();
      live.pop_back();
    } else {
      const KeyEntry absent{RandomKey(), RandomRecno()};
      if (model.count({absent.key, absent.recno}) == 0) {
        EXPECT_FALSE(index_->Remove(tag, absent));
      }
    }
    if (op % 4000 == 0) ExpectSameAsModel(tag, model);
  }
  // Emptied completely, then refilled.
  for (const auto& [key, recno] : live) ASSERT_TRUE(index_->Remove(tag, {key, recno}));
  EXPECT_EQ(index_->First(tag), std::nullopt);
  EXPECT_EQ(index_->CheckStructure(tag), std::vector<std::string>{});
  for (const auto& [key, recno] : live) index_->Insert(tag, {key, recno});
  ExpectSameAsModel(tag, model);
}

INSTANTIATE_TEST_SUITE_P(Tags, RandomModelTest,
                         ::testing::Values(ModelCase{"Character", 20, ' '},
                                           ModelCase{"Numeric", 8, '\0'}),
                         [](const auto& info) { return std::string(info.param.name); });

// 33-byte keys, ascending with n.
std::string NumberedKey(uint32_t n) {
  char key[48];
  std::snprintf(key, sizeof key, "HOTEL1         %08u      %04u", n / 7, n % 7);
  return std::string(key, 33);
}

TEST_F(IndexFileTest, BulkBuildPacksLeavesAndReusesTheOldPages) {
  const int tag = AddTag("BIG", 33);
  std::vector<KeyEntry> entries;
  for (uint32_t n = 1; n <= 200000; ++n) entries.push_back({NumberedKey(n), n});
  std::sort(entries.begin(), entries.end(), [](const KeyEntry& a, const KeyEntry& b) {
    return CompareEntry(a.key, a.recno, b.key, b.recno) < 0;
  });
  index_->BuildTag(tag, entries);
  EXPECT_EQ(index_->CheckStructure(tag), std::vector<std::string>{});
  EXPECT_EQ(AllEntries(*index_, tag), entries);
  EXPECT_EQ(index_->SeekPrefix(tag, entries[123456].key), entries[123456]);

  const uint64_t size = file_.Size();
  index_->BuildTag(tag, entries);
  EXPECT_EQ(file_.Size(), size);
  // Full leaves split on the next inserts.
  for (uint32_t n = 200001; n <= 200300; ++n)
    index_->Insert(tag, {NumberedKey(n * 7919 % 200000), n});
  EXPECT_EQ(index_->CheckStructure(tag), std::vector<std::string>{});
  EXPECT_EQ(AllEntries(*index_, tag).size(), 200300u);
}

TEST_F(IndexFileTest, RemovingEverythingFreesPagesThatRefillingReuses) {
  const int tag = AddTag("SEQ", 33);
  for (uint32_t n = 1; n <= 3000; ++n) index_->Insert(tag, {NumberedKey(n), n});
  const uint64_t size = file_.Size();
  for (uint32_t n = 1; n <= 3000; ++n) ASSERT_TRUE(index_->Remove(tag, {NumberedKey(n), n}));
  EXPECT_EQ(index_->First(tag), std::nullopt);
  EXPECT_EQ(index_->CheckStructure(tag), std::vector<std::string>{});
  uint8_t head[4];
  file_.ReadExact(4, head, 4, "free-list head");
  EXPECT_NE(LoadLe32(head), 0u);
  for (uint32_t n = 1; n <= 3000; ++n) index_->Insert(tag, {NumberedKey(n), n});
  EXPECT_EQ(file_.Size(), size);
  EXPECT_EQ(AllEntries(*index_, tag).size(), 3000u);
}

TEST_F(IndexFileTest, AppendsFillLeavesDensely) {
  const int tag = AddTag("SEQ", 33);
  for (uint32_t n = 1; n <= 5000; ++n) index_->Insert(tag, {NumberedKey(n), n});
  const uint64_t appended = file_.Size();
  std::vector<KeyEntry> entries = AllEntries(*index_, tag);
  const int built = AddTag("BUILT", 33);
  const uint64_t before_build = file_.Size();
  index_->BuildTag(built, entries);
  // Appending leaves pages as full as a bulk build does, give or take a page per level.
  EXPECT_LE(appended - kCdxHeaderSize - kCdxPageSize,
            file_.Size() - before_build + 3 * kCdxPageSize);
}

TEST_F(IndexFileTest, SeekPrefixComparesOverThePrefixLength) {
  const int tag = AddTag("K", 4);
  for (const char* key : {"AB  ", "ABC ", "ABCD", "B   "}) index_->Insert(tag, {key, 1});
  const std::vector<std::pair<std::string, std::optional<std::string>>> cases = {
      {"", "AB  "},      {"AB", "AB  "}, {"ABC", "ABC "},     {"ABCD", "ABCD"},
      {"ABCDE", "B   "}, {"AC", "B   "}, {"C", std::nullopt},
  };
  for (const auto& [prefix, expected] : cases) {
    const std::optional<KeyEntry> found = index_->SeekPrefix(tag, prefix);
    EXPECT_EQ(found ? std::optional<std::string>(found->key) : std::nullopt, expected) << prefix;
  }
}

TEST_F(IndexFileTest, TagHeadersCarryOptionsAndExpressions) {
  const int tag = index_->AddTag("by_date", "DTOS(FECHA)", "!DELETED()", 8, '\0', true, true);
  const TagInfo& info = index_->tags()[static_cast<size_t>(tag)];
  EXPECT_EQ(info.name, "BY_DATE");
  uint8_t h[kCdxHeaderSize];
  file_.ReadExact(info.header_offset, h, sizeof h, "tag header");
  EXPECT_EQ(LoadLe16(h + 12), 8);
  EXPECT_EQ(h[14], 0x69);
  EXPECT_EQ(h[15], 0x01);
  EXPECT_EQ(LoadLe16(h + 16), 0x0400);
  EXPECT_EQ(LoadLe16(h + 18), 0x0200);
  EXPECT_EQ(LoadLe16(h + 502), 1);
  EXPECT_EQ(LoadLe16(h + 504), 12);  // FOR after "DTOS(FECHA)\0"
  EXPECT_EQ(LoadLe16(h + 506), 11);
  EXPECT_EQ(LoadLe16(h + 508), 0);
  EXPECT_EQ(LoadLe16(h + 510), 12);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(h + 512), 23),
            std::string("DTOS(FECHA)\0!DELETED()", 23));

  CdxIndex reopened(file_);
  ASSERT_EQ(reopened.tags().size(), 1u);
  const TagInfo& read = reopened.tags()[0];
  EXPECT_EQ(read.key_expr, "DTOS(FECHA)");
  EXPECT_EQ(read.for_expr, "!DELETED()");
  EXPECT_TRUE(read.unique && read.descending && read.has_for);
}

TEST_F(IndexFileTest, AddTagRejectsBadArguments) {
  AddTag("NAME", 10);
  const std::vector<std::function<void()>> calls = {
      [&] { AddTag("name", 10); },
      [&] { AddTag("", 10); },
      [&] { AddTag("ELEVENCHARS", 10); },
      [&] { AddTag("BAD NAME", 10); },
      [&] { AddTag("ZERO", 0); },
      [&] { AddTag("HUGE", kMaxKeyLength + 1); },
      [&] {
        index_->AddTag("LONG", std::string(300, 'X'), std::string(300, 'Y'), 10, ' ', false, false);
      },
  };
  const uint64_t size = file_.Size();
  for (size_t i = 0; i < calls.size(); ++i) {
    try {
      calls[i]();
      ADD_FAILURE() << "call " << i << " succeeded";
    } catch (const Error& e) {
      EXPECT_EQ(e.kind(), ErrorKind::kArgument) << e.what();
    }
  }
  EXPECT_EQ(file_.Size(), size);
  EXPECT_THROW(index_->Insert(0, {"SHORT", 1}), Error);
}

TEST_F(IndexFileTest, DirectorySpanningSeveralPagesLists) {
  std::mt19937 rng(7);
  std::vector<std::string> names;
  for (int i = 0; i < 150; ++i) {
    std::string name = "T" + std::to_string(i);
    while (name.size() < 10) name += static_cast<char>('A' + rng() % 26);
    names.push_back(name);
    AddTag(name, 1 + i % 40);
  }
  CdxIndex reopened(file_);
  ASSERT_EQ(reopened.tags().size(), names.size());
  for (size_t i = 0; i < names.size(); ++i) {
    EXPECT_EQ(reopened.tags()[i].name, names[i]);
    EXPECT_EQ(reopened.tags()[i].key_length, 1 + static_cast<int>(i) % 40);
  }
  uint8_t root[2];
  file_.ReadExact(kCdxHeaderSize, root, 2, "directory root");
  EXPECT_EQ(root[0] & 2, 0) << "the directory root should have become an interior page";
}

TEST_F(IndexFileTest, RefreshSeesChangesOfAnotherUser) {
  const int tag = AddTag("K", 6);
  index_->Insert(tag, {"AAAAAA", 1});
  index_->MarkChanged();

  // Two users of one file: both open it shared.
  index_.reset();
  file_ = File();
  file_ = File::Open(path_, false, ShareMode::kShared);
  index_.emplace(file_);
  File other_file = File::Open(path_, false, ShareMode::kShared);
  CdxIndex other(other_file);
  EXPECT_FALSE(other.Refresh());
  EXPECT_EQ(other.First(tag), (KeyEntry{"AAAAAA", 1}));  // now cached

  index_->Insert(tag, {"0AAAAA", 2});
  const int added = AddTag("NEW", 3);
  index_->MarkChanged();
  EXPECT_TRUE(other.Refresh());
  EXPECT_EQ(other.First(tag), (KeyEntry{"0AAAAA", 2}));
  ASSERT_EQ(other.tags().size(), 2u);
  EXPECT_EQ(other.FindTag("new"), added);
  EXPECT_FALSE(other.Refresh());
  EXPECT_FALSE(index_->Refresh());  // its own changes are not news to the writer
}

}  // namespace
}  // namespace xbase

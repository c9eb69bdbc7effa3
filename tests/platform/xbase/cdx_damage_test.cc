// Damaged index files: every reader gives a clear kCorrupt error or names the problem in the
// structure check, and nothing is written.

#include <gtest/gtest.h>

#include <functional>

#include "platform/xbase/byte_order.h"
#include "platform/xbase/cdx_index.h"
#include "platform/xbase/error.h"
#include "tests/platform/xbase/cdx_test_support.h"

namespace xbase {
namespace {

// DET_RES2.CDX: directory root leaf at 0x400; tag DET_RES2 with its header at 0x600, key length
// 33, interior root at 0xA00 over leaves 0x1800 and 0x1A00 (12-bit record numbers, 6-bit counts).
constexpr uint32_t kTagHeader = 0x600;
constexpr uint32_t kRoot = 0xA00;
constexpr uint32_t kFirstLeaf = 0x1800;
constexpr uint32_t kSecondLeaf = 0x1A00;
constexpr uint32_t kFirstChildLink = kRoot + 12 + 33 + 4;

uint8_t* At(std::string& bytes, uint32_t offset) {
  return reinterpret_cast<uint8_t*>(bytes.data()) + offset;
}

struct DamageCase {
  const char* name;
  std::function<void(std::string&)> damage;
  const char* expected;  // part of the error message or of a structure problem
};

const std::vector<DamageCase> kCases = {
    {"RootPastEnd", [](std::string& b) { StoreLe32(At(b, kTagHeader), 0x100000); },
     "points to offset 1048576, past the end of the file"},
    {"DirectoryRootPastEnd", [](std::string& b) { StoreLe32(At(b, 0), 0x7FFFFE00); },
     "past the end of the file"},
    // A page there would end past 4 GiB: its end must not wrap round to a small offset.
    {"DirectoryRootNearFourGiB", [](std::string& b) { StoreLe32(At(b, 0), 0xFFFFFE00); },
     "past the end of the file"},
    {"KeyCountTooLarge", [](std::string& b) { StoreLe16(At(b, kFirstLeaf + 2), 0xFFFF); },
     "key count 65535 cannot fit the page"},
    {"InteriorKeyCountTooLarge", [](std::string& b) { StoreLe16(At(b, kRoot + 2), 13); },
     "key count 13 cannot fit the page"},
    {"SiblingCycle", [](std::string& b) { StoreLe32(At(b, kSecondLeaf + 8), kFirstLeaf); },
     "sibling links form a cycle"},
    {"ChildCycle", [](std::string& b) { StoreBe32(At(b, kFirstChildLink), kRoot); },
     "deeper than 64 levels"},
    {"ChildNotOnPageBoundary",
     [](std::string& b) { StoreBe32(At(b, kFirstChildLink), kFirstLeaf + 1); },
     "points to offset 6145, not a page"},
    {"TruncatedInsideLeaf", [](std::string& b) { b.resize(kFirstLeaf + 100); },
     "past the end of the file"},
    {"TruncatedHeader", [](std::string& b) { b.resize(6); }, "file ends inside the index header"},
    {"ImpossibleKeyLength", [](std::string& b) { StoreLe16(At(b, kTagHeader + 12), 0); },
     "tag DET_RES2: key length 0 is impossible"},
    {"TagHeaderOffsetNotAPage", [](std::string& b) { *At(b, 0x400 + 24) = 0x01; },
     "header offset 1537 is impossible"},
    {"FirstEntryWithDuplicateCount", [](std::string& b) { *At(b, kFirstLeaf + 25) |= 0xF0; },
     "entry 0 has impossible counts"},
    {"ZeroBytesPerEntry", [](std::string& b) { *At(b, kFirstLeaf + 23) = 0; },
     "impossible leaf entry widths"},
    {"KeyBytesOverlapEntries", [](std::string& b) { StoreLe16(At(b, kSecondLeaf + 2), 150); },
     "overlap the entries"},
    {"ParentKeyDiffers", [](std::string& b) { *At(b, kRoot + 12) = 'I'; },
     "the parent entry of page 6144 is \"IOTEL2"},
    {"FreeBytesFieldWrong", [](std::string& b) { StoreLe16(At(b, kSecondLeaf + 12), 1); },
     "page 6656: free-bytes field is 1, the entries leave 422"},
    // The first key of the second leaf, "HOTEL2         R001014...", becomes "...R001019...".
    {"LeafOutOfOrder", [](std::string& b) { *At(b, kSecondLeaf + 512 - 33 + 21) = '9'; },
     "page 6656: entry 1"},
};

// Opens the file read-only and uses every reader on every tag; returns the error met, if any,
// and every structure problem found.
std::string ReadEverything(const std::string& path) {
  File file = File::Open(path, true, ShareMode::kShared);
  std::string found;
  try {
    CdxIndex index(file);
    for (int tag = 0; tag < static_cast<int>(index.tags().size()); ++tag) {
      for (const std::string& problem : index.CheckStructure(tag)) found += problem + "\n";
      index.ForEach(tag, [](const KeyEntry&) {});
      for (auto e = index.First(tag); e; e = index.Next(tag, *e)) {
      }
      for (auto e = index.Last(tag); e; e = index.Prev(tag, *e)) {
      }
      index.SeekPrefix(tag, "HOTEL2");
    }
  } catch (const Error& e) {
    EXPECT_EQ(e.kind(), ErrorKind::kCorrupt) << e.what();
    EXPECT_EQ(e.path(), path);
    found += std::string("error: ") + e.what();
  }
  return found;
}

class DamagedIndexTest : public testing::ScratchTest,
                         public ::testing::WithParamInterface<DamageCase> {};

TEST_P(DamagedIndexTest, IsReportedAndLeftAsItWas) {
  std::string bytes = testing::ReadBytes(testing::FixturePath("DET_RES2.CDX"));
  GetParam().damage(bytes);
  const std::string path = PathOf("DET_RES2.CDX");
  testing::WriteBytes(path, bytes);
  EXPECT_NE(ReadEverything(path).find(GetParam().expected), std::string::npos)
      << ReadEverything(path);
  EXPECT_EQ(testing::ReadBytes(path), bytes);
}

INSTANTIATE_TEST_SUITE_P(Cases, DamagedIndexTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

class DamagedIndexWriteTest : public testing::ScratchTest {
 protected:
  // Applies `damage` to a copy of the fixture, runs `change` and expects kCorrupt, no writes.
  void ExpectRefused(const std::function<void(std::string&)>& damage,
                     const std::function<void(CdxIndex&)>& change, const std::string& expected) {
    std::string bytes = testing::ReadBytes(testing::FixturePath("DET_RES2.CDX"));
    damage(bytes);
    const std::string path = PathOf("DET_RES2.CDX");
    testing::WriteBytes(path, bytes);
    File file = File::Open(path, false, ShareMode::kExclusive);
    CdxIndex index(file);
    try {
      change(index);
      ADD_FAILURE() << "no error";
    } catch (const Error& e) {
      EXPECT_EQ(e.kind(), ErrorKind::kCorrupt);
      EXPECT_NE(std::string(e.what()).find(expected), std::string::npos) << e.what();
    }
    EXPECT_EQ(testing::ReadBytes(path), bytes);
  }
};

TEST_F(DamagedIndexWriteTest, ChangesMeetingDamageWriteNothing) {
  const std::string key = "HOTEL1         R001001   SGL  001";
  ExpectRefused([](std::string& b) { StoreLe16(At(b, kFirstLeaf + 2), 0xFFFF); },
                [&](CdxIndex& index) {
                  index.Insert(0, {key, 99});
                },
                "cannot fit");
  ExpectRefused([](std::string& b) { StoreBe32(At(b, kFirstChildLink), 0x100000); },
                [&](CdxIndex& index) {
                  index.Remove(0, {key, 1});
                },
                "past the end of the file");
  ExpectRefused([](std::string& b) { StoreLe32(At(b, 4), 0x7FFFFE00); },
                [](CdxIndex& index) { index.AddTag("NEW", "X", "", 1, ' ', false, false); },
                "the free list points to offset 2147483136");
}

}  // namespace
}  // namespace xbase

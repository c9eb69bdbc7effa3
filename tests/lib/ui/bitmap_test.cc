// BMP loading into DIB blocks, and reading binary layouts.
#include "lib/ui/bitmap.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>

namespace {

struct BmpCase {
  const char* name;
  uint32_t header_size;
  uint16_t bits;
  uint32_t clr_used;
  uint32_t size_image;
  bool loads;
  uint32_t expected_colours;
  uint32_t expected_size_image;
};

std::string MakeBmp(const BmpCase& c, int width, int height) {
  uint32_t colours = c.clr_used ? c.clr_used : (c.bits == 24 ? 0 : 1u << c.bits);
  uint32_t stride = ((c.bits * width + 31) / 32) * 4;
  uint32_t pixels = stride * height;
  std::string file(14 + 40 + 4 * colours + pixels, '\0');
  auto put32 = [&](size_t at, uint32_t v) { std::memcpy(&file[at], &v, 4); };
  auto put16 = [&](size_t at, uint16_t v) { std::memcpy(&file[at], &v, 2); };
  file[0] = 'B';
  file[1] = 'M';
  put32(10, 14 + 40 + 4 * colours);
  put32(14, c.header_size);
  put32(18, width);
  put32(22, height);
  put16(26, 1);
  put16(28, c.bits);
  put32(34, c.size_image);
  put32(46, c.clr_used);
  return file;
}

TEST(BitmapTest, LoadDibCases) {
  const BmpCase cases[] = {
      {"24-bit, no colour table", 40, 24, 0, 0, true, 0, 12 * 3},
      {"8-bit with 256 colours", 40, 8, 0, 12, true, 256, 12},
      {"biSizeImage 0 computed with padded rows", 40, 8, 0, 0, true, 256, 4 * 3},
      {"OS/2 header refused", 12, 24, 0, 0, false, 0, 0},
  };
  auto dir = std::filesystem::temp_directory_path();
  for (const BmpCase& c : cases) {
    SCOPED_TRACE(c.name);
    std::string path = (dir / "zv_loaddib.bmp").string();
    std::ofstream(path, std::ios::binary) << MakeBmp(c, 3, 3);
    ui::DibHandle dib = ui::LOADDIB(path);
    ASSERT_EQ(dib != 0, c.loads);
    if (!dib) continue;
    const std::vector<uint8_t>& bytes = ui::DibBytes(dib);
    uint32_t colours, size_image;
    std::memcpy(&colours, &bytes[32], 4);
    std::memcpy(&size_image, &bytes[20], 4);
    EXPECT_EQ(colours, c.expected_colours);
    EXPECT_EQ(size_image, c.expected_size_image);
    EXPECT_EQ(bytes.size(), 40 + 4 * colours + size_image);
    EXPECT_EQ(ui::GET_DIBSIZE(dib), (std::pair{3, 3}));
    ui::FreeDib(dib);
  }
  EXPECT_EQ(ui::LOADDIB((dir / "zv_no_such.bmp").string()), 0);
}

TEST(BitmapTest, Bin2aReadsLayouts) {
  std::vector<ui::BinValue> values = ui::BIN2A(std::string("\x01\x02\x03", 3), "byte, word");
  EXPECT_EQ(values, (std::vector<ui::BinValue>{int64_t{1}, int64_t{770}}));
  std::string object(22, '\0');
  int32_t fields[4] = {0, 400, 100, 1600};
  std::memcpy(object.data(), fields, 16);
  object[16] = 1;
  object[18] = 32;
  values = ui::BIN2A(object, "int[4],byte[2], long");
  ASSERT_EQ(values.size(), 7u);
  EXPECT_EQ(values[1], ui::BinValue(int64_t{400}));
  EXPECT_EQ(values[2], ui::BinValue(int64_t{100}));
}

}  // namespace

// Pictures painted into control -9001: as wide as the control, in proportion.
#include <gtest/gtest.h>

#include <QImage>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>

#include "lib/ui/app.h"
#include "platform/progdir/program_dir.h"
#include "platform/win/window.h"
#include "tests/support/temp_dir.h"

namespace {

const bool kOffscreen = (setenv("QT_QPA_PLATFORM", "offscreen", 1), true);

// A 24-bit BMP file of one colour.
std::string SolidBmp(int width, int height, uint8_t red, uint8_t green, uint8_t blue) {
  uint32_t stride = ((24 * width + 31) / 32) * 4;
  std::string file(54 + stride * height, '\0');
  auto put32 = [&](size_t at, uint32_t v) { std::memcpy(&file[at], &v, 4); };
  file[0] = 'B';
  file[1] = 'M';
  put32(10, 54);
  put32(14, 40);
  put32(18, width);
  put32(22, height);
  file[26] = 1;
  file[28] = 24;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      size_t at = 54 + y * stride + x * 3;
      file[at] = static_cast<char>(blue);
      file[at + 1] = static_cast<char>(green);
      file[at + 2] = static_cast<char>(red);
    }
  }
  return file;
}

class PictureTest : public ::testing::Test {
 protected:
  void SetUp() override {
    win::EnsureApplication();
    progdir::SetProgramDirectory(dir_.path().string());
    std::filesystem::create_directory(dir_.path() / "BMP");
    std::ofstream(dir_.File("BMP/logo.bmp"), std::ios::binary) << SolidBmp(400, 100, 255, 0, 0);
    static int frames = 0;
    frame_ = std::make_unique<ui::MDIFRAME>();
    ASSERT_TRUE(frame_->Init("PictureFrame" + std::to_string(++frames), "frame"));
    win::RegisterClass("PictureHost", &win::DefWindowProc);
    host_ = win::CreateWindowEx(0, "PictureHost", "", win::WS_VISIBLE, 0, 0, 300, 200, 0, 0);
    control_ = win::CreateWindowEx(0, "Button", "Logos",
                                   win::WS_CHILD | win::WS_VISIBLE | win::BS_OWNERDRAW, 0, 0, 200,
                                   80, host_, -9001);
  }
  void TearDown() override {
    win::DestroyWindow(host_);
    win::DestroyWindow(frame_->hwnd);
    progdir::SetProgramDirectory("");
  }

  QImage Rendered() {
    std::string png = dir_.File("control.png");
    EXPECT_TRUE(win::SaveWindowImage(control_, png));
    return QImage(QString::fromStdString(png));
  }
  static bool IsRed(QRgb pixel) { return qRed(pixel) > 200 && qGreen(pixel) < 60; }

  testing_support::TempDir dir_;
  std::unique_ptr<ui::MDIFRAME> frame_;
  win::Hwnd host_ = 0, control_ = 0;
};

TEST_F(PictureTest, PictureFillsTheControlsWidthAndKeepsItsProportions) {
  frame_->DO_FOTO("logo.bmp", host_);
  ASSERT_NE(frame_->v_Datos.dib, 0);
  QImage image = Rendered();
  ASSERT_EQ(image.width(), 200);
  // 400 x 100 into 200 pixels: drawn 200 x 50 from the top left.
  EXPECT_TRUE(IsRed(image.pixel(1, 1)));
  EXPECT_TRUE(IsRed(image.pixel(198, 48)));
  EXPECT_FALSE(IsRed(image.pixel(100, 53)));
  EXPECT_FALSE(IsRed(image.pixel(100, 78)));
}

TEST_F(PictureTest, MissingPictureOrEmptyNamePaintsNothing) {
  frame_->DO_FOTO("", host_);
  EXPECT_FALSE(ui::HasHandlerRecord(control_)) << "an empty name does nothing";
  frame_->DO_FOTO("nope.bmp", host_);
  EXPECT_EQ(frame_->v_Datos.dib, 0);
  EXPECT_FALSE(IsRed(Rendered().pixel(1, 1)));
}

TEST_F(PictureTest, ShowingAnotherPictureReplacesTheFirstAndSubclassesOnce) {
  std::ofstream(dir_.File("BMP/blue.bmp"), std::ios::binary) << SolidBmp(20, 20, 0, 0, 255);
  frame_->DO_FOTO("logo.bmp", host_);
  ui::DibHandle first = frame_->v_Datos.dib;
  frame_->DO_FOTO("blue.bmp", host_);
  EXPECT_TRUE(ui::DibBytes(first).empty()) << "the replaced picture is freed";
  QImage image = Rendered();
  EXPECT_EQ(qBlue(image.pixel(100, 100 - 30)), 255);
  // One picture callback on the control: the next subclassing lands at position 2.
  EXPECT_EQ(ui::SUBCLASSWINDOW(
                control_, [](auto...) { return intptr_t{0}; }, 0),
            2);
}

}  // namespace

#include "lib/ui/bitmap.h"

#include <cstring>
#include <map>

#include "platform/win/file.h"

namespace ui {
namespace {

constexpr size_t kFileHeader = 14;
constexpr size_t kInfoHeader = 40;

std::map<DibHandle, std::vector<uint8_t>>& Dibs() {
  static std::map<DibHandle, std::vector<uint8_t>> dibs;
  return dibs;
}
DibHandle next_dib = 0x7000;

template <typename T>
T ReadAt(const uint8_t* data, size_t offset) {
  T value;
  std::memcpy(&value, data + offset, sizeof(T));
  return value;
}

template <typename T>
void WriteAt(uint8_t* data, size_t offset, T value) {
  std::memcpy(data + offset, &value, sizeof(T));
}

}  // namespace

DibHandle LOADDIB(const std::string& path) {
  std::optional<std::string> file = win::ReadWholeFile(path);
  if (!file || file->size() < kFileHeader + kInfoHeader || file->compare(0, 2, "BM") != 0) {
    return 0;
  }
  const auto* bytes = reinterpret_cast<const uint8_t*>(file->data());
  if (ReadAt<uint32_t>(bytes, kFileHeader) != kInfoHeader) return 0;  // OS/2 and newer refused
  std::vector<uint8_t> dib(bytes + kFileHeader, bytes + kFileHeader + kInfoHeader);
  uint16_t bit_count = ReadAt<uint16_t>(dib.data(), 14);
  int32_t width = ReadAt<int32_t>(dib.data(), 4);
  int32_t height = ReadAt<int32_t>(dib.data(), 8);
  uint32_t colours = ReadAt<uint32_t>(dib.data(), 32);
  if (colours == 0 && bit_count != 24) {
    colours = (bit_count % 32) >= 16 ? 0 : 1u << (bit_count % 32);
    WriteAt<uint32_t>(dib.data(), 32, colours);
  }
  uint64_t image_size = ReadAt<uint32_t>(dib.data(), 20);
  if (image_size == 0) {
    image_size = ((uint64_t{bit_count} * static_cast<uint32_t>(std::abs(width)) + 31) / 32) * 4 *
                 static_cast<uint32_t>(std::abs(height));
    if (image_size > UINT32_MAX) return 0;
    WriteAt<uint32_t>(dib.data(), 20, static_cast<uint32_t>(image_size));
  }
  size_t table_end = kFileHeader + kInfoHeader + 4ull * colours;
  uint32_t bits_offset = ReadAt<uint32_t>(bytes, 10);
  size_t pixels_at = bits_offset ? bits_offset : table_end;
  if (table_end > file->size() || pixels_at > file->size() ||
      image_size > file->size() - pixels_at) {
    return 0;  // a short colour table or pixel read fails the load
  }
  dib.insert(dib.end(), bytes + kFileHeader + kInfoHeader, bytes + table_end);
  dib.insert(dib.end(), bytes + pixels_at, bytes + pixels_at + image_size);
  DibHandle handle = next_dib++;
  Dibs()[handle] = std::move(dib);
  return handle;
}

const std::vector<uint8_t>& DibBytes(DibHandle dib) {
  static const std::vector<uint8_t> kNone;
  auto it = Dibs().find(dib);
  return it == Dibs().end() ? kNone : it->second;
}

void FreeDib(DibHandle dib) { Dibs().erase(dib); }

win::Hgdiobj BITMAPFROMDIB(DibHandle dib, win::Hdc, int) {
  const std::vector<uint8_t>& bytes = DibBytes(dib);
  return bytes.empty() ? 0 : win::CreateBitmapFromDib(bytes.data(), bytes.size());
}

std::string XGETOBJECT(win::Hgdiobj object) { return win::GetObjectBytes(object); }

bool STRTCHDIBBLT(win::Hdc hdc, int x, int y, int width, int height, DibHandle dib, int src_x,
                  int src_y, int src_width, int src_height, uint32_t rop) {
  const std::vector<uint8_t>& bytes = DibBytes(dib);
  return win::StretchDIBits(hdc, x, y, width, height, bytes.empty() ? nullptr : bytes.data(),
                            bytes.size(), src_x, src_y, src_width, src_height, rop);
}

std::pair<int, int> GET_DIBSIZE(DibHandle dib) {
  const std::vector<uint8_t>& bytes = DibBytes(dib);
  if (bytes.size() < kInfoHeader) return {0, 0};
  return {ReadAt<int32_t>(bytes.data(), 4), ReadAt<int32_t>(bytes.data(), 8)};
}

bool DELETE_OBJECT(win::Hgdiobj object) { return win::DeleteObject(object); }

std::vector<BinValue> BIN2A(const std::string& bytes, const std::string& layout) {
  std::vector<BinValue> values;
  size_t at = 0;
  const auto* data = reinterpret_cast<const uint8_t*>(bytes.data());
  size_t start = 0;
  while (start < layout.size()) {
    size_t comma = layout.find(',', start);
    std::string field = layout.substr(start, comma == std::string::npos ? comma : comma - start);
    start = comma == std::string::npos ? layout.size() : comma + 1;
    field.erase(0, field.find_first_not_of(' '));
    int count = 1;
    if (size_t open = field.find('['); open != std::string::npos) {
      count = std::atoi(field.c_str() + open + 1);
      field.resize(open);
    }
    field.erase(field.find_last_not_of(' ') + 1);
    for (int i = 0; i < count; ++i) {
      size_t width = field == "byte"                                              ? 1
                     : (field == "short" || field == "ushort" || field == "word") ? 2
                     : (field == "float" || field == "real" || field == "double") ? 8
                     : (field == "int" || field == "uint" || field == "handle" || field == "hwnd" ||
                        field == "long" || field == "dword" || field == "bool" || field == "string")
                         ? 4
                         : 0;
      if (width == 0) return values;
      if (at + width > bytes.size()) return values;
      if (width == 1) values.emplace_back(int64_t{data[at]});
      if (width == 2) values.emplace_back(int64_t{ReadAt<uint16_t>(data, at)});
      if (width == 8) values.emplace_back(ReadAt<double>(data, at));
      if (width == 4 && field != "string") values.emplace_back(int64_t{ReadAt<int32_t>(data, at)});
      // A text address of the original runtime cannot be followed in this process.
      if (field == "string") values.emplace_back(std::string());
      at += width;
    }
  }
  return values;
}

}  // namespace ui

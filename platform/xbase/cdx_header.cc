#include "platform/xbase/cdx_header.h"

#include <cstring>

#include "platform/xbase/byte_order.h"
#include "platform/xbase/cdx_page.h"
#include "platform/xbase/error.h"

namespace xbase {

namespace {

constexpr size_t kPoolOffset = 512;
constexpr size_t kPoolSize = 512;

std::string PoolString(const uint8_t* raw, size_t offset, size_t length, const std::string& path,
                       const std::string& what) {
  if (offset + length > kPoolSize) {
    throw Error(ErrorKind::kCorrupt, path, what + ": expression lies outside the header");
  }
  const char* start = reinterpret_cast<const char*>(raw + kPoolOffset + offset);
  return std::string(start, strnlen(start, length));
}

}  // namespace

bool ExpressionsFit(const std::string& key_expr, const std::string& for_expr) {
  return key_expr.size() + 1 + for_expr.size() + 1 <= kPoolSize;
}

std::string EncodeHeader(const CdxHeader& h) {
  std::string bytes(kCdxHeaderSize, '\0');
  auto* raw = reinterpret_cast<uint8_t*>(bytes.data());
  StoreLe32(raw, h.root);
  StoreLe16(raw + 12, static_cast<uint16_t>(h.key_length));
  raw[14] = h.options;
  raw[15] = 0x01;  // signature
  // Values the other programs write; their meaning is not known.
  StoreLe16(raw + 16, 0x0400);
  StoreLe16(raw + 18, 0x0200);
  StoreLe16(raw + 502, h.descending ? 1 : 0);
  const auto key_size = static_cast<uint16_t>(h.key_expr.size() + 1);
  const auto for_size = static_cast<uint16_t>(h.for_expr.size() + 1);
  StoreLe16(raw + 504, key_size);
  StoreLe16(raw + 506, for_size);
  StoreLe16(raw + 508, 0);
  StoreLe16(raw + 510, key_size);
  std::memcpy(raw + kPoolOffset, h.key_expr.data(), h.key_expr.size());
  std::memcpy(raw + kPoolOffset + key_size, h.for_expr.data(), h.for_expr.size());
  return bytes;
}

CdxHeader DecodeHeader(const uint8_t* raw, const std::string& path, const std::string& what) {
  CdxHeader h;
  h.root = LoadLe32(raw);
  h.key_length = LoadLe16(raw + 12);
  if (h.key_length < 1 || h.key_length > kMaxKeyLength) {
    throw Error(ErrorKind::kCorrupt, path,
                what + ": key length " + std::to_string(h.key_length) + " is impossible");
  }
  h.options = raw[14];
  h.descending = LoadLe16(raw + 502) != 0;
  h.for_expr = PoolString(raw, LoadLe16(raw + 504), LoadLe16(raw + 506), path, what);
  h.key_expr = PoolString(raw, LoadLe16(raw + 508), LoadLe16(raw + 510), path, what);
  return h;
}

}  // namespace xbase

#pragma once
// Loads and stores of little- and big-endian integers in byte buffers.

#include <cstdint>

namespace xbase {

inline uint16_t LoadLe16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }
inline uint32_t LoadLe32(const uint8_t* p) {
  return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
}
inline uint32_t LoadBe32(const uint8_t* p) {
  return uint32_t{p[3]} | uint32_t{p[2]} << 8 | uint32_t{p[1]} << 16 | uint32_t{p[0]} << 24;
}
inline void StoreLe16(uint8_t* p, uint16_t v) {
  p[0] = static_cast<uint8_t>(v);
  p[1] = static_cast<uint8_t>(v >> 8);
}
inline void StoreLe32(uint8_t* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}
inline void StoreBe32(uint8_t* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[3 - i] = static_cast<uint8_t>(v >> (8 * i));
}

}  // namespace xbase

#pragma once
// The 1024-byte header of the tag directory (at offset 0) and of every tag.

#include <cstdint>
#include <string>

namespace xbase {

inline constexpr uint8_t kCdxUnique = 0x01;
inline constexpr uint8_t kCdxHasFor = 0x08;
inline constexpr uint8_t kCdxTagOptions = 0x60;        // compact, compound
inline constexpr uint8_t kCdxDirectoryOptions = 0xE0;  // compact, compound, structural
inline constexpr int kCdxTagNameLength = 10;           // directory keys: names blank-padded

struct CdxHeader {
  uint32_t root = 0;
  int key_length = 0;
  uint8_t options = 0;
  bool descending = false;
  std::string key_expr, for_expr;
};

// The expressions must fit the pool with their terminating NULs (512 bytes).
bool ExpressionsFit(const std::string& key_expr, const std::string& for_expr);
std::string EncodeHeader(const CdxHeader& header);
// Throws kCorrupt naming `path` and `what` for a header that cannot be valid.
CdxHeader DecodeHeader(const uint8_t* raw, const std::string& path, const std::string& what);

}  // namespace xbase

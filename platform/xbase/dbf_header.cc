#include "platform/xbase/dbf_header.h"

#include <cstring>
#include <ctime>

#include "platform/xbase/error.h"
#include "platform/xbase/file.h"

namespace xbase {
namespace {

constexpr int kDescriptorSize = 32;
constexpr char kFieldTerminator = 0x0D;
// Bytes read at once from the start of a table: the whole header of a table of up to 115 fields.
constexpr size_t kFirstHeaderRead = 4096;

uint16_t Le16(const unsigned char* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
uint32_t Le32(const unsigned char* p) {
  return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}
void PutLe16(unsigned char* p, uint16_t v) {
  p[0] = v & 0xFF;
  p[1] = v >> 8;
}
void PutLe32(unsigned char* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = (v >> (8 * i)) & 0xFF;
}

bool KnownVersion(uint8_t v) {
  return v == 0x03 || v == 0x83 || v == 0xF5 || v == 0x30 || v == 0x31 || v == 0x32;
}

void PutToday(unsigned char* p) {
  std::time_t now = std::time(nullptr);
  std::tm local;
  localtime_r(&now, &local);
  p[0] = static_cast<unsigned char>(local.tm_year);  // years since 1900
  p[1] = static_cast<unsigned char>(local.tm_mon + 1);
  p[2] = static_cast<unsigned char>(local.tm_mday);
}

}  // namespace

uint32_t DbfHeader::RecordCountForSize(uint64_t file_size) const {
  if (file_size <= header_length || record_length == 0) return 0;
  uint64_t n = (file_size - header_length) / record_length;
  return n > 0xFFFFFFFFull ? 0xFFFFFFFFu : static_cast<uint32_t>(n);
}

DbfHeader ReadDbfHeader(const File& file) {
  const std::string& path = file.path();
  // Most headers fit in the first read; a longer one is read again whole.
  std::string raw(kFirstHeaderRead, '\0');
  raw.resize(file.Read(0, raw.data(), raw.size()));
  if (raw.size() < 32) {
    raw.resize(32);
    file.ReadExact(0, raw.data(), raw.size(), "the table header");
  }
  const auto* fixed = reinterpret_cast<const unsigned char*>(raw.data());
  DbfHeader h;
  h.version = fixed[0];
  if (!KnownVersion(h.version)) {
    char hex[8];
    std::snprintf(hex, sizeof hex, "0x%02X", h.version);
    throw Error(ErrorKind::kUnsupported, path,
                std::string("not a known table version (") + hex + ")");
  }
  h.header_count = Le32(fixed + 4);
  h.header_length = Le16(fixed + 8);
  h.record_length = Le16(fixed + 10);
  h.flags = fixed[28];
  h.code_page = fixed[29];
  if (h.header_length < 32 + 1 || h.record_length < 1) {
    throw Error(ErrorKind::kCorrupt, path,
                "header length " + std::to_string(h.header_length) + " or record length " +
                    std::to_string(h.record_length) + " is impossible");
  }
  if (raw.size() < h.header_length) {
    uint64_t size = file.Size();
    if (size < h.header_length) {
      throw Error(ErrorKind::kCorrupt, path,
                  "header length " + std::to_string(h.header_length) + " exceeds the file size " +
                      std::to_string(size));
    }
    raw.resize(h.header_length);
    file.ReadExact(0, raw.data(), raw.size(), "the table header");
  }
  raw.resize(h.header_length);
  const auto* bytes = reinterpret_cast<const unsigned char*>(raw.data());

  int offset = 1;  // byte 0 of a record is the deletion flag
  size_t pos = 32;
  while (pos < raw.size() && bytes[pos] != kFieldTerminator) {
    if (pos + kDescriptorSize > raw.size()) {
      throw Error(ErrorKind::kCorrupt, path, "field list has no terminator inside the header");
    }
    const unsigned char* d = bytes + pos;
    FieldInfo f;
    f.name.assign(reinterpret_cast<const char*>(d), strnlen(reinterpret_cast<const char*>(d), 11));
    f.type = static_cast<char>(d[11]);
    f.length = d[16];
    f.decimals = d[17];
    f.flags = d[18];
    if (f.type == 'C') {
      f.length += 256 * f.decimals;  // long character fields keep the high byte in "decimals"
      f.decimals = 0;
    }
    f.offset = h.IsVisualFoxPro() ? static_cast<int>(Le32(d + 12)) : offset;
    if (f.length == 0 || f.offset < 1 || f.offset + f.length > h.record_length) {
      throw Error(ErrorKind::kCorrupt, path,
                  "field " + f.name + " (length " + std::to_string(f.length) +
                      ") lies outside the record length " + std::to_string(h.record_length));
    }
    offset += f.length;
    h.fields.push_back(std::move(f));
    pos += kDescriptorSize;
  }
  if (pos >= raw.size()) {
    throw Error(ErrorKind::kCorrupt, path, "field list has no terminator inside the header");
  }
  if (h.fields.empty()) throw Error(ErrorKind::kCorrupt, path, "table has no fields");
  if (!h.IsVisualFoxPro() && offset != h.record_length) {
    throw Error(ErrorKind::kCorrupt, path,
                "record length " + std::to_string(h.record_length) +
                    " disagrees with the fields' total " + std::to_string(offset));
  }
  return h;
}

std::string BuildDbfHeader(DbfHeader& h) {
  bool has_memo = false;
  int offset = 1;
  for (FieldInfo& f : h.fields) {
    f.offset = offset;
    offset += f.length;
    has_memo |= f.type == 'M';
  }
  h.version = has_memo ? 0xF5 : 0x03;
  h.record_length = static_cast<uint16_t>(offset);
  h.header_length = static_cast<uint16_t>(32 + kDescriptorSize * h.fields.size() + 2);
  h.header_count = 0;
  std::string out(h.header_length, '\0');
  auto* p = reinterpret_cast<unsigned char*>(out.data());
  p[0] = h.version;
  PutToday(p + 1);
  PutLe16(p + 8, h.header_length);
  PutLe16(p + 10, h.record_length);
  p[28] = h.flags;
  p[29] = h.code_page;
  size_t pos = 32;
  for (const FieldInfo& f : h.fields) {
    unsigned char* d = p + pos;
    std::memcpy(d, f.name.data(), std::min<size_t>(f.name.size(), 10));
    d[11] = static_cast<unsigned char>(f.type);
    d[16] = static_cast<unsigned char>(f.length & 0xFF);
    d[17] = static_cast<unsigned char>(f.type == 'C' ? f.length >> 8 : f.decimals);
    pos += kDescriptorSize;
  }
  p[pos] = kFieldTerminator;
  return out;
}

void WriteHeaderCount(File& file, uint32_t count) {
  unsigned char b[7];
  PutToday(b);
  PutLe32(b + 3, count);
  file.Write(1, b, sizeof b);
}

}  // namespace xbase

#pragma once
// The DBF table header: version, counts, sizes, flags and field descriptors.

#include <cstdint>
#include <string>

#include "platform/xbase/field.h"

namespace xbase {

class File;

struct DbfHeader {
  uint8_t version = 0x03;
  uint16_t header_length = 0;
  uint16_t record_length = 0;
  uint32_t header_count = 0;  // as written by the last appender; never trusted for reading
  uint8_t flags = 0;          // bit 0: structural CDX; bit 1: memo (Visual FoxPro)
  uint8_t code_page = 0;
  Schema fields;

  bool IsVisualFoxPro() const { return version == 0x30 || version == 0x31 || version == 0x32; }
  bool HasStructuralIndex() const { return flags & 0x01; }
  // The memo file that goes with the table: FPT for FoxPro versions, DBT for dBASE III.
  bool HasFptMemo() const { return version == 0xF5 || (IsVisualFoxPro() && (flags & 0x02)); }
  bool HasDbtMemo() const { return version == 0x83; }
  // Records in the file, computed from its size (the header count is not trusted).
  uint32_t RecordCountForSize(uint64_t file_size) const;
  uint64_t RecordOffset(uint32_t recno) const {
    return header_length + static_cast<uint64_t>(recno - 1) * record_length;
  }
};

// Reads and validates the header of an open DBF file; throws Error(kCorrupt) naming the
// problem, Error(kUnsupported) for a version byte this engine does not know.
DbfHeader ReadDbfHeader(const File& file);

// The bytes of a complete header for a new table (fields must carry their lengths; offsets are
// assigned here). Version 0x03, or 0xF5 when a field is a memo.
std::string BuildDbfHeader(DbfHeader& header);

// Rewrites the last-update date and the record count (bytes 1 to 7) for other programs.
void WriteHeaderCount(File& file, uint32_t count);

}  // namespace xbase

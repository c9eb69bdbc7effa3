#include "platform/xbase/memo_file.h"

#include "platform/xbase/error.h"

namespace xbase {
namespace {

constexpr uint64_t kMemoLockOffset = 0;
constexpr uint32_t kNewHeaderSize = 512;
constexpr uint32_t kNewBlockSize = 64;
constexpr uint32_t kTextMemo = 1;
constexpr uint32_t kBlockHeaderSize = 8;  // type and length

uint32_t Be32(const unsigned char* p) {
  return (static_cast<uint32_t>(p[0]) << 24) | (p[1] << 16) | (p[2] << 8) | p[3];
}
void PutBe32(unsigned char* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = (v >> (24 - 8 * i)) & 0xFF;
}

// Holds the memo write lock for one allocation and write.
class MemoLock {
 public:
  explicit MemoLock(File& f) : file_(f) { file_.WaitLock(kMemoLockOffset, 1, true); }
  ~MemoLock() { file_.Unlock(kMemoLockOffset, 1); }

 private:
  File& file_;
};

}  // namespace

MemoFile::MemoFile(File file) : file_(std::move(file)) {
  unsigned char head[8];
  file_.ReadExact(0, head, sizeof head, "the memo header");
  block_size_ = Be32(head + 4);
  if (block_size_ == 0) block_size_ = (head[6] << 8) | head[7];
  if (block_size_ == 0 || block_size_ > 65536) {
    throw Error(ErrorKind::kCorrupt, file_.path(),
                "memo block size " + std::to_string(block_size_) + " is impossible");
  }
}

void MemoFile::CreateEmpty(File& file) {
  unsigned char head[kNewHeaderSize] = {};
  PutBe32(head, kNewHeaderSize / kNewBlockSize);
  PutBe32(head + 4, kNewBlockSize);
  file.Write(0, head, sizeof head);
}

uint32_t MemoFile::BlocksFor(uint64_t length) const {
  return static_cast<uint32_t>((kBlockHeaderSize + length + block_size_ - 1) / block_size_);
}

std::string MemoFile::Read(uint32_t block) const {
  if (block == 0) return {};
  uint64_t offset = static_cast<uint64_t>(block) * block_size_;
  uint64_t size = file_.Size();
  unsigned char head[kBlockHeaderSize];
  if (offset + kBlockHeaderSize > size) {
    throw Error(ErrorKind::kCorrupt, file_.path(),
                "memo block " + std::to_string(block) + " lies past the end of the file");
  }
  file_.ReadExact(offset, head, sizeof head, "a memo block");
  uint32_t length = Be32(head + 4);
  if (offset + kBlockHeaderSize + length > size) {
    throw Error(ErrorKind::kCorrupt, file_.path(),
                "memo at block " + std::to_string(block) + " claims " + std::to_string(length) +
                    " bytes, past the end of the file");
  }
  std::string text(length, '\0');
  file_.ReadExact(offset + kBlockHeaderSize, text.data(), length, "a memo");
  return text;
}

uint32_t MemoFile::CapacityOf(uint32_t block) const {
  unsigned char head[kBlockHeaderSize];
  uint64_t offset = static_cast<uint64_t>(block) * block_size_;
  if (file_.Read(offset, head, sizeof head) != sizeof head) return 0;
  return BlocksFor(Be32(head + 4));
}

uint32_t MemoFile::Write(const std::string& text, uint32_t old_block) {
  if (text.empty()) return 0;
  MemoLock lock(file_);
  uint32_t block = 0;
  if (old_block != 0 && BlocksFor(text.size()) <= CapacityOf(old_block)) {
    block = old_block;
  } else {
    unsigned char head[4];
    file_.ReadExact(0, head, sizeof head, "the memo header");
    block = Be32(head);
    uint64_t header_blocks = (kNewHeaderSize + block_size_ - 1) / block_size_;
    if (block < header_blocks) {
      throw Error(ErrorKind::kCorrupt, file_.path(),
                  "next-free block " + std::to_string(block) + " lies inside the header");
    }
    uint64_t next = static_cast<uint64_t>(block) + BlocksFor(text.size());
    if (next > 0xFFFFFFFFull / block_size_) {
      throw Error(ErrorKind::kArgument, file_.path(), "memo file would exceed its size limit");
    }
    PutBe32(head, static_cast<uint32_t>(next));
    // Written before the block itself so that a failure never leaves two memos sharing blocks.
    file_.Write(0, head, sizeof head);
  }
  std::string bytes(static_cast<size_t>(BlocksFor(text.size())) * block_size_, '\0');
  auto* p = reinterpret_cast<unsigned char*>(bytes.data());
  PutBe32(p, kTextMemo);
  PutBe32(p + 4, static_cast<uint32_t>(text.size()));
  bytes.replace(kBlockHeaderSize, text.size(), text);
  file_.Write(static_cast<uint64_t>(block) * block_size_, bytes.data(), bytes.size());
  return block;
}

}  // namespace xbase

#pragma once
// The engine's one door to the operating system: a file with positioned reads and writes,
// an open-mode lock (flock) and byte-range locks (fcntl). Nothing else in the engine makes
// system calls on table files.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace xbase {

enum class ShareMode { kShared, kExclusive };

class File {
 public:
  // Opens `path` and takes the open-mode lock without waiting. Throws Error: kOpen when the
  // file cannot be opened, kSharingViolation when the mode lock is refused.
  static File Open(const std::string& path, bool read_only, ShareMode mode);
  // Creates `path` (failing when it exists) and opens it exclusive, read-write.
  static File Create(const std::string& path);

  File() = default;
  File(File&& other) noexcept;
  File& operator=(File&& other) noexcept;
  File(const File&) = delete;
  File& operator=(const File&) = delete;
  ~File();

  bool is_open() const { return fd_ >= 0; }
  const std::string& path() const { return path_; }
  bool read_only() const { return read_only_; }

  // Reads up to n bytes at offset; returns the count read (less at end of file).
  size_t Read(uint64_t offset, void* buf, size_t n) const;
  // Reads exactly n bytes or throws kCorrupt naming `what` (the file is too short).
  void ReadExact(uint64_t offset, void* buf, size_t n, std::string_view what) const;
  void Write(uint64_t offset, const void* buf, size_t n);
  uint64_t Size() const;
  void Truncate(uint64_t size);
  void Sync();

  // Byte-range locks (process-wide, as POSIX defines them).
  bool TryLock(uint64_t offset, uint64_t length, bool exclusive);  // false: held by another
  void WaitLock(uint64_t offset, uint64_t length, bool exclusive);
  void Unlock(uint64_t offset, uint64_t length);

  // Device and inode: identifies the file across differently spelled paths.
  std::pair<uint64_t, uint64_t> Identity() const;

 private:
  File(int fd, std::string path, bool read_only)
      : fd_(fd), path_(std::move(path)), read_only_(read_only) {}
  [[noreturn]] void Fail(const char* op) const;

  int fd_ = -1;
  std::string path_;
  bool read_only_ = false;
};

// Finds `name` in `dir` without regard to case; returns the full path of the existing entry.
std::optional<std::string> FindFileNoCase(const std::string& dir, const std::string& name);
// Device and inode of the file at `path`, without opening it (opening and closing a second
// descriptor would drop the process's byte locks on that file); nullopt when it does not exist.
std::optional<std::pair<uint64_t, uint64_t>> PathIdentity(const std::string& path);
// Splits a path into folder ("" or ending without separator) and file name.
std::pair<std::string, std::string> SplitPath(const std::string& path);

}  // namespace xbase

#include "platform/xbase/file.h"

#include <dirent.h>
#include <fcntl.h>
#include <strings.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/xbase/error.h"

namespace xbase {

File File::Open(const std::string& path, bool read_only, ShareMode mode) {
  int fd = ::open(path.c_str(), (read_only ? O_RDONLY : O_RDWR) | O_CLOEXEC);
  if (fd < 0) {
    int err = errno;
    throw Error(ErrorKind::kOpen, path, std::string("cannot open: ") + std::strerror(err), err);
  }
  int how = (mode == ShareMode::kExclusive ? LOCK_EX : LOCK_SH) | LOCK_NB;
  if (::flock(fd, how) != 0) {
    int err = errno;
    ::close(fd);
    if (err == EWOULDBLOCK) {
      // Operating-system code 32 is what the Windows world calls a sharing violation.
      throw Error(ErrorKind::kSharingViolation, path, "file is in use by another user", 32);
    }
    throw Error(ErrorKind::kIo, path, std::string("flock: ") + std::strerror(err), err);
  }
  return File(fd, path, read_only);
}

File File::Create(const std::string& path) {
  int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd < 0) {
    int err = errno;
    throw Error(ErrorKind::kOpen, path, std::string("cannot create: ") + std::strerror(err), err);
  }
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    int err = errno;
    ::close(fd);
    throw Error(ErrorKind::kSharingViolation, path, "file is in use by another user", err);
  }
  return File(fd, path, false);
}

File::File(File&& other) noexcept
    : fd_(other.fd_), path_(std::move(other.path_)), read_only_(other.read_only_) {
  other.fd_ = -1;
}

File& File::operator=(File&& other) noexcept {
  if (this != &other) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = other.fd_;
    path_ = std::move(other.path_);
    read_only_ = other.read_only_;
    other.fd_ = -1;
  }
  return *this;
}

File::~File() {
  if (fd_ >= 0) ::close(fd_);
}

void File::Fail(const char* op) const {
  int err = errno;
  throw Error(ErrorKind::kIo, path_, std::string(op) + ": " + std::strerror(err), err);
}

size_t File::Read(uint64_t offset, void* buf, size_t n) const {
  size_t done = 0;
  auto* out = static_cast<char*>(buf);
  while (done < n) {
    ssize_t r = ::pread(fd_, out + done, n - done, static_cast<off_t>(offset + done));
    if (r < 0) {
      if (errno == EINTR) continue;
      Fail("read");
    }
    if (r == 0) break;
    done += static_cast<size_t>(r);
  }
  return done;
}

void File::ReadExact(uint64_t offset, void* buf, size_t n, std::string_view what) const {
  if (Read(offset, buf, n) != n) {
    throw Error(ErrorKind::kCorrupt, path_,
                "file ends inside " + std::string(what) + " at offset " + std::to_string(offset));
  }
}

void File::Write(uint64_t offset, const void* buf, size_t n) {
  if (read_only_) throw Error(ErrorKind::kReadOnly, path_, "file is open read-only");
  size_t done = 0;
  auto* in = static_cast<const char*>(buf);
  while (done < n) {
    ssize_t r = ::pwrite(fd_, in + done, n - done, static_cast<off_t>(offset + done));
    if (r < 0) {
      if (errno == EINTR) continue;
      Fail("write");
    }
    done += static_cast<size_t>(r);
  }
}

uint64_t File::Size() const {
  struct stat st;
  if (::fstat(fd_, &st) != 0) Fail("fstat");
  return static_cast<uint64_t>(st.st_size);
}

void File::Truncate(uint64_t size) {
  if (::ftruncate(fd_, static_cast<off_t>(size)) != 0) Fail("ftruncate");
}

void File::Sync() {
  if (::fdatasync(fd_) != 0) Fail("fdatasync");
}

namespace {
struct flock MakeLock(short type, uint64_t offset, uint64_t length) {
  struct flock fl;
  std::memset(&fl, 0, sizeof fl);
  fl.l_type = type;
  fl.l_whence = SEEK_SET;
  fl.l_start = static_cast<off_t>(offset);
  fl.l_len = static_cast<off_t>(length);
  return fl;
}
}  // namespace

bool File::TryLock(uint64_t offset, uint64_t length, bool exclusive) {
  struct flock fl = MakeLock(exclusive ? F_WRLCK : F_RDLCK, offset, length);
  while (::fcntl(fd_, F_SETLK, &fl) != 0) {
    if (errno == EINTR) continue;
    if (errno == EACCES || errno == EAGAIN) return false;
    Fail("lock");
  }
  return true;
}

void File::WaitLock(uint64_t offset, uint64_t length, bool exclusive) {
  struct flock fl = MakeLock(exclusive ? F_WRLCK : F_RDLCK, offset, length);
  while (::fcntl(fd_, F_SETLKW, &fl) != 0) {
    if (errno == EINTR) continue;
    Fail("lock");
  }
}

void File::Unlock(uint64_t offset, uint64_t length) {
  struct flock fl = MakeLock(F_UNLCK, offset, length);
  while (::fcntl(fd_, F_SETLK, &fl) != 0) {
    if (errno == EINTR) continue;
    Fail("unlock");
  }
}

std::pair<uint64_t, uint64_t> File::Identity() const {
  struct stat st;
  if (::fstat(fd_, &st) != 0) Fail("fstat");
  return {static_cast<uint64_t>(st.st_dev), static_cast<uint64_t>(st.st_ino)};
}

std::optional<std::string> FindFileNoCase(const std::string& dir, const std::string& name) {
  std::string folder = dir.empty() ? "." : dir;
  std::string exact = dir.empty() ? name : dir + "/" + name;
  struct stat st;
  if (::stat(exact.c_str(), &st) == 0) return exact;
  DIR* d = ::opendir(folder.c_str());
  if (!d) return std::nullopt;
  std::optional<std::string> found;
  while (struct dirent* e = ::readdir(d)) {
    if (::strcasecmp(e->d_name, name.c_str()) == 0) {
      found = dir.empty() ? std::string(e->d_name) : dir + "/" + e->d_name;
      break;
    }
  }
  ::closedir(d);
  return found;
}

std::optional<std::pair<uint64_t, uint64_t>> PathIdentity(const std::string& path) {
  struct stat st;
  if (::stat(path.c_str(), &st) != 0) return std::nullopt;
  return std::make_pair(static_cast<uint64_t>(st.st_dev), static_cast<uint64_t>(st.st_ino));
}

std::pair<std::string, std::string> SplitPath(const std::string& path) {
  auto slash = path.find_last_of('/');
  if (slash == std::string::npos) return {"", path};
  return {path.substr(0, slash == 0 ? 1 : slash), path.substr(slash + 1)};
}

}  // namespace xbase

#pragma once
// The one exception type of the storage engine. Every failure names the file and the problem.

#include <stdexcept>
#include <string>

namespace xbase {

enum class ErrorKind {
  kOpen,              // the file cannot be opened (missing, permissions)
  kSharingViolation,  // another user holds the file in a way that forbids this open
  kCorrupt,           // the file's contents contradict its format
  kUnsupported,       // a valid file using something this engine does not handle
  kReadOnly,          // a write on a cursor or table that cannot be written
  kNoSuchTag,         // the index has no tag of that name
  kNoSuchField,       // the table has no field of that name or number
  kExpression,        // a key or FOR expression that does not parse or evaluate
  kLock,              // a write attempted without the lock it needs, or a lock call failed
  kIo,                // a read or write of the operating system failed
  kArgument,          // a value that cannot be stored in the field or used as asked
};

class Error : public std::runtime_error {
 public:
  Error(ErrorKind kind, std::string path, const std::string& what, int os_code = 0)
      : std::runtime_error(path.empty() ? what : path + ": " + what),
        kind_(kind),
        path_(std::move(path)),
        os_code_(os_code) {}

  ErrorKind kind() const { return kind_; }
  const std::string& path() const { return path_; }
  int os_code() const { return os_code_; }  // errno of the failed call, 0 when none

 private:
  ErrorKind kind_;
  std::string path_;
  int os_code_;
};

}  // namespace xbase

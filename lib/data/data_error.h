#pragma once
// Errors of the data layer that it does not answer itself (missing file, missing tag, unknown
// field, damaged table). Each carries the fields of the program's error object so that the error
// handler can log it and offer retry or default; until one is installed it propagates as an
// exception whose message names the file and the problem.

#include <stdexcept>
#include <string>

#include "platform/xbase/error.h"

namespace data {

// Generic error codes of the error object.
enum GenCode : int {
  EG_ARG = 1,
  EG_ZERODIV = 5,
  EG_NOVAR = 14,
  EG_NOALIAS = 15,
  EG_CREATE = 20,
  EG_OPEN = 21,
  EG_WRITE = 24,
  EG_UNSUPPORTED = 30,
  EG_CORRUPTION = 32,
  EG_DATATYPE = 33,
  EG_NOTABLE = 35,
  EG_NOORDER = 36,
  EG_UNLOCKED = 38,
  EG_READONLY = 39,
  EG_APPENDLOCK = 40,
};

// Operating-system code of an open that another station's use of the file forbids.
inline constexpr int kSharingViolationOsCode = 32;

struct ErrorObject {
  int GENCODE = 0;
  int SUBCODE = 0;  // the driver's own code: 1000 + the generic code
  int OSCODE = 0;
  int SEVERITY = 2;  // 2: error
  std::string SUBSYSTEM;
  std::string DESCRIPTION;
  std::string OPERATION;
  std::string FILENAME;
  bool CANRETRY = false;
  bool CANDEFAULT = false;
};

class DataError : public std::runtime_error {
 public:
  explicit DataError(ErrorObject error);
  const ErrorObject& error() const { return error_; }

 private:
  ErrorObject error_;
};

// The error object for an engine failure during `operation` on a table of driver `subsystem`.
DataError FromEngineError(const xbase::Error& e, const std::string& subsystem,
                          const std::string& operation);

}  // namespace data

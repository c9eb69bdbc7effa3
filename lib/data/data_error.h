#pragma once
// Errors of the data layer that it does not answer itself (missing file, missing tag, unknown
// field, damaged table). Each carries the fields of the program's error object so that the error
// handler can log it and offer retry or default; until one is installed it propagates as an
// exception whose message names the file and the problem.

#include <functional>
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
  // True once the error handler has seen it: whoever catches it further out must not report
  // it again.
  bool reported() const { return reported_; }
  void MarkReported() { reported_ = true; }

 private:
  ErrorObject error_;
  bool reported_ = false;
};

// The program's error handler, shown every error of an operation that offers a retry; true asks
// for the operation to run again (honoured only when the error allows a retry).
using ErrorHandlerFunction = std::function<bool(const ErrorObject&)>;
// Installs `handler` (an empty function removes it: errors then simply propagate).
void SetErrorHandler(ErrorHandlerFunction handler);

// Shows `error` to the installed handler once; true when the failed operation is to run again.
// Otherwise the error is marked reported and the caller lets it propagate.
bool OfferToHandler(DataError& error);

// Runs `operation` again for as long as an error it raises is answered with a retry.
template <typename Operation>
auto RunOfferingRetry(Operation&& operation) -> decltype(operation()) {
  for (;;) {
    try {
      return operation();
    } catch (DataError& e) {
      if (!OfferToHandler(e)) throw;
    }
  }
}

// The error object for an engine failure during `operation` on a table of driver `subsystem`.
DataError FromEngineError(const xbase::Error& e, const std::string& subsystem,
                          const std::string& operation);

}  // namespace data

#include "lib/data/data_error.h"

#include <utility>

namespace data {
namespace {

std::string Message(const ErrorObject& e) {
  std::string text = e.SUBSYSTEM + "/" + std::to_string(e.SUBCODE) + " " + e.DESCRIPTION;
  if (!e.FILENAME.empty()) return text + ": " + e.FILENAME;
  if (!e.OPERATION.empty()) return text + ": " + e.OPERATION;
  return text;
}

struct KindCodes {
  int gencode;
  bool can_retry;
  bool can_default;
};

KindCodes CodesOf(xbase::ErrorKind kind) {
  using K = xbase::ErrorKind;
  switch (kind) {
    case K::kOpen:
    case K::kSharingViolation:
      return {EG_OPEN, true, true};
    case K::kCorrupt:
      return {EG_CORRUPTION, false, true};
    case K::kUnsupported:
      return {EG_UNSUPPORTED, false, true};
    case K::kReadOnly:
      return {EG_READONLY, false, true};
    case K::kNoSuchTag:
      return {EG_NOORDER, false, true};
    case K::kNoSuchField:
      return {EG_NOVAR, false, true};
    case K::kExpression:
      return {EG_DATATYPE, false, true};
    case K::kLock:
      return {EG_UNLOCKED, true, true};
    case K::kIo:
      return {EG_WRITE, true, true};
    case K::kArgument:
      return {EG_ARG, false, true};
  }
  return {EG_ARG, false, true};
}

ErrorHandlerFunction& InstalledHandler() {
  static ErrorHandlerFunction handler;
  return handler;
}

}  // namespace

void SetErrorHandler(ErrorHandlerFunction handler) { InstalledHandler() = std::move(handler); }

bool OfferToHandler(DataError& error) {
  if (error.reported() || !InstalledHandler()) return false;
  ErrorHandlerFunction handler = InstalledHandler();  // may be replaced while it runs
  if (handler(error.error()) && error.error().CANRETRY) return true;
  error.MarkReported();
  return false;
}

DataError::DataError(ErrorObject error)
    : std::runtime_error(Message(error)), error_(std::move(error)) {}

DataError FromEngineError(const xbase::Error& e, const std::string& subsystem,
                          const std::string& operation) {
  KindCodes codes = CodesOf(e.kind());
  ErrorObject error;
  error.GENCODE = codes.gencode;
  error.SUBCODE = 1000 + codes.gencode;
  error.OSCODE =
      e.kind() == xbase::ErrorKind::kSharingViolation ? kSharingViolationOsCode : e.os_code();
  error.SUBSYSTEM = subsystem;
  error.DESCRIPTION = e.what();
  error.OPERATION = operation;
  error.FILENAME = e.path();
  error.CANRETRY = codes.can_retry;
  error.CANDEFAULT = codes.can_default;
  return DataError(std::move(error));
}

}  // namespace data

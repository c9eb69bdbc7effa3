#include "frame/errors/errorsys.h"

#include "frame/errors/error_handler.h"
#include "platform/win/call_chain.h"

namespace frame {
namespace {

bool AlreadyReported(const std::exception_ptr& error) {
  try {
    std::rethrow_exception(error);
  } catch (const data::DataError& e) {
    return e.reported();
  } catch (...) {
    return false;
  }
}

// Raised where the failed operation can be run again.
bool OnDataError(const data::ErrorObject& error) {
  win::CallScope scope("ERRORSYS");
  return HandleError(error, win::ActiveCalls()) == Answer::kRetry;
}

// Escaped from a message handler: the handler's work is over, so there is nothing to retry.
win::LRESULT OnHandlerException(std::exception_ptr error,
                                const std::vector<win::CallFrame>& calls) {
  if (AlreadyReported(error)) return 0;
  data::ErrorObject object = ErrorObjectOf(error, calls.empty() ? "" : calls.front().name);
  object.CANRETRY = false;
  std::vector<win::CallFrame> chain = calls;
  {
    win::CallScope scope("ERRORSYS");
    chain.insert(chain.begin(), win::ActiveCalls().front());
    HandleError(object, chain);
  }
  return 0;
}

}  // namespace

void ERRORSYS() {
  data::SetErrorHandler(&OnDataError);
  win::SetHandlerErrorCallback(&OnHandlerException);
}

}  // namespace frame

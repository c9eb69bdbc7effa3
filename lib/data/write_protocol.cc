#include "lib/data/write_protocol.h"

#include <string>

#include "lib/data/alert.h"
#include "lib/data/data_error.h"
#include "lib/data/retry.h"
#include "lib/data/text_search.h"
#include "lib/data/work_areas.h"
#include "platform/xbase/error.h"
#include "platform/xbase/number_format.h"

namespace data {
namespace {

void ShowLockAlert() {
  WorkArea& area = SelectedWorkArea();
  std::string text = "El dato se encuentra bloqueado: " + area.alias;
  if (area.engine == "ADSCDX") {
    text += "/" + xbase::FormatNumber(area.cursor->RecNo(), 10, 0);
  }
  ShowAlert(text, "Alerta");
}

// Runs `step` on the cursor of `area` after selecting it; engine failures become DataError,
// offered to the error handler, which may have the step run again.
template <typename Step>
bool OnArea(int area, const char* operation, Step&& step) {
  return RunOfferingRetry([&] {
    SelectArea(area);
    WorkArea& work_area = SelectedWorkArea();
    try {
      return step(*work_area.cursor);
    } catch (const xbase::Error& e) {
      throw FromEngineError(e, work_area.driver, operation);
    }
  });
}

// The engine reports a failed write as an error, never as a refusal to be retried, so a release
// is one step.
void Release(const char* operation) {
  const int area = SelectedArea();
  TextSearchHook(area, TextSearchMode::kAfterChange);
  OnArea(area, operation, [](xbase::Cursor& c) {
    c.Unlock();
    return true;
  });
}

}  // namespace

void ADD_NEW_REC() {
  const int area = SelectedArea();
  RetryUntilDone(
      [&] {
        return OnArea(area, "ADD_NEW_REC", [](xbase::Cursor& c) {
          bool appended = c.Append();
          SetNetErr(!appended);
          return appended;
        });
      },
      ShowLockAlert, AlertTiming::kAfterWait);
}

void LOCK_FOR_MODIFY() {
  const int area = SelectedArea();
  const uint32_t recno = SelectedCursor().RecNo();
  TextSearchHook(area, TextSearchMode::kBeforeChange);
  RetryUntilDone(
      [&] {
        return OnArea(area, "LOCK_FOR_MODIFY", [&](xbase::Cursor& c) {
          c.GoTo(recno);
          return c.RLock();
        });
      },
      ShowLockAlert, AlertTiming::kBeforeWait);
}

void UNLOCK_FOR_MODIFY() { Release("UNLOCK_FOR_MODIFY"); }

void UNLOCK_NEW_REC() { Release("UNLOCK_NEW_REC"); }

}  // namespace data

#include "frame/startup.h"

#include <exception>
#include <memory>
#include <string>

#include "frame/database_engine.h"
#include "frame/errors/errorsys.h"
#include "frame/principal.h"
#include "frame/pump.h"
#include "lib/data/text_search.h"
#include "lib/data/work_areas.h"
#include "lib/data/wtable.h"
#include "lib/settings/settings.h"
#include "lib/ui/run_loop.h"
#include "lib/ui/texts.h"
#include "platform/dbserver/client.h"
#include "platform/os/files.h"
#include "platform/progdir/program_dir.h"
#include "platform/win/log.h"
#include "platform/win/message.h"
#include "platform/win/window.h"

namespace frame {
namespace {

constexpr int kFadeSteps = 26;
constexpr int kFadeAlphaStep = 10;
constexpr int kExitStartFailed = 1;
constexpr int kExitRuntimeError = 2;

std::string ProgramPath() { return progdir::ProgramDirectory() + "/"; }

void OpenKeepAliveTable() {
  settings::Settings& globals = settings::Current();
  if (os::FindFile(globals.PATH + "BASES", "DUMMYADS.DBF")) {
    globals.XDUMMYADSTABLE = data::USE({}, "DUMMYADS");
  }
}

void FadeIn(win::Hwnd frame) {
  for (int step = 0; step < kFadeSteps; ++step) {
    ui::SETTRANSPARENCY(frame, step * kFadeAlphaStep);
    XWAITMILLISEC(1);
  }
  ui::REMOVETRANSPARENCY(frame);
}

// Whatever way the loop ended: the frame and its windows go (closing their tables), then every
// table still open.
void CloseEverything(PRINCIPAL* frame) {
  if (frame && win::IsWindow(frame->hwnd)) win::DestroyWindow(frame->hwnd);
  settings::Current().XDUMMYADSTABLE.reset();
  data::CloseTextSearch();
  data::CloseAllAreas();
}

int Run(std::unique_ptr<PRINCIPAL>& frame) {
  settings::Settings& globals = settings::Current();
  globals.PATH = ProgramPath();
  if (ChooseDatabaseEngine() == EngineChoice::kServerNotFound) return kExitStartFailed;
  globals.XREMOTE_SESSION = win::GetSystemMetrics(win::kRemoteSessionMetric);
  globals.PATH = ProgramPath();
  OpenKeepAliveTable();
  globals.XLOGOFILE = "HOTELOGO.BMP";

  frame = std::make_unique<PRINCIPAL>();
  if (!frame->Init("TARVISEN32", "TARVISEN32")) {
    ui::MESSAGE_BOX(ui::LibraryText(111));
    return kExitStartFailed;
  }
  // Nobody watches a headless run fade in.
  const bool fade =
      globals.XDOTRANSPARENCY == 1 && globals.XREMOTE_SESSION == 0 && !win::IsHeadless();
  if (fade) ui::SETTRANSPARENCY(frame->hwnd, 0);
  frame->Show(win::SW_SHOWMAXIMIZED);
  if (fade) FadeIn(frame->hwnd);
  frame->LUSENOEDITCOLOR = true;
  frame->NETWORKREFRESH = false;
  frame->SET_CUTTEXTMODE = true;
  return frame->EXEC22();
}

}  // namespace

int MAIN() {
  settings::Reset();
  dbserver::ResetClient();
  ERRORSYS();
  std::unique_ptr<PRINCIPAL> frame;
  int exit_code;
  try {
    exit_code = Run(frame);
  } catch (const std::exception& e) {
    // An error no handler answered: say what it was and end with every table closed.
    win::Log(std::string("Error: ") + e.what());
    ui::MESSAGE_BOX(e.what(), "Error");
    exit_code = kExitRuntimeError;
  }
  try {
    CloseEverything(frame.get());
  } catch (const std::exception& e) {
    win::Log(std::string("Error while closing the tables: ") + e.what());
    exit_code = kExitRuntimeError;
  }
  return exit_code;
}

void RequestStop() {
  win::Hwnd frame = settings::Current().XAPPHANDLE;
  if (frame && win::IsWindow(frame)) {
    win::PostMessage(frame, kMsgStopRequested, 0, 0);
  } else {
    win::PostQuitMessage(0);
  }
}

}  // namespace frame

// The quit-request check: a file BLOQUEAD.! beside the program asks the users to leave; this
// frame warns, and ends the program after the grace period unless the user may stay.
#include "frame/module_identity.h"
#include "frame/principal.h"
#include "frame/pump.h"
#include "frame/quit_request.h"
#include "lib/data/date_time.h"
#include "lib/settings/settings.h"
#include "lib/ui/messages.h"
#include "platform/clock/clock.h"
#include "platform/os/files.h"

namespace frame {
namespace {

constexpr int kFirstAlarmLine = 101;

}  // namespace

ui::WDIAG* PRINCIPAL::OpenAlarm() {
  std::erase_if(alarms_, [](const std::shared_ptr<ui::WDIAG>& alarm) {
    return !ui::ISWINDOW(alarm->WindowHandle());
  });
  auto alarm = std::make_shared<ui::WDIAG>();
  if (!alarm->Init(this, "ALARM")) return nullptr;
  alarms_.push_back(std::move(alarm));
  return alarms_.back().get();
}

void PRINCIPAL::SetAlarmLines(ui::WDIAG& alarm, const std::vector<std::string>& lines) {
  for (size_t i = 0; i < lines.size(); ++i) {
    ui::SETWINDOWTEXT(ui::GETDLGITEM(alarm.WindowHandle(), kFirstAlarmLine + static_cast<int>(i)),
                      lines[i]);
    MULTITASK();
  }
}

void PRINCIPAL::CHECK_QUIT() {
  settings::Settings& globals = settings::Current();
  if (globals.IN_CH_STRUC == 1 || POR_SALIR != 0 || ID_MODULO == "GETUP") return;
  std::optional<std::string> file = os::FindFile(globals.PATH, kQuitRequestFile);
  if (!file) return;
  std::optional<std::string> bytes = os::ReadPrefix(*file, kQuitRequestBytes);
  if (!bytes) return;  // there, but not readable yet: the next tick looks again
  const ModuleIdentity* identity = FindModuleIdentity(ID_MODULO);
  QuitRequest request = ReadQuitRequest(*bytes, identity ? identity->quit_group : 0);
  if (request.applies_to_everyone) globals.XNO_SALIR = globals.XSUPERACCESS = 0;
  if (!request.module_must_leave) return;

  ui::WDIAG* alarm = OpenAlarm();
  if (globals.XNO_SALIR == 0 && globals.XSUPERACCESS == 0) {
    POR_SALIR = 1;
    ui::SETTIMER(hwnd, kForcedQuitTimer, kForcedQuitIntervalMs);
    TIME_SALIR = zvclock::TickCount();
    if (alarm) {
      SetAlarmLines(*alarm,
                    {"Debe salir del sistema en m\xE1ximo 5 minutos!",
                     "Pasados los 5 minutos, el sistema autom\xE1ticamente", "se cerrar\xE1."});
    }
  } else if (std::holds_alternative<std::monostate>(TIME_SALIR)) {
    TIME_SALIR = data::XTIME();
    if (alarm) {
      SetAlarmLines(*alarm, {"Se ha solicitado a todos los usuarios", "salir del Sistema.",
                             "En _su_ calidad de Supervisor, Ud. NO ser\xE1 obligado"});
    }
  }
}

void PRINCIPAL::CheckForcedQuit() {
  const settings::Settings& globals = settings::Current();
  if (globals.IN_CH_STRUC == 1) {
    ui::KILLTIMER(hwnd, kForcedQuitTimer);
    return;
  }
  const auto* announced = std::get_if<uint32_t>(&TIME_SALIR);
  if (!announced || globals.XSUPERACCESS == 1) return;
  // Unsigned difference: right across the tick count's wrap.
  if (MinutesLeft(zvclock::TickCount() - *announced) <= 0) EXIT_LOGIN();
}

}  // namespace frame

#include "frame/database_engine.h"

#include <cstdio>
#include <optional>
#include <string>

#include "frame/ads_def.h"
#include "lib/data/database_server.h"
#include "lib/data/date_time.h"
#include "lib/settings/settings.h"
#include "lib/ui/run_loop.h"
#include "platform/dbserver/client.h"
#include "platform/os/files.h"
#include "platform/win/message_box.h"

namespace frame {
namespace {

constexpr int kAnsiCharType = 1;
constexpr int kOemCharType = 2;
constexpr int kCdxFileType = 2;
constexpr int kAllServerTypes = 7;  // local, remote and internet server
constexpr int kCachedOpenTables = 150;

// The data layer's view of the server: its clock, and the read-ahead of tables opened through it.
class ServerConnection : public data::DatabaseServer {
 public:
  std::optional<data::ServerDateTime> CurrentDateTime() override {
    zvclock::LocalDateTime now = dbserver::ServerNow();
    data::Date date = data::Date::FromCivil(now.year, now.month, now.day);
    if (date.IsEmpty()) return std::nullopt;
    return data::ServerDateTime{data::DateToText(date),
                                ((now.hour * 60LL + now.minute) * 60 + now.second) * 1000};
  }
  void SetCacheRecords(int area, int records) override { dbserver::ADSCACHERECORDS(area, records); }
};

std::string RightAligned10(int number) {
  char text[16];
  std::snprintf(text, sizeof text, "%10d", number);
  return text;
}

EngineChoice ConnectServer(const std::vector<std::string>& params) {
  settings::Settings& globals = settings::Current();
  dbserver::ADSSETFILETYPE(kCdxFileType);
  dbserver::RDDREGISTER("ADS", 1);
  dbserver::ADSRIGHTSCHECK(0);
  dbserver::ADSSETCHARTYPE(kAnsiCharType, true);
  dbserver::ADSSETCHARTYPE(kOemCharType, true);
  SET_ADS_PARAMS(params);
  const std::string& data_path = params[0];
  if (dbserver::ADSISSERVERLOADED(data_path) == 0) {
    ui::MESSAGE_BOX("Servidor Advantage Database Server no localizable\rError: " +
                        RightAligned10(dbserver::ADSGETLASTERROR()),
                    "", win::MB_OK);
    return EngineChoice::kServerNotFound;
  }
  globals.XADS_MYCONNECTION = dbserver::ADSCONNECT60("", kAllServerTypes, "ADSSYS", "");
  if (!*globals.XADS_MYCONNECTION) {
    ui::MESSAGE_BOX("No se pudo establecer ADSCONNECT60", "Atenci\xF3n", win::MB_ICONHAND);
  }
  dbserver::ADSMGCONNECT(data_path);
  dbserver::ADSMGGETINSTALLINFO();
  dbserver::ADSMGDISCONNECT();
  dbserver::RDDSETDEFAULT("ADS");
  globals.DEF_RDD = "ADSCDX";
  dbserver::ADSRIGHTSCHECK(0);
  dbserver::ADSCACHEOPENTABLES(kCachedOpenTables);
  globals.XADSDIRECTORY = data_path;
  static ServerConnection connection;
  data::SetDatabaseServer(&connection);
  return EngineChoice::kServer;
}

}  // namespace

EngineChoice ChooseDatabaseEngine() {
  settings::Settings& globals = settings::Current();
  globals.XADSPARAMS = std::vector<std::string>(kAdsParamSlots);
  std::optional<std::string> ads_def = os::FindFile(globals.PATH, "ADS.DEF");
  if (!ads_def) {
    globals.DEF_RDD = "DBFCDX";
    data::SetDatabaseServer(nullptr);
    return EngineChoice::kLocalTables;
  }
  globals.XADSPARAMS = GET_A_ADS(*ads_def);
  return ConnectServer(globals.XADSPARAMS);
}

}  // namespace frame

// Runs arbitrary bytes through request handling against the demo database, as the server does
// once a text holds the end of an envelope. Nothing may crash or hang; replies go nowhere and
// the pause after them runs on a fake clock.

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

#include "exchange/connection_side.h"
#include "exchange/exchange_context.h"
#include "exchange/process_request.h"
#include "lib/data/alert.h"
#include "lib/data/schema/layout.h"
#include "lib/settings/settings.h"
#include "platform/clock/clock.h"
#include "platform/xbase/julian_date.h"
#include "tools/xbtool/demo_writer.h"

namespace {

class SilentSide : public ConnectionSide {
 public:
  void ACT_TIME(int) override {}
  void SEND(int, const std::string&) override {}
  void ADD3_TEXTO(int, const std::string&) override {}
  void CloseConnection(int) override {}
};

// The log grows by two records per input; it is started afresh now and then.
constexpr int kRunsPerLog = 2000;

class Exchange {
 public:
  Exchange() {
    folder_ =
        std::filesystem::temp_directory_path() / ("zv_fuzz_request_" + std::to_string(::getpid()));
    std::filesystem::remove_all(folder_);
    std::filesystem::create_directories(folder_ / "BASES");
    settings::Current().DEF_RDD = "DBFCDX";
    settings::Current().PATH = folder_.string() + "/";
    data::SetAlertFunction([](const std::string&, const std::string&) { std::abort(); });
    xbtool::CreateDemoDatabase((folder_ / "BASES").string(), xbase::JulianDay(2024, 3, 6));
    tables_.Open();
  }

  void Run(const std::string& text) {
    if (++runs_ % kRunsPerLog == 0) StartNewLog();
    PROCESSREQUEST(context_, 1, text);
  }

 private:
  void StartNewLog() {
    tables_.Close();
    for (const char* extension : {".DBF", ".CDX", ".FPT"}) {
      std::filesystem::remove(folder_ / "BASES" / (std::string("LOG_XML") + extension));
    }
    schema::CreateFromLayout((folder_ / "BASES").string(), *schema::FindLayout("LOG_XML"));
    tables_.Open();
  }

  zvclock::FakeClock clock_;
  std::filesystem::path folder_;
  ExchangeTables tables_;
  SilentSide side_;
  ExchangeContext context_{side_, tables_};
  int runs_ = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static Exchange exchange;
  exchange.Run(std::string(reinterpret_cast<const char*>(data), size));
  return 0;
}

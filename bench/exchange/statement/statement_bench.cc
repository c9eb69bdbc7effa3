// GETSTATEMENT from the complete request text to the reply bytes (the pause after the reply left
// out), for a stay whose folio holds 500 lines, on the demo database with many other folio lines
// around it (ZV_BENCH_OTHER_LINES, 200,000 unless set). Also IMP_CTA alone.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "exchange/connection_side.h"
#include "exchange/exchange_context.h"
#include "exchange/imp_cta.h"
#include "exchange/process_request.h"
#include "lib/data/work_areas.h"
#include "lib/settings/settings.h"
#include "platform/clock/clock.h"
#include "platform/xbase/julian_date.h"
#include "tests/exchange/request_text.h"
#include "tests/support/temp_dir.h"
#include "tools/xbtool/demo_writer.h"

namespace {

using xbtool::Day;
using xbtool::Number;
using xbtool::Text;

constexpr char kBusiness[] = "HTL01";
constexpr int kStatementLines = 500;

class QuietSide : public ConnectionSide {
 public:
  void ACT_TIME(int) override {}
  void SEND(int, const std::string& text) override { sent = text; }
  void ADD3_TEXTO(int, const std::string&) override {}
  void PauseAfterReply(int) override {}
  void CloseConnection(int) override {}
  std::string sent;
};

std::string Padded(int n, int width) {
  char text[32];
  std::snprintf(text, sizeof text, "%0*d", width, n);
  return text;
}

std::string Base36(int n) {
  const char* digits = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
  std::string text(4, '0');
  for (int i = 3; i >= 0; --i, n /= 36) text[i] = digits[n % 36];
  return text;
}

// A folio line: every fourth line opens a group of four, the others stand alone.
void AddLine(xbtool::DemoWriter& out, const std::string& folio, const std::string& room, int n,
             int64_t day) {
  const bool grouped = n % 8 < 4;
  out.Add("DET_FOL", {{"NEGOCIO", Text(kBusiness)},
                      {"NUMERO", Text(folio)},
                      {"ROOM", Text(room)},
                      {"HAB_ORIGEN", Text(room)},
                      {"FECHA_O", Day(day)},
                      {"CIERRE_DIA", Day(day)},
                      {"COD_TRANS", Text(n % 2 ? "IV" : "HB")},
                      {"COD_TRAN", Text("HB")},
                      {"COD_RACK", Text("BAR")},
                      {"GRUPO", Text(grouped ? Padded(1 + n / 8, 4) : "")},
                      {"CONSECUT", Text(Base36(n + 1))},
                      {"DOCUMEN", Text("F-" + std::to_string(n))},
                      {"COMENTA", Text("Cargo n\xFAmero " + std::to_string(n))},
                      {"PAGO", Number(0)},
                      {"VOID", Number(n % 50 == 7)},
                      {"ANULA", Number(0)},
                      {"T_CAMBIO", Number(1)},
                      {"DEBITO", Number(1234.5 + n)},
                      {"CREDITO", Number(0)}});
}

long OtherLines() {
  const char* setting = std::getenv("ZV_BENCH_OTHER_LINES");
  return setting ? std::atol(setting) : 200000;
}

// The demo database with a stay in room 310 whose one folio holds 500 lines, and other folios'
// lines before and after it.
class StatementDatabase {
 public:
  StatementDatabase() {
    settings::Reset();
    settings::Current().DEF_RDD = "DBFCDX";
    settings::Current().PATH = dir_.path().string() + "/";
    const std::string bases = dir_.File("BASES");
    std::filesystem::create_directories(bases);
    const int64_t today = xbase::JulianDay(2024, 3, 6);
    xbtool::CreateDemoDatabase(bases, today);
    xbtool::DemoWriter out(bases);
    out.Add("DET_RES2", {{"NEGOCIO", Text(kBusiness)},
                         {"COD_RES", Text("R09001")},
                         {"COD_HAB", Text("H001")},
                         {"CODIGO", Text("001")},
                         {"COD_ROOMS", Text("310")},
                         {"NOMBRE_C", Text("Ana P\xE9rez")},
                         {"ESTADO", Number(1)}});
    out.Add("ENC_FOL", {{"NEGOCIO", Text(kBusiness)},
                        {"NUMERO", Text("500000")},
                        {"COD_RES", Text("R09001")},
                        {"ROOM", Text("310")},
                        {"COD_HAB", Text("H001")},
                        {"CODIGO", Text("001")},
                        {"CTA_MAES", Number(0)}});
    const long others = OtherLines();
    for (long n = 0; n < others; ++n) {
      // Odd folio numbers on both sides of the statement's one, which is even.
      AddLine(out, std::to_string(400001 + 2 * (n / 10)), "210", n % 10, today);
    }
    for (int n = 0; n < kStatementLines; ++n) AddLine(out, "500000", "310", n, today - n % 5);
    out.Close();
    tables_.Open();
  }
  ~StatementDatabase() { tables_.Close(); }

  std::string Process(const std::string& text) {
    PROCESSREQUEST(context_, 1, text);
    return std::move(side_.sent);
  }

 private:
  zvclock::FakeClock clock_{0, {2024, 3, 6, 10, 30, 15}};
  testing_support::TempDir dir_;
  ExchangeTables tables_;
  QuietSide side_;
  ExchangeContext context_{side_, tables_};
};

StatementDatabase& Database() {
  static StatementDatabase database;
  return database;
}

void BM_GetStatementRequest(benchmark::State& state) {
  StatementDatabase& database = Database();
  const std::string request =
      testing_support::Envelope(testing_support::Login("ZIRUVUZ", "ZV-2024") +
                                "<ACTIONS><Action>GETSTATEMENT</Action><Room>310</Room></ACTIONS>");
  size_t bytes = 0;
  for (auto _ : state) bytes = database.Process(request).size();
  state.counters["reply_bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_GetStatementRequest)->Unit(benchmark::kMicrosecond);

void BM_IMP_CTA(benchmark::State& state) {
  Database();
  const std::string business = std::string(kBusiness) + std::string(15 - 5, ' ');
  const std::string room = "310" + std::string(12, ' ');
  for (auto _ : state) benchmark::DoNotOptimize(IMP_CTA(business, room, "01"));
}
BENCHMARK(BM_IMP_CTA)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();

#include "bench/exchange/support/enlarged_database.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "lib/data/consecutive.h"
#include "platform/xbase/julian_date.h"
#include "tools/xbtool/demo_writer.h"

namespace bench_support {
namespace {

using xbtool::Day;
using xbtool::DemoWriter;
using xbtool::Number;
using xbtool::Text;

// Written last: a folder without it is a build that did not finish.
constexpr char kCompleteMark[] = "COMPLETE";
// Part of the folder name, so that a change of the contents never reuses an older build.
constexpr char kVersion[] = "enlarged-v2";

constexpr char kStatementBusiness[] = "HTL01";
constexpr char kStatementFolio[] = "500000";
constexpr char kStatementReservation[] = "R90001";

std::string Padded(long n, int width) {
  char text[32];
  std::snprintf(text, sizeof text, "%0*ld", width, n);
  return text;
}

struct Folio {
  std::string business;
  std::string number;
  std::string room;
};

// Line `n` of a folio: of every eight lines the first four make one group (a night's room charge
// with its taxes), the others stand alone; every fiftieth is voided. Returns its record number.
uint32_t AddFolioLine(DemoWriter& out, const Folio& folio, long n, int64_t day) {
  const bool grouped = n % 8 < 4;
  const bool charge = n % 4 == 0;
  return out.Add("DET_FOL", {{"NEGOCIO", Text(folio.business)},
                             {"NUMERO", Text(folio.number)},
                             {"ROOM", Text(folio.room)},
                             {"HAB_ORIGEN", Text(folio.room)},
                             {"FECHA", Day(day)},
                             {"HORA", Text("23:05:00")},
                             {"FECHA_O", Day(day)},
                             {"CIERRE_DIA", Day(day)},
                             {"COD_TRANS", Text(charge ? "HB" : (n % 2 ? "IV" : "SS"))},
                             {"COD_TRAN", Text("HB")},
                             {"COD_RACK", Text("BAR")},
                             {"GRUPO", Text(grouped ? Padded(1 + n / 8, 4) : "")},
                             {"CONSECUT", Text(data::GET_STRING_CONSECUT(std::to_string(n + 1)))},
                             {"DOCUMEN", Text("F-" + std::to_string(n))},
                             {"COMENTA", Text("Cargo n\xFAmero " + std::to_string(n))},
                             {"PAGO", Number(0)},
                             {"VOID", Number(n % 50 == 7)},
                             {"ANULA", Number(0)},
                             {"SI_IMP", Number(charge ? 0 : 1)},
                             {"MONEDA", Text("01")},
                             {"T_CAMBIO", Number(1)},
                             {"DEBITO", Number(charge ? 85000 : 11050 + n)},
                             {"CREDITO", Number(0)},
                             {"USUARIO", Text("REC")}});
}

void AddStay(DemoWriter& out, const Folio& folio, const std::string& reservation, long guest,
             int64_t arrival, int64_t departure, int state) {
  out.Add("ENC_RES", {{"NEGOCIO", Text(folio.business)},
                      {"CODIGO", Text(reservation)},
                      {"COD_RACK", Text("BAR")}});
  out.Add("DET_RES2", {{"NEGOCIO", Text(folio.business)},
                       {"COD_RES", Text(reservation)},
                       {"COD_HAB", Text("H001")},
                       {"CODIGO", Text("001")},
                       {"COD_ROOMS", Text(folio.room)},
                       {"NOMBRE", Text("Huesped")},
                       {"APELLIDO1", Text("Numero " + std::to_string(guest))},
                       {"NOMBRE_C", Text("Huesped Numero " + std::to_string(guest))},
                       {"EMAIL", Text("h" + std::to_string(guest) + "@correo.example")},
                       {"N_ADULT", Number(2)},
                       {"N_NINHO", Number(guest % 3)},
                       {"F_INICIO", Day(arrival)},
                       {"F_FINAL", Day(departure)},
                       {"ESTADO", Number(state)}});
  out.Add("ENC_FOL", {{"NEGOCIO", Text(folio.business)},
                      {"NUMERO", Text(folio.number)},
                      {"COD_RES", Text(reservation)},
                      {"ROOM", Text(folio.room)},
                      {"COD_HAB", Text("H001")},
                      {"CODIGO", Text("001")},
                      {"CTA_MAES", Number(0)},
                      {"PRINCIPAL", Number(1)},
                      {"CONSECUT", Text("0001")},
                      {"GRUPO", Text("0001")},
                      {"BLOQUEADO", Number(0)},
                      {"FACTURA_E", Number(0)}});
}

// Departed guests of both properties in the demo's rooms, each with a folio of about ten lines,
// and the statement stay's lines spread among theirs (as a long stay collects them).
void AddHistory(DemoWriter& out, int64_t today) {
  const Folio statement{kStatementBusiness, kStatementFolio, kStatementRoom};
  AddStay(out, statement, kStatementReservation, 0, today - 120, today + 3, 1);
  long statement_lines = 0;
  auto add_statement_line = [&] {
    AddFolioLine(out, statement, statement_lines, today - statement_lines % 120);
    ++statement_lines;
  };
  for (long guest = 1; out.Count("DET_RES2") < kEnlargedStays; ++guest) {
    const bool second_property = guest % 10 == 0;
    const long room = guest % 45;
    const Folio folio{second_property ? "HTL02" : "HTL01", std::to_string(200000 + guest),
                      second_property ? "C" + Padded(1 + room % 15, 2)
                                      : std::to_string(100 * (1 + room / 15) + 1 + room % 15)};
    const int64_t departure = today - 1 - guest % 1500;
    AddStay(out, folio, "H" + Padded(guest, 6), guest, departure - 1 - guest % 7, departure, 2);
    // The lines still to come, shared out evenly among the stays still to come.
    const long stays_left = kEnlargedStays - static_cast<long>(out.Count("DET_RES2"));
    const long lines_left = kEnlargedFolioLines - static_cast<long>(out.Count("DET_FOL")) -
                            (kStatementFolioLines - statement_lines);
    const long lines = lines_left / (stays_left + 1);
    for (long n = 0; n < lines; ++n) AddFolioLine(out, folio, n, departure - 1);
    // A posting writes its lines together: four at a time.
    for (int n = 0; n < 4 && guest % 796 == 0 && statement_lines < kStatementFolioLines; ++n) {
      add_statement_line();
    }
  }
  while (statement_lines < kStatementFolioLines) add_statement_line();
}

}  // namespace

std::string DefaultCacheFolder() {
  if (const char* folder = std::getenv("ZV_BENCH_DATA")) return folder;
  return ZV_BENCH_DATA_DIR;
}

std::string EnlargedDatabase(const std::string& cache_folder) {
  const std::filesystem::path home = std::filesystem::path(cache_folder) / kVersion;
  const std::filesystem::path bases = home / "BASES";
  if (std::filesystem::exists(home / kCompleteMark)) return bases.string();

  std::filesystem::remove_all(home);
  std::filesystem::create_directories(home);
  const auto start = std::chrono::steady_clock::now();
  const int64_t today = xbase::JulianDay(kBusinessYear, kBusinessMonth, kBusinessDay);
  xbtool::CreateDemoDatabase(bases.string(), today,
                             [today](DemoWriter& out) { AddHistory(out, today); });
  const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
  std::ofstream(home / kCompleteMark) << "built in " << took.count() << " s\n";
  std::fprintf(stderr, "enlarged database built in %s in %.1f s\n", bases.c_str(), took.count());
  return bases.string();
}

}  // namespace bench_support

// Request handling from the complete request text to the reply bytes (the pause after the reply
// left out), on the enlarged demo database: GETINFO, ROOM SERVICE with ten items (every iteration
// a real posting, so the folio grows) and GETSTATEMENT of a 500-line folio; IMP_CTA alone too.

#include <benchmark/benchmark.h>

#include <string>

#include "bench/exchange/support/bench_program.h"
#include "bench/exchange/support/enlarged_database.h"
#include "exchange/imp_cta.h"
#include "tests/exchange/request_text.h"

namespace {

using bench_support::Program;

std::string Request(const std::string& actions) {
  return testing_support::Envelope(testing_support::Login("ZIRUVUZ", "ZV-2024") + "<ACTIONS>" +
                                   actions + "</ACTIONS>");
}

// Runs `request` once per iteration; stops with an error when the reply is not `expected`.
void RunRequest(benchmark::State& state, const std::string& request, const std::string& expected) {
  bench_support::BenchProgram& program = Program();
  const std::string first = program.Process(request);
  if (first.find(expected) == std::string::npos) {
    state.SkipWithError(("unexpected reply: " + first).c_str());
    return;
  }
  for (auto _ : state) benchmark::DoNotOptimize(program.Process(request));
  state.counters["reply_bytes"] = static_cast<double>(first.size());
}

void BM_GetInfo(benchmark::State& state) {
  RunRequest(state,
             Request("<Action>GETINFO</Action><Room>101</Room><FirstName>Jos\xE9</FirstName>"
                     "<LastName>Mu\xF1oz</LastName>"),
             "<RatePlan>");
}
BENCHMARK(BM_GetInfo)->Unit(benchmark::kMicrosecond);

void BM_RoomService10Items(benchmark::State& state) {
  std::string items;
  for (int i = 0; i < 10; ++i) {
    items += "<ITEM><Code>A" + std::to_string(i) +
             "</Code><Descrip>Art\xED"
             "culo " +
             std::to_string(i) +
             "</Descrip><Quantity>2</Quantity><Price>1,250.00</Price><Tax1>13</Tax1>"
             "<Tax2>10</Tax2><Tax3>0</Tax3><Notes>sin az\xFA"
             "car</Notes></ITEM>";
  }
  RunRequest(state,
             Request("<Action>ROOM SERVICE</Action><Room>101</Room>"
                     "<Ordernumber>RS-2024-0042</Ordernumber>" +
                     items),
             "<MESSAGE>Success</MESSAGE>");
}
BENCHMARK(BM_RoomService10Items)->Unit(benchmark::kMicrosecond);

void BM_GetStatement500Lines(benchmark::State& state) {
  RunRequest(state,
             Request("<Action>GETSTATEMENT</Action><Room>" +
                     std::string(bench_support::kStatementRoom) + "</Room>"),
             "<ROOM_INFORMATION");
}
BENCHMARK(BM_GetStatement500Lines)->Unit(benchmark::kMicrosecond);

void BM_IMP_CTA(benchmark::State& state) {
  const std::string& business = Program().business();
  std::string room = bench_support::kStatementRoom;
  room.resize(15, ' ');
  for (auto _ : state) benchmark::DoNotOptimize(IMP_CTA(business, room, "01"));
}
BENCHMARK(BM_IMP_CTA)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();

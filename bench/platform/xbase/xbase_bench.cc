// Storage engine figures on a DET_FOL-like table of 200,000 records with three tags:
// shared prefix seeks, shared appends, ordered skips shared and exclusive.
// Run: build/bench/xbase_bench [--benchmark_repetitions=5 --benchmark_report_aggregates_only=true]
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <random>
#include <string>

#include "platform/xbase/cursor.h"
#include "platform/xbase/julian_date.h"
#include "platform/xbase/table_maintenance.h"

namespace {

using xbase::Cursor;
using xbase::Value;

constexpr int kRecords = 200000;
constexpr int kFolios = 20000;  // ten lines per folio

std::string Folio(int n) {
  std::string s = std::to_string(100000 + n);
  s.resize(15, ' ');
  return s;
}

// Builds the table once per process, in a folder removed at exit.
const std::string& TablePath() {
  static const std::string path = [] {
    auto dir =
        std::filesystem::temp_directory_path() / ("xbase_bench_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    std::atexit([] {
      std::error_code ignored;
      std::filesystem::remove_all(
          std::filesystem::temp_directory_path() / ("xbase_bench_" + std::to_string(::getpid())),
          ignored);
    });
    std::string p = (dir / "DET_FOL.DBF").string();
    xbase::CreateTable(p,
                       {{"NEGOCIO", 'C', 15},
                        {"NUMERO", 'C', 15},
                        {"ROOM", 'C', 15},
                        {"FECHA", 'D', 8},
                        {"HORA", 'C', 8},
                        {"COD_TRANS", 'C', 6},
                        {"GRUPO", 'C', 4},
                        {"CONSECUT", 'C', 4},
                        {"COMENTA", 'C', 60},
                        {"DEBITO", 'N', 14, 2},
                        {"CREDITO", 'N', 14, 2}},
                       {{"DET_FOL", "NEGOCIO+NUMERO+CONSECUT", ""},
                        {"DET_FOL13", "NEGOCIO+NUMERO+GRUPO+CONSECUT", ""},
                        {"DET_FOL4", "DTOS(FECHA)+HORA", ""}});
    // Grown record by record, as a hotel's table is, so index pages are as full as use leaves
    // them (a freshly rebuilt index is packed tight and splits on every insert).
    {
      Cursor c(p, {xbase::ShareMode::kExclusive, false, true});
      std::mt19937 rng(42);
      for (int i = 0; i < kRecords; ++i) {
        c.Append();
        c.Put(0, Value::Character("HOTEL1"));
        c.Put(1, Value::Character(Folio(static_cast<int>(rng() % kFolios))));
        c.Put(2, Value::Character(std::to_string(100 + i % 300)));
        c.Put(3, Value::Date(xbase::JulianDay(2024, 1 + i % 12, 1 + i % 28)));
        c.Put(4, Value::Character("10:00:" + std::to_string(10 + i % 50)));
        c.Put(5, Value::Character("BAR020"));
        c.Put(6, Value::Character("000" + std::to_string(1 + i % 9)));
        c.Put(7, Value::Character(std::to_string(1000 + i % 9000)));
        c.Put(8, Value::Character("Cargo"));
        c.Put(9, Value::Numeric((i % 1000) * 1.25));
        c.Unlock();
      }
    }
    return p;
  }();
  return path;
}

void BM_SeekShared(benchmark::State& state) {
  Cursor c(TablePath());
  c.SetOrder("DET_FOL13");
  std::mt19937 rng(7);
  std::string key;
  for (auto _ : state) {
    key = "HOTEL1         " + Folio(static_cast<int>(rng() % kFolios));
    benchmark::DoNotOptimize(c.SeekBytes(key));
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_SeekShared);

// A posting as the program makes it: a line for an existing folio, dated today and timed now,
// so the date tag grows at its end and the folio tags take the line inside the folio's run.
void BM_AppendShared(benchmark::State& state) {
  Cursor c(TablePath());
  std::mt19937 rng(11);
  int i = 0;
  for (auto _ : state) {
    if (!c.Append()) state.SkipWithError("append lock not obtained");
    c.Put(0, Value::Character("HOTEL1"));
    c.Put(1, Value::Character(Folio(static_cast<int>(rng() % kFolios))));
    c.Put(3, Value::Date(xbase::JulianDay(2025, 1, 1)));
    c.Put(4, Value::Character(std::to_string(10000000 + i)));
    c.Put(6, Value::Character("0010"));
    c.Put(7, Value::Character("Z" + std::to_string(100 + i % 900)));
    c.Put(9, Value::Numeric(12.5));
    c.Unlock();
    ++i;
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_AppendShared);

// The worst case for the index: every line opens a new folio, so two tags grow at their end and
// each append rewrites the right-hand spine of both trees.
void BM_AppendSharedNewFolios(benchmark::State& state) {
  Cursor c(TablePath());
  int i = 0;
  for (auto _ : state) {
    if (!c.Append()) state.SkipWithError("append lock not obtained");
    c.Put(0, Value::Character("HOTEL1"));
    c.Put(1, Value::Character(Folio(kFolios + i)));
    c.Put(3, Value::Date(xbase::JulianDay(2024, 6, 1 + i % 28)));
    c.Put(4, Value::Character("12:00:00"));
    c.Put(7, Value::Character(std::to_string(1000 + i % 9000)));
    c.Put(9, Value::Numeric(12.5));
    c.Unlock();
    ++i;
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_AppendSharedNewFolios);

void FullSkip(benchmark::State& state, xbase::ShareMode mode) {
  Cursor c(TablePath(), {mode, true, true});
  c.SetOrder("DET_FOL");
  int64_t records = 0;
  for (auto _ : state) {
    for (c.GoTop(); !c.Eof(); c.Skip(1)) ++records;
  }
  state.SetItemsProcessed(records);
}

void BM_SkipShared(benchmark::State& state) { FullSkip(state, xbase::ShareMode::kShared); }
BENCHMARK(BM_SkipShared)->Unit(benchmark::kMillisecond);

void BM_SkipExclusive(benchmark::State& state) { FullSkip(state, xbase::ShareMode::kExclusive); }
BENCHMARK(BM_SkipExclusive)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();

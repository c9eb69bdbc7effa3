#pragma once
// A program directory for benchmarks of request handling: a working copy of the enlarged
// database (so postings and log records never reach the kept one), the exchange's tables open
// on it, the clock fixed on the database's business date, and requests handled as the server
// would, minus the pause after the reply.

#include <string>

#include "bench/exchange/support/bench_side.h"
#include "exchange/exchange_context.h"
#include "exchange/exchange_tables.h"
#include "platform/clock/clock.h"
#include "tests/support/temp_dir.h"

namespace bench_support {

class BenchProgram {
 public:
  BenchProgram();
  ~BenchProgram();
  BenchProgram(const BenchProgram&) = delete;
  BenchProgram& operator=(const BenchProgram&) = delete;

  // Handles one complete request text and returns the reply bytes; empty when there is none.
  std::string Process(const std::string& request);

  const std::string& business() const { return tables_.Negocio; }

 private:
  zvclock::FakeClock clock_;
  testing_support::TempDir dir_;
  ExchangeTables tables_;
  RecordingSide side_;
  ExchangeContext context_{side_, tables_};
};

// The one program directory of a benchmark run, made on first use.
BenchProgram& Program();

}  // namespace bench_support

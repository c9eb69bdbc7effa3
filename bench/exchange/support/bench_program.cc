#include "bench/exchange/support/bench_program.h"

#include <filesystem>
#include <utility>

#include "bench/exchange/support/enlarged_database.h"
#include "exchange/process_request.h"
#include "lib/settings/settings.h"

namespace bench_support {

BenchProgram::BenchProgram()
    : clock_(0, {kBusinessYear, kBusinessMonth, kBusinessDay, 10, 30, 15}) {
  const std::string kept = EnlargedDatabase(DefaultCacheFolder());
  std::filesystem::copy(kept, dir_.File("BASES"), std::filesystem::copy_options::recursive);
  settings::Reset();
  settings::Current().DEF_RDD = "DBFCDX";
  settings::Current().PATH = dir_.path().string() + "/";
  tables_.Open();
}

BenchProgram::~BenchProgram() { tables_.Close(); }

std::string BenchProgram::Process(const std::string& request) {
  side_.reply.clear();
  PROCESSREQUEST(context_, 1, request);
  return std::move(side_.reply);
}

BenchProgram& Program() {
  static BenchProgram program;
  return program;
}

}  // namespace bench_support

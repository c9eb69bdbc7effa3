// Evaluation cost of typical index key expressions (run on every append and update).

#include <benchmark/benchmark.h>

#include "platform/xbase/expression.h"
#include "platform/xbase/julian_date.h"
#include "platform/xbase/number_format.h"

namespace {

const xbase::Schema kSchema = {
    {"NEGOCIO", 'C', 15, 0, 1, 0}, {"NUMERO", 'C', 15, 0, 16, 0}, {"CONSECUT", 'C', 4, 0, 31, 0},
    {"MONEDA1", 'C', 2, 0, 35, 0}, {"FECHA", 'D', 8, 0, 37, 0},   {"CTA_MAES", 'N', 1, 0, 45, 0},
};

// Fields as a table cursor would hand them out: a fresh Value per call.
class Record : public xbase::RecordView {
 public:
  xbase::Value Field(int index) const override {
    switch (index) {
      case 0:
        return xbase::Value::Character("HOTEL1         ");
      case 1:
        return xbase::Value::Character("       00005001");
      case 2:
        return xbase::Value::Character("0001");
      case 3:
        return xbase::Value::Character("01");
      case 4:
        return xbase::Value::Date(2460380);
      default:
        return xbase::Value::Numeric(1);
    }
  }
  bool Deleted() const override { return false; }
  uint32_t RecNo() const override { return 1; }
};

void Evaluate(benchmark::State& state, const char* text) {
  const xbase::Expression e = xbase::Expression::Parse(text, kSchema, "DET_FOL");
  const Record record;
  for (auto _ : state) {
    xbase::Value v = e.Evaluate(record);
    benchmark::DoNotOptimize(v);
  }
}

BENCHMARK_CAPTURE(Evaluate, concat3, "NEGOCIO+NUMERO+CONSECUT");
BENCHMARK_CAPTURE(Evaluate, str_date_diff, "NEGOCIO+MONEDA1+STR(STOD(\"20900101\")-FECHA,14)");
BENCHMARK_CAPTURE(Evaluate, dtos, "NEGOCIO+MONEDA1+DTOS(FECHA)");
BENCHMARK_CAPTURE(Evaluate, str_field, "NEGOCIO+STR(CTA_MAES,1)+NUMERO");

void Parse(benchmark::State& state) {
  for (auto _ : state) {
    auto e = xbase::Expression::Parse("NEGOCIO+MONEDA1+STR(STOD(\"20900101\")-FECHA,14)", kSchema,
                                      "DET_FOL");
    benchmark::DoNotOptimize(e);
  }
}
BENCHMARK(Parse);

void FormatNumber(benchmark::State& state) {
  double x = 1234.5678;
  for (auto _ : state) {
    std::string s = xbase::FormatNumber(x, 14, 2);
    benchmark::DoNotOptimize(s);
  }
}
BENCHMARK(FormatNumber);

}  // namespace

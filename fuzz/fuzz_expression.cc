// Parses arbitrary bytes as a key/FOR expression of a small table and evaluates what parses:
// both may only succeed or throw Error(kExpression).

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/xbase/error.h"
#include "platform/xbase/expression.h"

namespace {

const xbase::Schema& FuzzSchema() {
  static const xbase::Schema schema = {
      {"NEGOCIO", 'C', 15, 0, 1, 0}, {"NUMERO", 'C', 15, 0, 16, 0}, {"CTA_MAES", 'N', 1, 0, 31, 0},
      {"FECHA", 'D', 8, 0, 32, 0},   {"PAGO", 'L', 1, 0, 40, 0},    {"T_CAMBIO", 'N', 12, 4, 41, 0},
  };
  return schema;
}

class FuzzRecord : public xbase::RecordView {
 public:
  xbase::Value Field(int index) const override {
    switch (index) {
      case 0:
        return xbase::Value::Character("HOTEL1         ");
      case 1:
        return xbase::Value::Character("       00005001");
      case 2:
        return xbase::Value::Numeric(1);
      case 3:
        return xbase::Value::Date(2460380);
      case 4:
        return xbase::Value::Logical(true);
      case 5:
        return xbase::Value::Numeric(3.751);
      default:
        std::abort();  // the parser handed out an index outside the schema
    }
  }
  bool Deleted() const override { return false; }
  uint32_t RecNo() const override { return 7; }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  try {
    const xbase::Expression e = xbase::Expression::Parse(text, FuzzSchema(), "DET_FOL");
    e.Evaluate(FuzzRecord());
  } catch (const xbase::Error& error) {
    if (error.kind() != xbase::ErrorKind::kExpression) std::abort();
  }
  return 0;
}

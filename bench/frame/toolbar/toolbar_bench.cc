// The toolbar's work on the GUI thread: loading a user's rights after a business change (one seek
// in MENUS per menu id 2000..7000) and the 30-second price-list tick when nothing is due, on
// tables of a busy installation (20 users with 1,000 rights each; 2,000 price lists done).

#include <benchmark/benchmark.h>

#include <string>

#include "frame/toolbar/frame_rights.h"
#include "frame/toolbar/price_lists.h"
#include "frame/toolbar/user_rights.h"
#include "lib/data/schema/layout.h"
#include "lib/data/work_areas.h"
#include "lib/settings/settings.h"
#include "platform/clock/clock.h"
#include "platform/xbase/cursor.h"
#include "platform/xbase/julian_date.h"
#include "tests/support/temp_dir.h"

namespace {

using xbase::Value;

constexpr int kUsers = 20;
constexpr int kRightsPerUser = 1000;
constexpr int kDoneLists = 2000;

class Installation {
 public:
  Installation() {
    settings::Reset();
    settings::Current().DEF_RDD = "DBFCDX";
    settings::Current().PATH = dir_.path().string() + "/";
    const std::string bases = dir_.File("BASES");
    std::filesystem::create_directories(bases);
    for (const char* table : {"USUARIOS", "MENUS", "SUBBASES", "ENC_PPRE"}) {
      schema::CreateFromLayout(bases, *schema::FindLayout(table));
    }
    xbase::Cursor users(bases + "/USUARIOS.DBF");
    xbase::Cursor menus(bases + "/MENUS.DBF");
    for (int user = 1; user <= kUsers; ++user) {
      Append(users, {{"NEGOCIO", Value::Character("HTL01")},
                     {"NOMBRE", Value::Character("USER" + std::to_string(user))},
                     {"CODIGO", Value::Numeric(user)}});
      for (int right = 0; right < kRightsPerUser; ++right) {
        Append(menus, {{"NEGOCIO", Value::Character("HTL01")},
                       {"USUARIO", Value::Numeric(user)},
                       {"ID_MENU", Value::Numeric(2000 + right * 5)},
                       {"CHECK_ID", Value::Logical(right % 2 == 0)}});
      }
    }
    xbase::Cursor lists(bases + "/ENC_PPRE.DBF");
    for (int list = 0; list < kDoneLists; ++list) {
      Append(lists, {{"NEGOCIO", Value::Character("HTL01")},
                     {"CODIGO", Value::Character("L" + std::to_string(list))},
                     {"PENDIENTE", Value::Numeric(0)},
                     {"F_APLICA", Value::Date(xbase::JulianDay(2023, 1, 1) + list % 365)},
                     {"H_APLICA", Value::Character("08:00:00")}});
    }
  }

 private:
  static void Append(xbase::Cursor& cursor,
                     const std::vector<std::pair<std::string, Value>>& values) {
    cursor.Append();
    for (const auto& [field, value] : values) cursor.Put(field, value);
    cursor.Unlock();
  }
  testing_support::TempDir dir_;
};

Installation& Tables() {
  static Installation installation;
  return installation;
}

void BM_LoadRights(benchmark::State& state) {
  Tables();
  frame::FrameRights rights;
  for (auto _ : state) {
    frame::LOAD_DERECHOS("USER10", "HTL01", rights);
    benchmark::DoNotOptimize(rights.MENU_VEC.size());
  }
}
BENCHMARK(BM_LoadRights)->Unit(benchmark::kMillisecond);

void BM_IdlePriceTick(benchmark::State& state) {
  Tables();
  zvclock::FakeClock clock;
  for (auto _ : state) frame::CHEQUEA_PRECIOS("HTL01");
}
BENCHMARK(BM_IdlePriceTick)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();

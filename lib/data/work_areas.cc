#include "lib/data/work_areas.h"

#include <cstdio>
#include <map>
#include <utility>

#include "lib/data/data_error.h"
#include "lib/data/text_fields.h"
#include "lib/settings/settings.h"
#include "platform/xbase/error.h"

namespace data {
namespace {

struct AreaTable {
  std::map<int, WorkArea> open;
  int selected = 0;
  bool net_err = false;
};

AreaTable& Areas() {
  static AreaTable areas;
  return areas;
}

}  // namespace

int LowestFreeArea() {
  int area = 1;
  for (const auto& [number, unused] : Areas().open) {
    if (number != area) break;
    ++area;
  }
  return area;
}

void OccupyArea(int area, WorkArea work_area) { Areas().open[area] = std::move(work_area); }

void CloseArea(int area) {
  auto it = Areas().open.find(area);
  if (it == Areas().open.end()) return;
  WorkArea closing = std::move(it->second);
  Areas().open.erase(it);
  try {
    closing.cursor->Close();
  } catch (const xbase::Error& e) {
    throw FromEngineError(e, closing.driver, "close");
  }
}

void CloseAllAreas() {
  while (!Areas().open.empty()) {
    const int area = Areas().open.begin()->first;
    try {
      CloseArea(area);
    } catch (const DataError& e) {
      std::fprintf(stderr, "%s\n", e.what());
    }
  }
}

WorkArea* FindArea(int area) {
  auto it = Areas().open.find(area);
  return it == Areas().open.end() ? nullptr : &it->second;
}

int SelectedArea() { return Areas().selected; }
void SelectArea(int area) { Areas().selected = area; }

WorkArea& SelectedWorkArea() {
  WorkArea* area = FindArea(SelectedArea());
  if (!area) {
    ErrorObject error;
    error.GENCODE = EG_NOTABLE;
    error.SUBCODE = 1000 + EG_NOTABLE;
    error.SUBSYSTEM = DefaultDriver();
    error.DESCRIPTION = "No table in use in area " + std::to_string(SelectedArea());
    throw DataError(std::move(error));
  }
  return *area;
}

xbase::Cursor& SelectedCursor() { return *SelectedWorkArea().cursor; }

bool NETERR() { return Areas().net_err; }
void SetNetErr(bool value) { Areas().net_err = value; }

std::string AliasFor(std::string_view file_name, int area) {
  std::string_view name = file_name;
  if (size_t slash = name.find_last_of("\\/"); slash != std::string_view::npos) {
    name.remove_prefix(slash + 1);
  }
  if (size_t colon = name.find(':'); colon != std::string_view::npos) {
    name.remove_prefix(colon + 1);
  }
  if (size_t dot = name.find('.'); dot != std::string_view::npos) name = name.substr(0, dot);
  std::string alias(TrimBlanks(name));
  if (alias.size() < 7) alias.append(7 - alias.size(), '0');
  alias.resize(7);
  char digits[16];
  std::snprintf(digits, sizeof digits, "%03d", area);
  return alias + digits;
}

std::string EngineOfDriver(const std::string& driver) {
  return driver.rfind("ADS", 0) == 0 ? "ADSCDX" : driver;
}

std::string DefaultDriver() { return settings::Current().DEF_RDD == "ADSCDX" ? "ADS" : "DBFCDX"; }

}  // namespace data

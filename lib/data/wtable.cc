#include "lib/data/wtable.h"

#include <cstdio>
#include <utility>

#include "lib/data/alert.h"
#include "lib/data/data_error.h"
#include "lib/data/database_server.h"
#include "lib/data/retry.h"
#include "lib/data/schema/layout_check.h"
#include "lib/data/text_fields.h"
#include "lib/data/text_search.h"
#include "lib/data/work_areas.h"
#include "lib/settings/settings.h"
#include "platform/xbase/error.h"
#include "platform/xbase/table.h"

namespace data {
namespace {

// Backslashes of folder names stand for the platform's separator.
std::string NativeSeparators(std::string path) {
  for (char& c : path) {
    if (c == '\\') c = '/';
  }
  return path;
}

bool TableExists(const std::string& path) {
  try {
    xbase::ResolveTablePath(path);
    return true;
  } catch (const xbase::Error&) {
    return false;
  }
}

// Closes `area` after a failed step of the open and raises `error`.
[[noreturn]] void AbandonOpen(int area, DataError error) {
  try {
    CloseArea(area);
  } catch (const DataError&) {
    // the first error is the one worth reporting
  }
  throw error;
}

DataError MissingFieldError(const std::string& driver, const std::string& path,
                            const std::string& problem) {
  ErrorObject error;
  error.GENCODE = EG_NOVAR;
  error.SUBCODE = 1000 + EG_NOVAR;
  error.SUBSYSTEM = driver;
  error.DESCRIPTION = problem;
  error.OPERATION = "USE";
  error.FILENAME = path;
  error.CANDEFAULT = true;
  return DataError(std::move(error));
}

}  // namespace

WTable::~WTable() {
  try {
    Axit();
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
  }
}

void WTable::Init(std::any owner, std::string_view table, std::string_view tag, bool shared,
                  bool read_only, std::string_view folder, std::optional<std::string> driver,
                  bool absolute, std::string_view root) {
  settings::Settings& globals = settings::Current();
  std::string name = TrimBlanks(table).substr(0, 8);
  std::string tag_name = TrimBlanks(tag);
  std::string base = absolute ? std::string(root) : globals.PATH;
  std::string folder_path(folder);
  if (folder_path.empty() || folder_path.back() != '\\') folder_path += '\\';
  std::string sub_folder = TrimBlanks(globals.XDBACCESS.empty() ? "" : globals.XDBACCESS[0]);
  if (!absolute && !sub_folder.empty() &&
      TableExists(NativeSeparators(base + folder_path + sub_folder + "\\" + name + ".DBF"))) {
    folder_path += sub_folder + "\\";
  }
  const std::string path = NativeSeparators(base + folder_path + name);
  const std::string used_driver = driver.value_or(DefaultDriver());
  const xbase::CursorOptions options{
      shared ? xbase::ShareMode::kShared : xbase::ShareMode::kExclusive, read_only, true};

  int area = 0;
  auto try_open = [&] {
    SetNetErr(false);
    std::unique_ptr<xbase::Cursor> cursor;
    try {
      cursor = std::make_unique<xbase::Cursor>(path, options);
    } catch (const xbase::Error& e) {
      if (e.kind() != xbase::ErrorKind::kSharingViolation) {
        throw FromEngineError(e, used_driver, "USE");
      }
      SetNetErr(true);
      return false;
    }
    area = LowestFreeArea();
    Name = cursor->table().name();
    OccupyArea(area,
               {std::move(cursor), AliasFor(name, area), used_driver, EngineOfDriver(used_driver)});
    SelectArea(area);
    Area = area;
    Alias = FindArea(area)->alias;
    RDD = used_driver;
    oParent = std::move(owner);
    RegisterTextSearch(*this);
    return true;
  };
  RetryUntilDone(
      try_open, [&] { ShowAlert("No se puede abrir archivo: " + path, "Alerta"); },
      AlertTiming::kAfterWait);

  Cargo.reset();
  WorkArea& opened = *FindArea(area);
  if (opened.engine.rfind("ADS", 0) == 0) {
    if (DatabaseServer* server = InstalledDatabaseServer()) {
      server->SetCacheRecords(area, globals.XADSCACHERECORDS);
    }
  }
  if (std::string problem = schema::CheckLayout(Name, opened.cursor->fields()); !problem.empty()) {
    AbandonOpen(area, MissingFieldError(used_driver, path, problem));
  }
  if (!tag_name.empty()) {
    try {
      opened.cursor->SetOrder(tag_name);
    } catch (const xbase::Error& e) {
      AbandonOpen(area, FromEngineError(e, used_driver, "USE"));
    }
  }
}

void WTable::Axit() {
  if (Area == 0) return;
  int area = Area;
  Area = 0;
  settings::Settings& globals = settings::Current();
  if (area < static_cast<int>(globals.XTXT_SRCH_VECTOR.size())) {
    globals.XTXT_SRCH_VECTOR[area] = {};
  }
  CloseArea(area);
}

TableHandle USE(std::any owner, std::string_view table, std::string_view tag, bool shared,
                bool read_only, std::string_view folder, std::optional<std::string> driver,
                bool absolute, std::string_view root) {
  // A failed open leaves no area taken, so the error handler's retry opens afresh.
  return RunOfferingRetry([&] {
    auto handle = std::make_shared<WDBTable>();
    handle->Init(owner, table, tag, shared, read_only, folder, driver, absolute, root);
    return handle;
  });
}

void KILLTABLA(const TableHandle& handle) {
  if (handle) handle->Axit();
}

}  // namespace data

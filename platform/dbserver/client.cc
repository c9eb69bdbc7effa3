#include "platform/dbserver/client.h"

#include <algorithm>

#include "platform/os/files.h"
#include "platform/progdir/program_dir.h"

namespace dbserver {
namespace {

constexpr char kVersionText[] = "1.0 (local storage engine)";
// One client serves one program.
constexpr char kConfiguredConnections[] = "1";

ClientState& MutableState() {
  static ClientState state;
  return state;
}

// Backslashes stand for the platform's separator; a relative path is taken from the program
// folder, not from wherever the program was started.
std::string NativePath(std::string path) {
  std::replace(path.begin(), path.end(), '\\', '/');
  if (!path.empty() && path.front() != '/') path = progdir::ProgramDirectory() + "/" + path;
  return path;
}

}  // namespace

const ClientState& State() { return MutableState(); }
void ResetClient() { MutableState() = ClientState(); }

void ADSSETFILETYPE(int type) { MutableState().file_type = type; }

void RDDREGISTER(const std::string& driver, int) {
  std::vector<std::string>& drivers = MutableState().registered_drivers;
  if (std::find(drivers.begin(), drivers.end(), driver) == drivers.end()) {
    drivers.push_back(driver);
  }
}

void RDDSETDEFAULT(const std::string& driver) { MutableState().default_driver = driver; }
void ADSRIGHTSCHECK(int check) { MutableState().rights_check = check; }
void ADSSETCHARTYPE(int type, bool) { MutableState().char_type = type; }
void ADSLOCKING(int mode) { MutableState().locking = mode; }
void ADSCACHEOPENTABLES(int count) { MutableState().cached_tables = count; }
void ADSCACHERECORDS(int area, int records) { MutableState().cache_records[area] = records; }

int ADSISSERVERLOADED(const std::string& data_path) {
  if (!data_path.empty() && os::IsReadableDirectory(NativePath(data_path))) return 1;
  MutableState().last_error = kServerNotFound;
  return 0;
}

bool ADSCONNECT60(const std::string&, int, const std::string&, const std::string&) {
  MutableState().connected = true;
  return true;
}

int ADSGETLASTERROR() { return MutableState().last_error; }

bool ADSMGCONNECT(const std::string& data_path) {
  if (!ADSISSERVERLOADED(data_path)) return false;
  MutableState().management_path = data_path;
  return true;
}

std::vector<std::string> ADSMGGETINSTALLINFO() {
  if (MutableState().management_path.empty()) {
    MutableState().last_error = kNoManagementConnection;
    return {};
  }
  return {"Interfaz ZIRUVUZ",               // registered owner
          "local",                          // serial
          kVersionText,                     // version
          "",                               // installation date
          "",                               // evaluation expiry
          "1",                              // user option
          "ANSI/OEM",                       // character sets
          MutableState().management_path};  // data folder served
}

std::vector<std::string> ADSMGGETCONFIGINFO() {
  if (MutableState().management_path.empty()) {
    MutableState().last_error = kNoManagementConnection;
    return {};
  }
  return {kConfiguredConnections, "150"};
}

void ADSMGDISCONNECT() { MutableState().management_path.clear(); }

zvclock::LocalDateTime ServerNow() { return zvclock::Now(); }

}  // namespace dbserver

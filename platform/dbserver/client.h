#pragma once
// The database-server client the program uses when ADS.DEF stands beside it. There is no separate
// server process: the "server" is this program's own storage engine serving the tables of the
// data folder, so the client is a small layer that keeps the settings the calls make, answers the
// probe by looking at the data folder, and reports the clock of the machine that holds the data
// (here: the local clock).
//
// The calls keep the names of the interface the program was written against. All run on the GUI
// thread.

#include <map>
#include <string>
#include <vector>

#include "platform/clock/clock.h"

namespace dbserver {

// Error number of a probe that finds no data folder at the path it was given.
inline constexpr int kServerNotFound = 6420;
// Error number of a management call made without a management connection.
inline constexpr int kNoManagementConnection = 6303;

// What the calls have set so far (tests and "ADS Config." read it).
struct ClientState {
  int file_type = 0;  // 2: tables are CDX tables
  std::vector<std::string> registered_drivers;
  std::string default_driver;
  int rights_check = 1;              // 0: file rights are ignored when tables are opened
  int char_type = 0;                 // 1 ANSI, 2 OEM
  int locking = 1;                   // 1 proprietary, 0 compatible
  int cached_tables = 0;             // closed tables kept open for reuse
  bool connected = false;            // the default connection
  std::string management_path;       // open management connection, empty when none
  std::map<int, int> cache_records;  // per work area
  int last_error = 0;
};

const ClientState& State();
// Back to a client that nothing was called on (start of a run; tests).
void ResetClient();

void ADSSETFILETYPE(int type);
void RDDREGISTER(const std::string& driver, int kind);
void RDDSETDEFAULT(const std::string& driver);
void ADSRIGHTSCHECK(int check);
void ADSSETCHARTYPE(int type, bool value);
void ADSLOCKING(int mode);
void ADSCACHEOPENTABLES(int count);
// Record read-ahead of the table open in `area`.
void ADSCACHERECORDS(int area, int records);

// Non-zero when `data_path` (backslashes stand for the platform's separator; a relative path is
// taken from the program folder) names an existing data folder whose entries can be read; 0
// otherwise, with the last error set.
int ADSISSERVERLOADED(const std::string& data_path);
// Opens the default connection; true on success.
bool ADSCONNECT60(const std::string& server_path, int server_types, const std::string& user,
                  const std::string& password);
int ADSGETLASTERROR();

// Management connection to the data folder; false (and the last error) when none serves it.
bool ADSMGCONNECT(const std::string& data_path);
// Installation information: 8 entries, the third the version text; empty without a management
// connection.
std::vector<std::string> ADSMGGETINSTALLINFO();
// Configuration values, the first the configured number of connections; empty without a
// management connection.
std::vector<std::string> ADSMGGETCONFIGINFO();
void ADSMGDISCONNECT();

// The server's date and time: the clock of the machine holding the data folder.
zvclock::LocalDateTime ServerNow();

}  // namespace dbserver

#pragma once
// The seam to the database-server client: start-up installs it when the server engine is in use.
// The data layer asks it for the server's clock and hands it the read-ahead count of each table
// opened through it. Without one installed, the local clock and no read-ahead apply.

#include <cstdint>
#include <optional>
#include <string>

namespace data {

struct ServerDateTime {
  std::string date_text;  // the server's date in the program's date format ("dd/mm/yy")
  int64_t ms_since_midnight = 0;
};

class DatabaseServer {
 public:
  virtual ~DatabaseServer() = default;
  // The server's current date and time; nullopt when the query fails.
  virtual std::optional<ServerDateTime> CurrentDateTime() = 0;
  // Sets the record read-ahead count of the table open in `area`.
  virtual void SetCacheRecords(int area, int records) = 0;
};

// Installs the client (nullptr removes it); the caller keeps ownership.
void SetDatabaseServer(DatabaseServer* server);
DatabaseServer* InstalledDatabaseServer();

}  // namespace data

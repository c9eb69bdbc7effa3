#include "lib/data/database_server.h"

namespace data {
namespace {

DatabaseServer*& Installed() {
  static DatabaseServer* server = nullptr;
  return server;
}

}  // namespace

void SetDatabaseServer(DatabaseServer* server) { Installed() = server; }
DatabaseServer* InstalledDatabaseServer() { return Installed(); }

}  // namespace data

#pragma once
// The choice of the database engine at start: the database server when ADS.DEF stands in the
// program folder, else the local DBF/CDX tables.

namespace frame {

enum class EngineChoice {
  kLocalTables,     // no ADS.DEF: driver "DBFCDX"
  kServer,          // the server serves line 1 of ADS.DEF: driver "ADSCDX"
  kServerNotFound,  // ADS.DEF present but no server serves its data folder: the program must end
};

// Reads ADS.DEF (when present) into settings XADSPARAMS, makes the server calls in their order,
// sets DEF_RDD and, with the server, installs its clock for XDATE/XTIME. Shows "No se pudo
// establecer ADSCONNECT60" when the connection fails and the "no localizable" message when no
// server is found.
EngineChoice ChooseDatabaseEngine();

}  // namespace frame

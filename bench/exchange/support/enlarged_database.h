#pragma once
// The demo database enlarged to a hotel with years of history: 100,000 stays with their
// reservations and folios and 1,000,000 folio lines, the demo's own guests, rooms, users and
// settings unchanged. One more stay is in house in room 315 of HTL01 with a 500-line folio
// (spread among the others), for statements. Building it takes a while, so it is kept on disk
// and reused by later runs.

#include <string>

namespace bench_support {

inline constexpr int kEnlargedStays = 100000;
inline constexpr int kEnlargedFolioLines = 1000000;
inline constexpr int kStatementFolioLines = 500;
inline constexpr char kStatementRoom[] = "315";
// The business date of the enlarged database: 6 March 2024.
inline constexpr int kBusinessYear = 2024, kBusinessMonth = 3, kBusinessDay = 6;

// The BASES folder of the enlarged database under `cache_folder`, built there first unless a
// complete one is already present. Building reports its duration on standard error.
std::string EnlargedDatabase(const std::string& cache_folder);

// The cache folder: $ZV_BENCH_DATA when set, else the build tree's bench-data folder.
std::string DefaultCacheFolder();

}  // namespace bench_support

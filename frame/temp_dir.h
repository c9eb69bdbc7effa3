#pragma once
// The local temporary folder of the module (settings XTEMPPATH): found at start by probing the
// path of F_SYS, and cleared of the module's temporary tables at start and at log-out.

#include <functional>
#include <string>

#include "lib/settings/settings.h"

namespace frame {

// The two file-system steps of the probe, replaceable in tests.
struct ProbeSteps {
  std::function<bool(const std::string& path)> create_empty_file;
  std::function<bool(const std::string& path)> make_directory;
};
// The real steps. A path that begins with a drive letter ("D:\...") names nothing on a system
// without drive letters; both steps refuse it.
ProbeSteps FileSystemProbeSteps();

// The drive letter after `drive` in the probe's order: A..H step on by one, I wraps to C, any
// other letter stays.
char NextDriveLetter(char drive);

// Probes `path` (trimmed) for a local temporary folder with its TEMP subfolder: up to 10 attempts,
// stepping the drive letter of a drive-letter path between attempts; another path is tried as it
// is. Returns {flag, path}: the flag as given when a folder was found, 0 after 10 failed attempts
// or for an empty path.
settings::TempPath ProbeTempDirectory(int flag, const std::string& path,
                                      const ProbeSteps& steps = FileSystemProbeSteps());

// Removes the module's temporary tables from the local temporary folder when it is in use: files
// with the module's extension (EXT_MODULO) with their CDX/FPT companions, CDX and FPT files left
// without their table, and HOT files with their companions.
void BORRAR_TEMPS();

}  // namespace frame

#pragma once
// The program directory: the directory of the executable, beside which the program keeps its
// tables, pictures, settings and loadable components (tests point it elsewhere); and the user
// and computer the program runs for.

#include <string>

namespace progdir {

// The directory set with SetProgramDirectory, else the executable's directory.
std::string ProgramDirectory();
// Overrides the program directory (process-wide); an empty text restores the default.
void SetProgramDirectory(std::string directory);

// Who and where the program runs, for the log records: the login name of the user and the
// computer's name ("" when the system does not say).
std::string UserName();
std::string ComputerName();

}  // namespace progdir

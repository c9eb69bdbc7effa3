#pragma once
// The program directory: the directory of the executable, beside which the program keeps its
// tables, pictures, settings and loadable components. Tests point it elsewhere.

#include <string>

namespace progdir {

// The directory set with SetProgramDirectory, else the executable's directory.
std::string ProgramDirectory();
// Overrides the program directory (process-wide); an empty text restores the default.
void SetProgramDirectory(std::string directory);

}  // namespace progdir

#pragma once
// The xbtool commands; each returns the process exit code.

#include <string>
#include <vector>

namespace xbtool {

using Args = std::vector<std::string>;  // the command's arguments, after its name

int StructCommand(const Args& args);
int DumpCommand(const Args& args);
int SeekCommand(const Args& args);
int VerifyCommand(const Args& args);
int ReindexCommand(const Args& args);
int AppendCommand(const Args& args);
int SetCommand(const Args& args);
int DeleteCommand(const Args& args);
int CreateCommand(const Args& args);
int CreateDemoCommand(const Args& args);

}  // namespace xbtool

#pragma once
// Runs the xbtool executable the way a person or a script does, for the command-line tests.

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/temp_dir.h"

inline std::string ReadFile(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// Runs xbtool with `args` (each passed as one argument) and `input` on standard input; returns
// what it printed (both streams) and sets the exit code.
inline std::string RunXbtool(const std::vector<std::string>& args, const std::string& input,
                             int* exit_code) {
  testing_support::TempDir io;
  std::string in_path = io.File("in"), out_path = io.File("out");
  std::ofstream(in_path, std::ios::binary) << input;
  std::string cmd = XBTOOL_PATH;
  for (const std::string& arg : args) {
    cmd += " '";
    for (char c : arg) cmd += c == '\'' ? std::string("'\\''") : std::string(1, c);
    cmd += "'";
  }
  cmd += " <" + in_path + " >" + out_path + " 2>&1";
  int status = std::system(cmd.c_str());
  *exit_code = WEXITSTATUS(status);
  return ReadFile(out_path);
}

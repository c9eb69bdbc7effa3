#pragma once
// The command line of ziruvuz-client: where the request goes (--local or --send) and where it
// comes from (a file, or values the request is built from).

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "tools/ziruvuz_client/request_builder.h"

namespace zvclient {

// For --help and for every argument error.
extern const char kUsage[];

enum class Mode { kLocal, kSend };

struct CommandLine {
  bool help = false;
  Mode mode = Mode::kLocal;
  std::string program_dir;  // --local
  std::string host;         // --send
  uint16_t port = 0;        // --send
  std::chrono::milliseconds timeout{20000};
  std::optional<std::string> request_file;  // either a file ...
  std::optional<RequestFields> built;       // ... or a request built from values
};

// Reads the arguments after the program name. On a fault returns false and sets `error` to
// a one-line description of it.
bool ParseCommandLine(const std::vector<std::string>& args, CommandLine& line, std::string& error);

}  // namespace zvclient

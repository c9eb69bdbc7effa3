#pragma once
// Runs the ziruvuz-client executable with the given arguments, as a separate process, and
// collects its exit status, standard output and standard error.

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/temp_dir.h"

extern char** environ;

namespace testing_support {

struct ClientRun {
  int status = -1;  // the exit status; -1 when the client did not exit normally
  std::string out;
  std::string err;
};

inline std::string ReadFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

inline ClientRun RunClient(const std::vector<std::string>& args) {
  TempDir io;
  const std::string out_path = io.File("out");
  const std::string err_path = io.File("err");
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, out_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                   0600);
  posix_spawn_file_actions_addopen(&actions, 2, err_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                   0600);
  std::vector<char*> argv = {const_cast<char*>(CLIENT_PATH)};
  for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);

  ClientRun run;
  pid_t pid = 0;
  if (posix_spawn(&pid, CLIENT_PATH, &actions, nullptr, argv.data(), environ) == 0) {
    int wait_status = 0;
    while (waitpid(pid, &wait_status, 0) < 0 && errno == EINTR) {
    }
    if (WIFEXITED(wait_status)) run.status = WEXITSTATUS(wait_status);
  }
  posix_spawn_file_actions_destroy(&actions);
  run.out = ReadFileBytes(out_path);
  run.err = ReadFileBytes(err_path);
  return run;
}

}  // namespace testing_support

// ziruvuz-client: runs a request the way the server would, or sends it to a running server,
// for hotel IT and for tests. `ziruvuz-client --help` (command_line.cc) tells how.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exception>
#include <string>
#include <vector>

#include "exchange/connection_side.h"
#include "exchange/exchange_context.h"
#include "exchange/process_request.h"
#include "lib/settings/settings.h"
#include "tools/ziruvuz_client/command_line.h"
#include "tools/ziruvuz_client/request_builder.h"
#include "tools/ziruvuz_client/tcp_exchange.h"

namespace {

constexpr int kReplied = 0;
constexpr int kError = 2;
constexpr int kNoReply = 3;
constexpr int kTimedOut = 4;

// The Host header of a request built for --local, which goes to no host.
constexpr char kLocalHost[] = "localhost";

void WriteOut(std::string_view bytes) {
  std::fwrite(bytes.data(), 1, bytes.size(), stdout);
  std::fflush(stdout);
}

class StandardOutputSide : public ConnectionSide {
 public:
  void ACT_TIME(int) override {}
  void SEND(int, const std::string& text) override {
    WriteOut(text);
    replied_ = true;
  }
  void ADD3_TEXTO(int, const std::string&) override {}
  void PauseAfterReply(int) override {}
  void CloseConnection(int) override {}
  bool replied() const { return replied_; }

 private:
  bool replied_ = false;
};

// False with errno set when the file cannot be opened or read (a folder, for one).
bool ReadWholeFile(const std::string& path, std::string& text) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return false;
  char buffer[65536];
  size_t got = 0;
  while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) text.append(buffer, got);
  const int read_error = std::ferror(file) ? errno : 0;
  std::fclose(file);
  errno = read_error;
  return read_error == 0;
}

// The request the command line names: the file's bytes, or the one built from its values.
bool RequestText(const zvclient::CommandLine& line, std::string& text) {
  if (line.built) {
    const std::string host = line.mode == zvclient::Mode::kSend
                                 ? line.host + ":" + std::to_string(line.port)
                                 : kLocalHost;
    text = zvclient::BuildRequest(*line.built, host);
    return true;
  }
  if (ReadWholeFile(*line.request_file, text)) return true;
  std::fprintf(stderr, "ziruvuz-client: cannot read %s: %s\n", line.request_file->c_str(),
               std::strerror(errno));
  return false;
}

int RunLocal(const std::string& program_dir, const std::string& text) {
  if (text.find(kEnvelopeEnd) == std::string::npos) return kNoReply;
  settings::Current().DEF_RDD = "DBFCDX";
  settings::Current().PATH = program_dir + "/";
  ExchangeTables tables;
  tables.Open();
  StandardOutputSide side;
  PROCESSREQUEST(ExchangeContext{side, tables}, 0, text);
  tables.Close();
  return side.replied() ? kReplied : kNoReply;
}

int RunSend(const zvclient::CommandLine& line, const std::string& text) {
  const zvclient::ExchangeResult result =
      zvclient::ExchangeOverTcp(line.host, line.port, text, line.timeout, WriteOut);
  switch (result.outcome) {
    case zvclient::ExchangeOutcome::kClosed:
      if (result.received > 0) return kReplied;
      std::fprintf(stderr, "ziruvuz-client: %s:%u closed the connection without a reply\n",
                   line.host.c_str(), line.port);
      return kNoReply;
    case zvclient::ExchangeOutcome::kTimedOut:
      std::fprintf(stderr, "ziruvuz-client: %s\n", result.message.c_str());
      return kTimedOut;
    case zvclient::ExchangeOutcome::kFailed:
      break;
  }
  std::fprintf(stderr, "ziruvuz-client: %s\n", result.message.c_str());
  return kError;
}

int Run(const zvclient::CommandLine& line) {
  std::string text;
  if (!RequestText(line, text)) return kError;
  const int status =
      line.mode == zvclient::Mode::kLocal ? RunLocal(line.program_dir, text) : RunSend(line, text);
  if (std::ferror(stdout)) {
    std::fputs("ziruvuz-client: cannot write the reply to standard output\n", stderr);
    return kError;
  }
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  zvclient::CommandLine line;
  std::string error;
  if (!zvclient::ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc), line, error)) {
    std::fprintf(stderr, "ziruvuz-client: %s\n\n%s", error.c_str(), zvclient::kUsage);
    return kError;
  }
  if (line.help) {
    std::fputs(zvclient::kUsage, stdout);
    return kReplied;
  }
  try {
    return Run(line);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "ziruvuz-client: %s\n", e.what());
    return kError;
  }
}

// ziruvuz-client: runs a request the way the server would, for hotel IT and for tests.
//   ziruvuz-client --local PROGRAMDIR REQUESTFILE
// hands the file's bytes to request handling in this process, against PROGRAMDIR/BASES, and
// writes the reply exactly as it would go on the wire to standard output (without the pause
// that follows a reply). Exit status: 0 a reply was written, 3 no reply, 2 an error.
#include <cstdio>
#include <exception>
#include <fstream>
#include <sstream>
#include <string>

#include "exchange/connection_side.h"
#include "exchange/exchange_context.h"
#include "exchange/process_request.h"
#include "lib/settings/settings.h"

namespace {

constexpr int kReplied = 0;
constexpr int kError = 2;
constexpr int kNoReply = 3;

const char kUsage[] = "usage: ziruvuz-client --local PROGRAMDIR REQUESTFILE\n";

// The server only hands on a text once it holds the end of an envelope.
constexpr char kEnvelopeEnd[] = "</soap:Envelope>";

class StandardOutputSide : public ConnectionSide {
 public:
  void ACT_TIME(int) override {}
  void SEND(int, const std::string& text) override {
    std::fwrite(text.data(), 1, text.size(), stdout);
    replied_ = true;
  }
  void ADD3_TEXTO(int, const std::string&) override {}
  void PauseAfterReply(int) override {}
  void CloseConnection(int) override {}
  bool replied() const { return replied_; }

 private:
  bool replied_ = false;
};

bool ReadWholeFile(const std::string& path, std::string& text) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::ostringstream bytes;
  bytes << in.rdbuf();
  text = bytes.str();
  return true;
}

int RunLocal(const std::string& program_dir, const std::string& request_file) {
  std::string text;
  if (!ReadWholeFile(request_file, text)) {
    std::fprintf(stderr, "ziruvuz-client: cannot read %s\n", request_file.c_str());
    return kError;
  }
  if (text.find(kEnvelopeEnd) == std::string::npos) return kNoReply;
  settings::Current().DEF_RDD = "DBFCDX";
  settings::Current().PATH = program_dir + "/";
  ExchangeTables tables;
  tables.Open();
  StandardOutputSide side;
  PROCESSREQUEST(ExchangeContext{side, tables}, 0, text);
  tables.Close();
  std::fflush(stdout);
  return side.replied() ? kReplied : kNoReply;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4 || std::string(argv[1]) != "--local") {
    std::fputs(kUsage, stderr);
    return kError;
  }
  try {
    return RunLocal(argv[2], argv[3]);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "ziruvuz-client: %s\n", e.what());
    return kError;
  }
}

// xbtool: what hotel IT uses on a site's tables. See README for the command line.
#include <cstdio>
#include <map>
#include <string>

#include "platform/xbase/error.h"
#include "tools/xbtool/commands.h"

namespace {

const char kUsage[] =
    "usage: xbtool COMMAND ...\n"
    "  struct FILE\n"
    "  dump FILE [--tag TAG] [--deleted]\n"
    "  seek FILE TAG            (keys on standard input, one per line)\n"
    "  verify PATH              (a table or a folder of tables)\n"
    "  reindex FILE\n"
    "  append FILE FIELD=VALUE ...\n"
    "  set FILE RECNO FIELD=VALUE ...\n"
    "  delete FILE RECNO\n"
    "  create FILE --field NAME:TYPE:WIDTH[:DEC] ... [--tag "
    "NAME=EXPR[;FOR=EXPR][;UNIQUE][;DESCENDING]] ...\n"
    "  create-demo DIR [--date YYYYMMDD]   (a demo BASES folder with every table)\n";

}  // namespace

int main(int argc, char** argv) {
  const std::map<std::string, int (*)(const xbtool::Args&)> commands = {
      {"struct", xbtool::StructCommand},   {"dump", xbtool::DumpCommand},
      {"seek", xbtool::SeekCommand},       {"verify", xbtool::VerifyCommand},
      {"reindex", xbtool::ReindexCommand}, {"append", xbtool::AppendCommand},
      {"set", xbtool::SetCommand},         {"delete", xbtool::DeleteCommand},
      {"create", xbtool::CreateCommand},   {"create-demo", xbtool::CreateDemoCommand},
  };
  if (argc < 2 || !commands.count(argv[1])) {
    std::fputs(kUsage, stderr);
    return 2;
  }
  try {
    return commands.at(argv[1])(xbtool::Args(argv + 2, argv + argc));
  } catch (const xbase::Error& e) {
    std::fprintf(stderr, "xbtool: %s\n", e.what());
    return 2;
  }
}

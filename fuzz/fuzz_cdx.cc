// Feeds arbitrary bytes to the compound-index reader and writer: every outcome must be a
// result or an Error, never a crash or an endless loop.

#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/xbase/cdx_index.h"
#include "platform/xbase/error.h"
#include "platform/xbase/file.h"

namespace {

constexpr int kMaxSteps = 2000;

void Exercise(xbase::CdxIndex& index) {
  for (int tag = 0; tag < static_cast<int>(index.tags().size()); ++tag) {
    index.CheckStructure(tag);
    int steps = 0;
    for (auto e = index.First(tag); e && steps < kMaxSteps; e = index.Next(tag, *e)) ++steps;
    for (auto e = index.Last(tag); e && steps < 2 * kMaxSteps; e = index.Prev(tag, *e)) ++steps;
    for (const char* prefix : {"", "A", "HOTEL1", "\xFF"}) index.SeekPrefix(tag, prefix);
    // Changes on a damaged file must fail cleanly as well.
    const std::string key(static_cast<size_t>(index.tags()[static_cast<size_t>(tag)].key_length),
                          'H');
    index.Insert(tag, {key, 7});
    index.Remove(tag, {key, 7});
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  char path[] = "/tmp/fuzz_cdx_XXXXXX";
  const int fd = ::mkstemp(path);
  if (fd < 0) std::abort();
  ::close(fd);
  ::unlink(path);
  xbase::File file = xbase::File::Create(path);
  ::unlink(path);  // the open file lives on until `file` closes it
  file.Write(0, data, size);
  try {
    xbase::CdxIndex index(file);
    Exercise(index);
  } catch (const xbase::Error&) {
  }
  return 0;
}

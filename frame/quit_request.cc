#include "frame/quit_request.h"

namespace frame {

QuitRequest ReadQuitRequest(std::string_view first_bytes, int group) {
  auto byte_at = [&](size_t position) {  // from 1; blanks past the end of a short file
    return position <= first_bytes.size() ? first_bytes[position - 1] : ' ';
  };
  QuitRequest request;
  request.applies_to_everyone = byte_at(1) == '1';
  bool every_module = true;
  for (size_t position = 2; position <= kQuitRequestBytes; ++position) {
    char c = byte_at(position);
    if (c >= '1' && c <= '9') every_module = false;
  }
  request.module_must_leave =
      every_module || (group >= 2 && static_cast<size_t>(group) <= kQuitRequestBytes &&
                       byte_at(static_cast<size_t>(group)) == '1');
  return request;
}

double MinutesLeft(uint32_t elapsed_ms) {
  return (static_cast<double>(kForcedQuitGraceMs) - static_cast<double>(elapsed_ms)) / 1000.0 /
         60.0;
}

}  // namespace frame

#pragma once
// A connection side for benchmarks: keeps the last reply sent and leaves out the pause after it.

#include <string>

#include "exchange/connection_side.h"

namespace bench_support {

class RecordingSide : public ConnectionSide {
 public:
  void ACT_TIME(int) override {}
  void SEND(int, const std::string& text) override { reply = text; }
  void ADD3_TEXTO(int, const std::string&) override {}
  void PauseAfterReply(int) override {}
  void CloseConnection(int) override {}

  std::string reply;
};

}  // namespace bench_support

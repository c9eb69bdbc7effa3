#pragma once
// The quit-request file BLOQUEAD.! through which an administrator asks the users of the suite to
// leave: byte 1 "1" makes even supervisors and exempt users leave; bytes 2-50 hold one digit per
// module group, all 0 (or blank, or missing) meaning every module.

#include <string_view>

namespace frame {

inline constexpr char kQuitRequestFile[] = "BLOQUEAD.!";
inline constexpr size_t kQuitRequestBytes = 50;

struct QuitRequest {
  bool applies_to_everyone = false;  // byte 1 is "1"
  bool module_must_leave = false;    // for the module whose group position was asked
};

// Reads the first 50 bytes of the file for a module of quit group `group` (0: no position of its
// own, so it leaves only when every module must).
QuitRequest ReadQuitRequest(std::string_view first_bytes, int group);

// The grace period between the announcement of a forced quit and the end of the program.
inline constexpr uint32_t kForcedQuitGraceMs = 120000;

// Whole minutes left of the grace period after `elapsed_ms`; the program ends when this is <= 0.
double MinutesLeft(uint32_t elapsed_ms);

}  // namespace frame

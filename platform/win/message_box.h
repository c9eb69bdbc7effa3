#pragma once
// Modal message boxes. Headless runs never block: the box's caption and text go to the log,
// messages already waiting are dispatched as the box's own loop would, and the answer is the
// next scripted one or else the default button.

#include <string_view>
#include <vector>

#include "platform/win/types.h"

namespace win {

constexpr uint32_t MB_OK = 0x0;
constexpr uint32_t MB_OKCANCEL = 0x1;
constexpr uint32_t MB_ABORTRETRYIGNORE = 0x2;
constexpr uint32_t MB_YESNOCANCEL = 0x3;
constexpr uint32_t MB_YESNO = 0x4;
constexpr uint32_t MB_RETRYCANCEL = 0x5;
constexpr uint32_t MB_ICONHAND = 0x10;
constexpr uint32_t MB_ICONQUESTION = 0x20;
constexpr uint32_t MB_ICONEXCLAMATION = 0x30;
constexpr uint32_t MB_ICONASTERISK = 0x40;
constexpr uint32_t MB_DEFBUTTON2 = 0x100;
constexpr uint32_t MB_DEFBUTTON3 = 0x200;

// An empty caption shows "Error", as the classic box does. Returns IDOK, IDYES, ...
int MessageBox(Hwnd owner, std::string_view text, std::string_view caption, uint32_t type);

// Answers for the next headless boxes, in order; boxes after them take their default button.
void ScriptMessageBoxAnswers(std::vector<int> answers);

}  // namespace win

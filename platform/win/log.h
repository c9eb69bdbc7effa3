#pragma once
// The one place where the window system writes what a user would otherwise have seen
// (headless message boxes). Goes to stderr unless a sink is installed.

#include <functional>
#include <string_view>

namespace win {

void Log(std::string_view line);
// Replaces the destination; an empty function restores stderr.
void SetLogSink(std::function<void(std::string_view)> sink);

}  // namespace win

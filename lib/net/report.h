#pragma once
// Where the socket layer reports what the user must learn about (a missing component or entry
// point, a failed initialisation). The window library installs a reporter that logs and shows
// a message box; until then reports go to standard error.

#include <functional>
#include <string>

namespace net {

using Reporter = std::function<void(const std::string& text)>;

// Installs `reporter`; an empty one restores the default (standard error).
void SetReporter(Reporter reporter);
void Report(const std::string& text);

}  // namespace net

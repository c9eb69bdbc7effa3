#pragma once
// The data layer's alerts (a table that cannot be opened, a record that stays locked). The layer
// never shows a window: the window library installs the function that shows them as a modal
// message box; until then, and in headless runs, they are written to standard error.

#include <functional>
#include <string>

namespace data {

using AlertFunction = std::function<void(const std::string& text, const std::string& caption)>;

// Installs `show` (an empty function restores the default, which writes to standard error).
void SetAlertFunction(AlertFunction show);

// Shows `text` with `caption` through the installed function; returns when it is dismissed.
void ShowAlert(const std::string& text, const std::string& caption);

}  // namespace data

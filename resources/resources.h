#pragma once
// Texts shipped inside the program (UTF-8).

#include <string_view>

namespace res {

// Dialog templates in the text form read by win::ParseDialogTemplates.
std::string_view DialogTemplatesText();
// The window library's message texts: lines KEY "text".
std::string_view UiTextsText();

}  // namespace res

#pragma once
// Internal: the Qt widget behind each kind of window, and the reading and writing of the
// state that lives in the widget (text, check mark, list entries).

#include <QWidget>
#include <string>
#include <string_view>

#include "platform/win/registry.h"

namespace win::internal {

WidgetKind KindOfClass(const std::string& class_name, uint32_t style, bool top_level);
// Makes the widget for a new window and connects its notifications; `parent_widget` is
// where children of the parent window live (null for top-level windows).
void MakeWidget(WindowRecord& record, std::string_view text, QWidget* parent_widget);
// Where the children of a window are placed.
QWidget* ClientWidget(const WindowRecord& record);

std::string WidgetText(const WindowRecord& record);
void SetWidgetText(const WindowRecord& record, std::string_view text);

}  // namespace win::internal

#include "lib/ui/wheel_routing.h"

#include <strings.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "lib/ui/app.h"
#include "lib/ui/globals.h"
#include "platform/win/message.h"
#include "platform/win/window.h"

namespace ui {
namespace {

constexpr int kEditLines = 2;
constexpr int kEditLinesWithCtrl = 6;
constexpr int kComboStepsWithCtrl = 3;
constexpr uint32_t kMetaScrollUp = 1046;
constexpr uint32_t kMetaScrollDown = 1045;
// Dates are read with two-digit years from 1980 on and written as dd/mm/yy.
constexpr int kDateEpoch = 1980;

bool IsClass(win::Hwnd hwnd, const char* name) {
  return hwnd && strcasecmp(win::GetClassName(hwnd).c_str(), name) == 0;
}

std::vector<std::string> TabFields(const std::string& text) {
  std::vector<std::string> fields;
  size_t start = 0;
  for (size_t tab; (tab = text.find('\t', start)) != std::string::npos; start = tab + 1) {
    fields.push_back(text.substr(start, tab - start));
  }
  fields.push_back(text.substr(start));
  return fields;
}

std::optional<int> Digits(const std::string& text, size_t from, size_t count) {
  if (from + count > text.size()) return std::nullopt;
  int value = 0;
  for (size_t i = from; i < from + count; ++i) {
    if (text[i] < '0' || text[i] > '9') return std::nullopt;
    value = value * 10 + (text[i] - '0');
  }
  return value;
}

// The text of an edit that reads as a date ("dd/mm/yy" or "dd/mm/yyyy", a real day after
// 1900), moved by `days`; nothing when the text is no such date.
std::optional<std::string> DateStepped(const std::string& text, int days) {
  if (text.size() > 10 || text.size() < 8 || text[2] != '/' || text[5] != '/') return {};
  size_t year_digits = text.size() - 6;
  std::optional<int> day = Digits(text, 0, 2), month = Digits(text, 3, 2),
                     year = Digits(text, 6, year_digits);
  if (!day || !month || !year || (year_digits != 2 && year_digits != 4)) return {};
  if (year_digits == 2) *year += *year >= kDateEpoch % 100 ? 1900 : 2000;
  std::chrono::year_month_day date{std::chrono::year(*year),
                                   std::chrono::month(static_cast<unsigned>(*month)),
                                   std::chrono::day(static_cast<unsigned>(*day))};
  if (!date.ok() || *year <= 1900) return {};
  std::chrono::year_month_day moved{std::chrono::sys_days(date) + std::chrono::days(days)};
  char written[16];
  std::snprintf(written, sizeof written, "%02u/%02u/%02d", static_cast<unsigned>(moved.day()),
                static_cast<unsigned>(moved.month()), static_cast<int>(moved.year()) % 100);
  return written;
}

void ScrollEdit(win::Hwnd edit, bool away, bool ctrl) {
  if (std::optional<std::string> date = DateStepped(win::GetWindowText(edit), away ? -1 : 1)) {
    win::SetWindowText(edit, *date);
    return;
  }
  int lines = ctrl ? kEditLinesWithCtrl : kEditLines;
  win::SendMessage(edit, win::EM_LINESCROLL, 0, away ? -lines : lines);
}

void StepCombo(win::Hwnd combo, bool away, bool ctrl) {
  win::WPARAM key = away ? win::VK_UP : win::VK_DOWN;
  for (int i = 0; i < (ctrl ? kComboStepsWithCtrl : 1); ++i) {
    win::PostMessage(combo, win::WM_KEYDOWN, key, 0);
  }
  win::PostMessage(combo, win::WM_KEYUP, key, 0);
}

// Posts WM_VSCROLL with `request` to the browse that the window's text names ("B", tab,
// browse window, tab, lParam). False when the text names no live window.
bool ScrollBrowse(win::Hwnd named_by, win::WPARAM request) {
  std::vector<std::string> fields = TabFields(win::GetWindowText(named_by));
  if (fields.size() < 2 || fields[0] != "B") return false;
  auto browse = static_cast<win::Hwnd>(std::strtoll(fields[1].c_str(), nullptr, 10));
  win::LPARAM lparam = fields.size() > 2 ? std::strtoll(fields[2].c_str(), nullptr, 10) : 0;
  return win::IsWindow(browse) && win::PostMessage(browse, win::WM_VSCROLL, request, lparam);
}

}  // namespace

void WheelRouter::Route(const win::Msg& wheel) {
  KV_APP* app = Globals().OAPP;
  if (!app || !app->ACTIVE_CHILD) return;
  int x = static_cast<int16_t>(win::LoWord(static_cast<uintptr_t>(wheel.lparam)));
  int y = static_cast<int16_t>(win::HiWord(static_cast<uintptr_t>(wheel.lparam)));
  bool away = static_cast<int16_t>(win::HiWord(wheel.wparam)) > 0;
  bool ctrl = win::LoWord(wheel.wparam) & win::MK_CONTROL;

  // List boxes are looked for a little to the right, so the wheel also serves a browse when
  // the pointer rests on the column left of its list.
  win::Hwnd target = win::WindowFromPoint(x + static_cast<int>(app->aEVars[15]), y);
  if (!IsClass(target, "ListBox")) target = win::WindowFromPoint(x, y);
  if (IsClass(target, "TipFenster")) target = win::GetFocus();
  if (!target || win::GetParent(target) != app->ACTIVE_CHILD) return;

  std::string text = win::GetWindowText(target);
  if (IsClass(target, "Edit") || IsClass(target, "RichEdit50W")) {
    ScrollEdit(target, away, ctrl);
  } else if (IsClass(target, "ListBox") || IsClass(target, "ScrollBar")) {
    if (ScrollBrowse(target, away ? win::SB_LINEUP : win::SB_LINEDOWN)) scrolled_ = target;
  } else if (IsClass(target, "ComboBox")) {
    StepCombo(target, away, ctrl);
  } else if (IsClass(target, "Button") && text.starts_with("TREEVIEW_CLASS")) {
    win::PostMessage(target, win::WM_VSCROLL, away ? win::SB_LINEUP : win::SB_LINEDOWN, 0);
  } else if (IsClass(target, "Button") && text.starts_with("DISP_META_CLASS")) {
    win::PostMessage(win::GetParent(target), away ? kMetaScrollUp : kMetaScrollDown, 0, 0);
  }
}

void WheelRouter::EndScrollBeforeTimer() {
  if (!scrolled_) return;
  ScrollBrowse(scrolled_, win::SB_ENDSCROLL);
  scrolled_ = 0;
}

}  // namespace ui

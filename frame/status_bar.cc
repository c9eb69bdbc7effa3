#include "frame/status_bar.h"

#include "platform/win/window.h"

namespace frame {
namespace {

constexpr int kCharWidth = 7;  // pixels per character
constexpr int kKeyPaneChars = 5;
constexpr int kGap = 2;
constexpr uint32_t kPaneStyle = win::WS_CHILD | win::WS_VISIBLE | win::WS_BORDER;
constexpr int kVkInsert = 45;
constexpr int kVkNumLock = 144;
constexpr int kVkCapsLock = 20;

}  // namespace

std::vector<StatusPane> FrameStatusPanes() {
  return {{std::string("Ready"), -1, 0},
          {KeyStateTexts{kVkInsert, "INS", "OVR"}, 30, 9},
          {KeyStateTexts{kVkNumLock, "", "NUM"}, -1, 1},
          {KeyStateTexts{kVkCapsLock, "", "CAPS"}, -1, 1}};
}

XSTATUS_BAR::XSTATUS_BAR(win::Hwnd frame, std::vector<StatusPane> panes, KeyToggleQuery toggled)
    : frame_(frame), panes_(std::move(panes)), toggled_(std::move(toggled)) {
  if (!toggled_) toggled_ = [](int) { return false; };
  for (const StatusPane& pane : panes_) {
    windows_.push_back(
        win::CreateWindowEx(0, "Static", TextOf(pane), kPaneStyle, 0, 0, 10, kHeight, frame_, 0));
  }
  LayOut();
}

XSTATUS_BAR::~XSTATUS_BAR() {
  for (win::Hwnd pane : windows_) {
    if (win::IsWindow(pane)) win::DestroyWindow(pane);
  }
}

std::string XSTATUS_BAR::TextOf(const StatusPane& pane) const {
  if (const auto* text = std::get_if<std::string>(&pane.content)) return *text;
  const auto& key = std::get<KeyStateTexts>(pane.content);
  return toggled_(key.virtual_key) ? key.on_text : key.off_text;
}

void XSTATUS_BAR::LayOut() {
  win::Rect client = win::GetClientRect(frame_);
  const int top = client.bottom - kHeight;
  // Fixed panes sit at the right; the first pane takes what they leave.
  int right = client.right;
  for (size_t i = panes_.size(); i-- > 1;) {
    int width = (panes_[i].width > 0 ? panes_[i].width : kKeyPaneChars * kCharWidth) + 2 * kGap;
    right -= width;
    win::MoveWindow(windows_[i], right, top, width - kGap, kHeight, true);
  }
  if (!windows_.empty())
    win::MoveWindow(windows_[0], client.left, top, right - kGap, kHeight, true);
}

void XSTATUS_BAR::Refresh() {
  for (size_t i = 0; i < panes_.size(); ++i) win::SetWindowText(windows_[i], TextOf(panes_[i]));
}

std::vector<std::string> XSTATUS_BAR::PaneTexts() const {
  std::vector<std::string> texts;
  for (win::Hwnd pane : windows_) texts.push_back(win::GetWindowText(pane));
  return texts;
}

}  // namespace frame

#pragma once
// The frame's status bar: a row of panes along the bottom of the frame. A pane shows a fixed text
// ("Ready") or the state of a toggle key (Insert: "INS"/"OVR", Num Lock: "NUM", Caps Lock: "CAPS").

#include <functional>
#include <string>
#include <variant>
#include <vector>

#include "platform/win/types.h"

namespace frame {

struct KeyStateTexts {
  int virtual_key;
  std::string off_text;  // shown while the key is not toggled
  std::string on_text;   // shown while it is
};

struct StatusPane {
  std::variant<std::string, KeyStateTexts> content;
  int width;  // in pixels; -1: the first pane takes what the others leave, the others fit a word
  int style;
};

// Whether a toggle key is on; the default answers "off" for every key.
using KeyToggleQuery = std::function<bool(int virtual_key)>;

class XSTATUS_BAR {
 public:
  XSTATUS_BAR(win::Hwnd frame, std::vector<StatusPane> panes, KeyToggleQuery toggled = {});
  ~XSTATUS_BAR();
  XSTATUS_BAR(const XSTATUS_BAR&) = delete;
  XSTATUS_BAR& operator=(const XSTATUS_BAR&) = delete;

  static constexpr int kHeight = 20;

  // Places the panes along the bottom of the frame's client area.
  void LayOut();
  // Shows the key states again.
  void Refresh();
  // The texts the panes show, in order.
  std::vector<std::string> PaneTexts() const;

 private:
  std::string TextOf(const StatusPane& pane) const;

  win::Hwnd frame_;
  std::vector<StatusPane> panes_;
  std::vector<win::Hwnd> windows_;
  KeyToggleQuery toggled_;
};

// The frame's four panes: "Ready", Insert, Num Lock, Caps Lock.
std::vector<StatusPane> FrameStatusPanes();

}  // namespace frame

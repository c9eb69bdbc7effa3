#pragma once
// The main frame's side of a business change: the rights state that signing a user in fills,
// and the rebuild of the menu bar for the new business. The frame derives from this class so
// that the toolbar finds it; a toolbar on any other window keeps the state for itself.

#include <string>
#include <vector>

namespace frame {

class FrameRights {
 public:
  virtual ~FrameRights() = default;

  // Rebuilds the menu bar for `business` with no user (the frame's MenuSet).
  virtual void MenuSetForBusiness(const std::string& /*business*/) {}

  std::string ACT_NEG;          // business of the frame's menus
  std::string ACT_USER;         // name of the signed-in user
  int ACT_UID = -1;             // that user's number; -1 without one
  std::vector<bool> MENU_VEC;   // entry n: right to menu id 1999 + n
  std::vector<bool> MENU_CHK;   // entry n: tick of menu id 1999 + n
  std::vector<bool> MENU_EDIT;  // cached edit rights, emptied by a business change
};

}  // namespace frame

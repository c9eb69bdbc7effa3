#pragma once
// The business-change dialog "CHANGE_NEG": asks a user name and password of the business the
// operator chose in the toolbar and checks them against USUARIOS. An accepted user is signed in
// through message 2220 to the toolbar and the frame; too many failures block the user.

#include <memory>
#include <string>

#include "lib/data/wtable.h"
#include "platform/win/types.h"

namespace frame {

class MTOOLBAR;

inline constexpr uint32_t kBusinessChanged = 2220;

class CHANGE_NEGOCIO : public std::enable_shared_from_this<CHANGE_NEGOCIO> {
 public:
  // Opens the dialog for `business`, centred on the screen; `toolbar` is disabled while it
  // exists. Null when the dialog could not be made (the toolbar stays enabled).
  static std::shared_ptr<CHANGE_NEGOCIO> New(MTOOLBAR* toolbar, const std::string& business);

  // Enter or "&Ok": from the name to the password, from the password to "&Ok", and on "&Ok"
  // the check. Returns whether a user was accepted (the dialog is then gone).
  bool PROCESAR();
  // Checks uName and uPass for Negocio; tells the user why an attempt failed and blocks the
  // user after too many failures (INTENTOS of NEGOCIOS). True when the user is accepted.
  bool Verif_CHANGE();

  std::string Negocio;
  std::string uName;
  std::string uPass;
  MTOOLBAR* oParent = nullptr;
  int xCount = 0;
  win::Hwnd hWnd = 0;

 private:
  intptr_t DialogProc(win::Hwnd hwnd, uint32_t message, win::WPARAM wparam, win::LPARAM lparam);
  // Counts a refused attempt against INTENTOS of the business; at the limit an existing `user`
  // is blocked (unless a supervisor) and the dialog closes.
  void CountFailure(data::WDBTable* user, bool supervisor);
  void Accept();
  void Close();

  bool accepted_ = false;
};

}  // namespace frame

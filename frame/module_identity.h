#pragma once
// Which module of the suite a program is: its window title, the short code that names its
// temporary files and marks its log records, whether a user must sign in, and the group position
// in the quit-request file through which an administrator can ask its users to leave.

#include <string>
#include <string_view>

namespace frame {

struct ModuleIdentity {
  const char* id;     // ID_MODULO
  const char* title;  // window title of the main frame
  const char* ext;    // EXT_MODULO
  bool login;         // DO_LOGIN
  int quit_group;     // position 2..18 of BLOQUEAD.!, 0 = none
};

// This program's identifier.
inline constexpr char kThisModule[] = "EX_ZIRUVUZ";

// The first row whose identifier equals `id`; null for an identifier in no row (the frame then
// keeps its caption, the code "XXX" and requires a login).
const ModuleIdentity* FindModuleIdentity(std::string_view id);
// Number of rows of the table.
int ModuleIdentityCount();

}  // namespace frame

#pragma once
// Signing a suite user in: the user's settings from their USUARIOS record, and their menu rights
// from MENUS (LOAD_DERECHOS).

#include <string>

#include "frame/toolbar/frame_rights.h"
#include "lib/data/wtable.h"

namespace frame {

// The width of USUARIOS.NOMBRE in `users`; the name is padded or cut to it for a seek.
int UserNameWidth(data::WDBTable& users);
// Business (15) + the name upper-cased and padded or cut to the name field: USUARIOS's key.
std::string UserKey(data::WDBTable& users, const std::string& business, const std::string& name);

// Takes the settings every sign-in sets from the record `users` stands on: XSUPERACCESS,
// XUSER_NUMBER, XUSER_ABREVIA ("XX" when the table has no ABREVIA), XDBACCESS from SUBBASE and
// XDO_CHAT from NO_CHAT when those fields exist.
void TakeUserSettings(data::WDBTable& users);

// Loads `user`'s rights for `business` into `rights` (ACT_NEG, ACT_USER, ACT_UID, MENU_VEC for
// menu ids 2000 to 7000, MENU_CHK) and takes the user's settings, XBUTTON_STYLE included. The
// selected area is kept.
void LOAD_DERECHOS(const std::string& user, const std::string& business, FrameRights& rights);

}  // namespace frame

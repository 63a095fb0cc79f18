// HostApp: the host's screens as the SessionApp of a web session.
//
// Each session gets its own connection to the application server (an AppServer on the site's
// database, as its user), its own TQuilApplication with the web dialogs, and the working-year
// preferences of the user's working date: the one the user chose last (UserPrefs.h), else
// the server's date. The browser's events (docs/api.md) go through the
// application's event boundary, so a client error becomes an error message, a refused action
// does nothing, and the action updates run after every event.
//
// Open screens and the dialogs shown modally are known to the browser by a number that is unique
// in the session. The state sends the list of open screens, the active one drawn in full, and the
// modal dialogs; the menu lists only the screens the user may open (bit 0 of the user's rights on
// the class), and opening any other is refused by the host as well.
//
// The screens module must be registered with FormManager() before sessions start.
#pragma once

#include "web/SessionApp.h"

namespace quil::web {

//! The app `kavel serve` gives every session.
SessionAppFactory HostAppFactory();

}  // namespace quil::web

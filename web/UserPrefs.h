// The user's preferences, kept between sessions: the working date and two choices of display
// (the Davinci colour, lesson places of every location).
//
// They are stored with the user's settings on the application server under the key "AdminPrefs"
// (format at the top of UserPrefs.cpp) and read back when the user's next session starts. A
// missing value keeps the default of the session's AdminPrefs; a stored value that cannot be used
// is ignored the same way, and for the working date the user is told (once: the unusable value is
// removed). Plain functions on the session's connection; they run on the session's thread like
// everything else it does.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "host/base/DateTime.h"
#include "host/data/AppServer.h"
#include "host/forms/AdminPrefs.h"

namespace quil::web {

//! The settings key under which the preferences are stored.
inline constexpr std::string_view kAdminPrefsKey = "AdminPrefs";

//! Reads the stored preferences of the connection's user over `prefs`, which holds the defaults
//! (the server's date as working date). Returns what the user must be told when a stored working
//! date could not be used (and was removed), "" otherwise.
std::string LoadAdminPrefs(IAppServer& server, AdminPrefs& prefs);
//! Stores the working date and the two choices; other keys and sections are kept.
void StoreAdminPrefs(IAppServer& server, const AdminPrefs& prefs);

//! A working date typed by the user ("dd/mm/jjjj"): a client error "'...' is geen geldige datum"
//! when it is no date, AdminPrefs's message when it lies outside the working dates.
TDateTime ParseWerkDatum(std::string_view text);
//! A colour chosen by the user ("#rrggbb") as 0xRRGGBB; a client error "'...' is geen kleur"
//! otherwise.
int32_t ParseDavinciKleur(std::string_view text);
//! 0xRRGGBB as "#rrggbb".
std::string DavinciKleurText(int32_t rgb);

}  // namespace quil::web

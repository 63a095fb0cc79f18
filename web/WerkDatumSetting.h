// The working date of a user, kept between sessions.
//
// Each user has a working date (`WerkDatum`) that fixes the working year of every screen. It is
// stored with the user's settings on the application server under the key "AdminPrefs" (format
// at the top of WerkDatumSetting.cpp) and read back when the user's next session starts; a
// missing or unreadable value gives the server's date. Plain functions on the session's
// connection; they run on the session's thread like everything else it does.
#pragma once

#include <string_view>

#include "host/base/DateTime.h"
#include "host/data/AppServer.h"

namespace quil::web {

//! The settings key under which the working date is stored.
inline constexpr std::string_view kAdminPrefsKey = "AdminPrefs";

//! The stored working date of the connection's user; `fallback` when none is stored or it no
//! longer reads as a date.
TDateTime ReadWerkDatum(IAppServer& server, TDateTime fallback);
void WriteWerkDatum(IAppServer& server, TDateTime werkDatum);

//! A working date typed by the user ("dd/mm/jjjj"); a client error "'...' is geen geldige datum"
//! otherwise.
TDateTime ParseWerkDatum(std::string_view text);

}  // namespace quil::web

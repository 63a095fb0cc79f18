// Storage format: the settings text under "AdminPrefs" is INI text (TSettingsFile), the date in
// ISO order so that it reads the same whatever the date format of the day:
//
//   [Werkjaar]
//   WerkDatum=2025-10-01
//   [Weergave]
//   DavinciKleur=#ffffc0
//   VWOToonAlleLesplaatsen=1
//
// Other keys and sections are left alone when the preferences are written.
#include "web/UserPrefs.h"

#include <cstdio>

#include "host/base/Errors.h"
#include "host/base/Strings.h"
#include "host/base/SysUtils.h"
#include "host/forms/Colors.h"
#include "host/forms/SettingsFile.h"

namespace quil::web {

namespace {

constexpr std::string_view kWerkjaar = "Werkjaar";
constexpr std::string_view kWerkDatum = "WerkDatum";
constexpr std::string_view kWeergave = "Weergave";
constexpr std::string_view kDavinciKleur = "DavinciKleur";
constexpr std::string_view kToonAlleLesplaatsen = "VWOToonAlleLesplaatsen";

const FormatSettings& IsoDates() {
  static const FormatSettings iso = [] {
    FormatSettings fs;
    fs.DateSeparator = '-';
    fs.ShortDateFormat = "yyyy/mm/dd";
    return fs;
  }();
  return iso;
}

bool TryParseKleur(std::string_view text, int32_t& rgb) {
  TColor color = 0;
  if (!HtmlToColor(text, color)) return false;
  rgb = ColorToRGB(color);
  return true;
}

}  // namespace

std::string LoadAdminPrefs(IAppServer& server, AdminPrefs& prefs) {
  TSettingsFile settings = TSettingsFile::FromText(server.ReadSettings(kAdminPrefsKey));

  int32_t kleur = 0;
  if (TryParseKleur(settings.ReadString(kWeergave, kDavinciKleur, ""), kleur)) {
    prefs.SetDavinciKleur(kleur);
  }
  prefs.SetVWOToonAlleLesplaatsen(
      settings.ReadBool(kWeergave, kToonAlleLesplaatsen, prefs.VWOToonAlleLesplaatsen()));

  const std::string text = settings.ReadString(kWerkjaar, kWerkDatum, "");
  if (text.empty()) return "";
  TDateTime date;
  if (text.size() == 10 && TryStrToDate(text, date, IsoDates()) &&
      AdminPrefs::IsValidWerkDatum(date)) {
    prefs.SetWerkDatum(date);
    return "";
  }
  // Removed, so that the user is told once; the next change of the date stores a good one.
  settings.DeleteKey(kWerkjaar, kWerkDatum);
  server.WriteSettings(kAdminPrefsKey, settings.Text());
  return Format("De bewaarde werkdatum '%s' kan niet gebruikt worden; de werkdatum is %s.", text,
                DateToStr(prefs.WerkDatum()));
}

void StoreAdminPrefs(IAppServer& server, const AdminPrefs& prefs) {
  TSettingsFile settings = TSettingsFile::FromText(server.ReadSettings(kAdminPrefsKey));
  settings.WriteString(kWerkjaar, kWerkDatum,
                       FormatDateTime("yyyy/mm/dd", prefs.WerkDatum(), IsoDates()));
  settings.WriteString(kWeergave, kDavinciKleur, DavinciKleurText(prefs.DavinciKleur()));
  settings.WriteBool(kWeergave, kToonAlleLesplaatsen, prefs.VWOToonAlleLesplaatsen());
  server.WriteSettings(kAdminPrefsKey, settings.Text());
}

TDateTime ParseWerkDatum(std::string_view text) {
  TDateTime date;
  if (!TryStrToDate(text, date)) {
    RaiseClientError(Format("'%s' is geen geldige datum", EchoText(text)));
  }
  // Refused here already, before anything is stored or assigned.
  AdminPrefs::CheckWerkDatum(date);
  return DateOf(date);
}

int32_t ParseDavinciKleur(std::string_view text) {
  int32_t rgb = 0;
  if (!TryParseKleur(text, rgb)) RaiseClientError(Format("'%s' is geen kleur", EchoText(text)));
  return rgb;
}

std::string DavinciKleurText(int32_t rgb) {
  char text[8];
  std::snprintf(text, sizeof text, "#%06x", static_cast<unsigned>(rgb) & 0xFFFFFFu);
  return text;
}

}  // namespace quil::web

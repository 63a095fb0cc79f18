// Storage format: the settings text under "AdminPrefs" is INI text (TSettingsFile) with one
// section and one key, the date in ISO order so that it reads the same whatever the date format
// of the day:
//
//   [Werkjaar]
//   WerkDatum=2025-10-01
//
// Other keys and sections are left alone when the date is written, so later preferences can join
// it under the same key.
#include "web/WerkDatumSetting.h"

#include <string>

#include "host/base/Errors.h"
#include "host/base/SysUtils.h"
#include "host/forms/SettingsFile.h"

namespace quil::web {

namespace {

constexpr std::string_view kSection = "Werkjaar";
constexpr std::string_view kWerkDatum = "WerkDatum";

const FormatSettings& IsoDates() {
  static const FormatSettings iso = [] {
    FormatSettings fs;
    fs.DateSeparator = '-';
    fs.ShortDateFormat = "yyyy/mm/dd";
    return fs;
  }();
  return iso;
}

}  // namespace

TDateTime ReadWerkDatum(IAppServer& server, TDateTime fallback) {
  const TSettingsFile settings = TSettingsFile::FromText(server.ReadSettings(kAdminPrefsKey));
  const std::string text = settings.ReadString(kSection, kWerkDatum, "");
  TDateTime date;
  if (text.size() != 10 || !TryStrToDate(text, date, IsoDates())) return fallback;
  return date;
}

void WriteWerkDatum(IAppServer& server, TDateTime werkDatum) {
  TSettingsFile settings = TSettingsFile::FromText(server.ReadSettings(kAdminPrefsKey));
  settings.WriteString(kSection, kWerkDatum, FormatDateTime("yyyy/mm/dd", werkDatum, IsoDates()));
  server.WriteSettings(kAdminPrefsKey, settings.Text());
}

TDateTime ParseWerkDatum(std::string_view text) {
  TDateTime date;
  if (!TryStrToDate(text, date))
    RaiseClientError(Format("'%s' is geen geldige datum", std::string(text)));
  return DateOf(date);
}

}  // namespace quil::web

// The demo's school holidays and participations.
//
// Holidays of every school year the demo has (the working year and two on either side), by the
// usual rules of the region's calendar: a week around 1 November, Armistice Day, two weeks from
// the Monday of Christmas week, the carnival week (Easter less 48 days, Monday to Sunday), the two
// Easter weeks from Easter Monday, Labour Day, Ascension Day with the Friday after, Whit Monday and
// the summer months. Each centre has one day of its own: the first a teachers' study day, the
// second a local day off. Participations: two pupils in every lesson before 1 October of the
// working year, so that generating lessons anew has lessons it must keep.
#include "host/base/DateTime.h"
#include "server/db/ValueCodec.h"
#include "server/seed/DemoSeed.h"

namespace quil::server::demo {

namespace {

//! Easter Sunday of a year (Gregorian calendar, the anonymous algorithm).
TDateTime Easter(int year) {
  int a = year % 19, b = year / 100, c = year % 100, d = b / 4, e = b % 4;
  int f = (b + 8) / 25, g = (b - f + 1) / 3, h = (19 * a + b - d - g + 15) % 30;
  int i = c / 4, k = c % 4, l = (32 + 2 * e + 2 * i - h - k) % 7, m = (a + 11 * h + 22 * l) / 451;
  int month = (h + l - 7 * m + 114) / 31, day = (h + l - 7 * m + 114) % 31 + 1;
  return EncodeDate(year, month, day);
}

TDateTime MondayOfWeek(TDateTime date) {
  return date - (DayOfTheWeek(date) - 1);
}

void Holiday(Seed& s, int institution, const char* description, TDateTime from, TDateTime to) {
  s.w.Insert("VAKANTIE", {{"VAK_ID", Int(s.Next("VAKANTIE"))},
                          {"VAK_INSTELLING_FK", institution == 0 ? Variant() : Int(institution)},
                          {"VAK_OMSCHRIJVING", Text(description)},
                          {"VAK_VAN", Text(DateToSql(from))},
                          {"VAK_TOT", Text(DateToSql(to))},
                          {"VAK_VERANDERDDOOR", Int(1)},
                          {"VAK_VERANDERDOP", Text(kChangedOn)}});
}

}  // namespace

void SeedHolidays(Seed& s) {
  for (int y = s.year - 2; y <= s.year + 2; ++y) {
    TDateTime autumn = MondayOfWeek(EncodeDate(y, 11, 1));
    Holiday(s, 0, "Herfstvakantie", autumn, autumn + 6);
    Holiday(s, 0, "Wapenstilstand", EncodeDate(y, 11, 11), EncodeDate(y, 11, 11));
    TDateTime christmas = EncodeDate(y, 12, 25);
    TDateTime winter =
        DayOfTheWeek(christmas) >= 6 ? MondayOfWeek(christmas) + 7 : MondayOfWeek(christmas);
    Holiday(s, 0, "Kerstvakantie", winter, winter + 13);
    TDateTime easter = Easter(y + 1);
    Holiday(s, 0, "Krokusvakantie", easter - 48, easter - 42);
    Holiday(s, 0, "Paasvakantie", easter + 1, easter + 14);
    Holiday(s, 0, "Dag van de Arbeid", EncodeDate(y + 1, 5, 1), EncodeDate(y + 1, 5, 1));
    Holiday(s, 0, "Hemelvaart", easter + 39, easter + 40);
    Holiday(s, 0, "Pinkstermaandag", easter + 50, easter + 50);
    Holiday(s, 0, "Zomervakantie", EncodeDate(y + 1, 7, 1), EncodeDate(y + 1, 8, 31));
    Holiday(s, 1, "Pedagogische studiedag", autumn + 14, autumn + 14);
    Holiday(s, 2, "Lokale verlofdag", easter - 40, easter - 40);
  }
}

void SeedParticipations(Seed& s) {
  auto lessons = s.db.Prepare("SELECT VWL_ID FROM VWOLES WHERE VWL_DATUM < :DATUM ORDER BY VWL_ID");
  lessons->BindText(0, DateToSql(EncodeDate(s.year, 10, 1)));
  std::vector<int64_t> ids;
  while (lessons->Step()) ids.push_back(lessons->ColumnInt64(0));
  for (int64_t lesson : ids) {
    for (int pupil = 1; pupil <= 2; ++pupil) {
      s.w.Insert("VWOPARTICIPATIE", {{"VPA_ID", Int(s.Next("VWOPARTICIPATIE"))},
                                     {"VPA_VWOLES_FK", Int(lesson)},
                                     {"VPA_CURSIST", Text("Cursist " + std::to_string(pupil))},
                                     {"VPA_VERANDERDDOOR", Int(1)},
                                     {"VPA_VERANDERDOP", Text(kChangedOn)}});
    }
  }
}

}  // namespace quil::server::demo

// The working-year preferences: the working date fixes the year, all or nothing, and the year's id
// comes from the server's list of school years.
#include "host/forms/AdminPrefs.h"

#include <gtest/gtest.h>

#include "host/base/Errors.h"
#include "host/base/SchoolYear.h"
#include "host/base/SysUtils.h"
#include "host/data/MemoryAppServer.h"

namespace quil {
namespace {

TDateTime D(int day, int month, int year) {
  return EncodeDate(year, month, day);
}

TEST(AdminPrefsTest, WorkingDateFixesTheWorkingYear) {
  AdminPrefs prefs(D(31, 8, 2025) + 0.5);
  EXPECT_EQ(prefs.WerkJaar(), 2024);
  EXPECT_EQ(prefs.WerkDatum(), D(31, 8, 2025));
  EXPECT_EQ(prefs.StartOfWerkJaar(), D(1, 9, 2024));
  EXPECT_EQ(prefs.EndOfWerkJaar(), D(31, 8, 2025));
  EXPECT_EQ(prefs.WerkJaarID(), -1);
  EXPECT_TRUE(prefs.ConfirmDeletion());
  EXPECT_EQ(DateToStr(AdminPrefs::EndOfZovive()), "31/12/2999");

  prefs.SetWerkJaarID(12);
  prefs.SetWerkDatum(D(1, 6, 2025));
  EXPECT_EQ(prefs.WerkJaarID(), 12) << "same working year keeps its id";
  prefs.SetWerkDatum(D(1, 9, 2025));
  EXPECT_EQ(prefs.WerkJaar(), 2025);
  EXPECT_EQ(prefs.StartOfWerkJaar(), D(1, 9, 2025));
  EXPECT_EQ(prefs.EndOfWerkJaar(), D(31, 8, 2026));
  EXPECT_EQ(prefs.WerkJaarID(), -1) << "the id of another year is unknown";

  AdminPrefs today;
  EXPECT_EQ(today.WerkDatum(), Date());
  EXPECT_EQ(today.WerkJaar(), GetSchooljaarFrom(Date()));
}

TEST(AdminPrefsTest, AWorkingDateOutOfRangeIsRefusedAndChangesNothing) {
  AdminPrefs prefs(D(1, 10, 2025));
  prefs.SetWerkJaarID(7);
  for (TDateTime date :
       {D(1, 1, 1), D(31, 8, 1), D(1, 9, 9999), D(31, 12, 9999), TDateTime(-1e9), TDateTime(1e9)}) {
    SCOPED_TRACE(date.value);
    EXPECT_FALSE(AdminPrefs::IsValidWerkDatum(date));
    try {
      prefs.SetWerkDatum(date);
      ADD_FAILURE() << "accepted";
    } catch (const EClientError& e) {
      EXPECT_STREQ(e.what(), "De werkdatum moet tussen 01/09/0001 en 31/08/9999 liggen");
    }
    EXPECT_EQ(prefs.WerkDatum(), D(1, 10, 2025));
    EXPECT_EQ(prefs.WerkJaar(), 2025);
    EXPECT_EQ(prefs.StartOfWerkJaar(), D(1, 9, 2025));
    EXPECT_EQ(prefs.EndOfWerkJaar(), D(31, 8, 2026));
    EXPECT_EQ(prefs.WerkJaarID(), 7);
  }
  // The first and last days still have a school year with bounds that are dates.
  prefs.SetWerkDatum(D(1, 9, 1));
  EXPECT_EQ(prefs.WerkJaar(), 1);
  prefs.SetWerkDatum(D(31, 8, 9999) + 0.5);
  EXPECT_EQ(prefs.WerkJaar(), 9998);
  EXPECT_EQ(DateToStr(GetSchooljaarEndExtFrom(prefs.WerkDatum())), "30/09/9999");
}

TEST(AdminPrefsTest, TheWorkingYearsIdComesFromTheServersSchoolYears) {
  MemoryAppServer server;
  server.AddProvider("DSPSelectSJ",
                     {{"SJ_ID", FieldType::Integer}, {"SJ_CODE", FieldType::String, 4}}, "SJ_ID",
                     {{Variant(11), Variant("2024")}, {Variant(12), Variant("2025")}});
  EXPECT_EQ(GetSchooljaarID(server, 2025), 12);
  EXPECT_EQ(GetSchooljaarID(server, 2024), 11);
  EXPECT_EQ(GetSchooljaarID(server, 2026), -1);
}

}  // namespace
}  // namespace quil

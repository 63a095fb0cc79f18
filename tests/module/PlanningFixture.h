// A session with a lesson list in memory, as the lesson screens hand it to the planning dialogs:
// lessons of two organised module variants, staff, rooms and lesson places.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "host/base/SysUtils.h"
#include "host/data/ClientDataSet.h"
#include "host/data/DMQuil.h"
#include "host/data/DataSource.h"
#include "host/data/MemoryAppServer.h"
#include "host/forms/AdminPrefs.h"
#include "host/forms/QuilApplication.h"
#include "host/forms/ScriptedDialogs.h"
#include "planning/VWOLes.h"

namespace kavel::testing {

using namespace quil;

inline std::vector<FieldDef> LessonFields() {
  return {{"VWL_ID", FieldType::Integer, 0, 0, true},
          {"VWL_INGMODULEVARIANT_FK", FieldType::Integer, 0, 0, true},
          {"VWL_DATUM", FieldType::Date, 0, 0, true},
          {"VWL_VANUUR", FieldType::Time, 0, 0, true},
          {"VWL_TOTUUR", FieldType::Time, 0, 0, true},
          {"VWL_LESUREN", FieldType::Currency, 9, 3, true},
          {"VWL_LESGEVER_FK", FieldType::Integer},
          {"VWL_LOKAAL_FK", FieldType::Integer},
          {"VWL_LESPLAATS_FK", FieldType::Integer},
          {"VWL_FLAGS", FieldType::Integer}};
}

class PlanningTest : public ::testing::Test {
 protected:
  void SetUp() override {
    server.AddProvider("DSPLessen", LessonFields(), "VWL_ID");
    server.AddProvider("DSPPersoneel",
                       {{"PS_ID", FieldType::Integer},
                        {"PS_CODE", FieldType::String, 10},
                        {"PS_VOORNAAM", FieldType::String, 50},
                        {"PS_NAAM", FieldType::String, 50}},
                       "PS_ID",
                       {{Variant(5), Variant("AJ"), Variant("An"), Variant("Janssens")},
                        {Variant(6), Variant("BP"), Variant("Bart"), Variant("Peeters")}});
    server.AddProvider("DSPLokalen",
                       {{"LK_ID", FieldType::Integer},
                        {"LK_CODE", FieldType::String, 15},
                        {"LK_OMSCHRIJVING", FieldType::String, 80}},
                       "LK_ID", {{Variant(20), Variant("A.101"), Variant("Leslokaal")}});
    server.AddProvider("DSPLesplaatsen",
                       {{"VLP_ID", FieldType::Integer},
                        {"VLP_NUMMER", FieldType::Integer},
                        {"VLP_OMSCHRIJVING", FieldType::String, 80}},
                       "VLP_ID", {{Variant(30), Variant(1), Variant("Hoofdgebouw")}});
    prefs = std::make_shared<AdminPrefs>(EncodeDate(2026, 1, 5));
    app.SetAdminPrefs(prefs);
    lessons.SetProvName("DSPLessen");
    lessons.IDField = "VWL_ID";
    lessons.SetSortFields("VWL_DATUM");
    staff.SetProvName("DSPPersoneel");
    rooms.SetProvName("DSPLokalen");
    places.SetProvName("DSPLesplaatsen");
  }

  //! One lesson a day from `from` for `days` days, 18:00 to 20:30 (3 lesson times), for the
  //! module variant `imv`, with a room and a lesson place.
  void AddDailyLessons(int imv, TDateTime from, int days, bool withPlace = true) {
    auto& rows = server.Provider("DSPLessen").rows;
    for (int day = 0; day < days; ++day) {
      int id = static_cast<int>(rows.size()) + 1;
      rows.push_back({Variant(id), Variant(imv), Variant(from + day), Variant(EncodeTime(18, 0)),
                      Variant(EncodeTime(20, 30)), Variant(Currency(3)), Variant(6),
                      Variant(withPlace ? Variant(20) : Variant()),
                      withPlace ? Variant(30) : Variant(), Variant(0)});
    }
  }

  void OpenLists() {
    lessons.Open();
    staff.Open();
    rooms.Open();
    places.Open();
  }

  //! "dd/mm:field" of every lesson, in date order, for one field.
  std::string Column(const char* field) {
    std::string out;
    for (lessons.First(); !lessons.Eof(); lessons.Next()) {
      if (!out.empty()) out += ' ';
      out += FormatDateTime("dd/mm", lessons.FieldByName("VWL_DATUM").AsDateTime()) + ":" +
             lessons.FieldByName(field).AsString();
    }
    return out;
  }

  MemoryAppServer server;
  TDMQuil dm{server};
  ScriptedDialogs dialogs;
  TQuilApplication app{dm, dialogs};
  std::shared_ptr<AdminPrefs> prefs;
  TQuilClientDataSet lessons{&dm, "CDSLessen"};
  TQuilClientDataSet staff{&dm, "CDSPersoneel"};
  TQuilClientDataSet rooms{&dm, "CDSLokalen"};
  TQuilClientDataSet places{&dm, "CDSLesplaatsen"};
  TDataSource dsLessen{&lessons, "DSLessen"};
  TDataSource dsStaff{&staff};
  TDataSource dsRooms{&rooms};
  TDataSource dsPlaces{&places};
};

}  // namespace kavel::testing

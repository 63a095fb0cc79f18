// A small in-memory server with one provider of modules, and helpers that render what a dataset
// shows as one canonical text, so a scenario is checked with one comparison.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "host/base/SysUtils.h"
#include "host/data/ClientDataSet.h"
#include "host/data/DMQuil.h"
#include "host/data/MemoryAppServer.h"

namespace quil::testing {

inline std::vector<FieldDef> ModuleFields() {
  return {{"VOM_ID", FieldType::Integer, 0, 0, true},
          {"VOM_CODE", FieldType::String, 8, 0, true},
          {"VOM_OMSCHRIJVING", FieldType::String, 150},
          {"VOM_FLAGS", FieldType::Integer},
          {"VOM_SC_FK", FieldType::Integer},
          {"VOM_VAN", FieldType::Date}};
}

inline Row ModuleRow(int id, const char* code, const char* text, int flags, int school,
                     TDateTime van = TDateTime()) {
  return {Variant(id),    Variant(code),   Variant(text),
          Variant(flags), Variant(school), van.value == 0 ? Variant() : Variant(van)};
}

class DataSetTest : public ::testing::Test {
 protected:
  void SetUp() override {
    server.AddProvider("DSPModules", ModuleFields(), "VOM_ID",
                       {ModuleRow(1, "WIS", "Wiskunde", 0, 1, EncodeDate(2025, 9, 1)),
                        ModuleRow(2, "NED", "Nederlands", 1, 1, EncodeDate(2025, 9, 8)),
                        ModuleRow(3, "eng", "Engels", 3, 2),
                        ModuleRow(4, "FRA", "Frans", 2, 1, EncodeDate(2026, 1, 5))});
    server.Provider("DSPModules").paramNames = {"VOM_SC_FK"};
    ds.SetProvName("DSPModules");
    ds.IDField = "VOM_ID";
  }

  //! "id:code" of every visible record in order, the current one marked with '*'.
  std::string Shown() {
    std::string out;
    for (int i = 0; i < ds.RecordCount(); ++i) {
      Row row = ds.RowAt(i);
      if (!out.empty()) out += ' ';
      if (i + 1 == ds.RecNo()) out += '*';
      out += row[0].AsString() + ":" + row[1].AsString();
    }
    return out;
  }

  //! The server's table as "id:code" lines, in storage order.
  std::string Stored(const char* provider = "DSPModules") {
    std::string out;
    for (const Row& row : server.Provider(provider).rows) {
      if (!out.empty()) out += ' ';
      out += row[0].AsString() + ":" + row[1].AsString();
    }
    return out;
  }

  MemoryAppServer server;
  TDMQuil dm{server};
  TQuilClientDataSet ds{&dm, "CDSModules"};
};

}  // namespace quil::testing

// Provider reads: the catalogue against the schema, field types from the schema, parameters
// always bound, and the rows of the reference providers over the fixture.
#include <gtest/gtest.h>

#include "ServerTestUtil.h"
#include "host/base/Errors.h"
#include "server/providers/ProviderEngine.h"

namespace quil::server::testing {
namespace {

TEST(ProviderCatalogueTest, EveryProviderReadsFromTheSchemaWithTypedFields) {
  auto db = FixtureDb();
  ProviderEngine engine(*db, StandardProviders());
  for (const ProviderDef* def : StandardProviders().All()) {
    SCOPED_TRACE(def->name);
    const std::vector<FieldDef>* fields = nullptr;
    ASSERT_NO_THROW(fields = &engine.Fields(def->name));
    ASSERT_FALSE(fields->empty());
    bool writable = false;
    for (const FieldDef& field : *fields) writable = writable || !field.readOnly;
    EXPECT_EQ(writable, !def->updateTable.empty());
    EXPECT_NO_THROW(engine.GetRecords(def->name, Params()));
  }
}

TEST(ProviderTest, FieldDefinitionsComeFromTheSchema) {
  auto server = FixtureServer();
  DataPacket packet = server->GetRecords("DSPVWOAfwezigheidsCodes", MakeParams({{"IS_ID", 2}}));
  EXPECT_EQ(Render(packet, true),
            "VAC_ID:Integer(0,0) req\n"
            "VAC_INSTELLING_FK:Integer(0,0) req\n"
            "VAC_CODE:String(1,0) req\n"
            "VAC_OMSCHRIJVING:String(80,0) req\n"
            "VAC_KLEUR:Integer(0,0) req\n"
            "VAC_PARTICIPATIESTATUS_FK:Integer(0,0) req\n"
            "VAC_PARTICIPATIESTATUSBEV_FK:Integer(0,0) req\n"
            "VAC_FLAGS:Integer(0,0)\n"
            "VAC_VERANDERDDOOR:Integer(0,0) req\n"
            "VAC_VERANDERDOP:DateTime(0,0) req\n"
            "VAC_PARTICIPATIESTATUS:String(150,0) ro\n");
}

// A decimal column is read as Currency and a date, time and 64-bit id by their declared types,
// whatever the stored value looks like.
TEST(ProviderTest, ValuesAreReadByTheirDeclaredType) {
  auto server = FixtureServer();
  server->db().ExecuteScript(R"sql(
    INSERT INTO VWOMATERIAAL (VWM_ID, VWM_INSTELLING_FK, VWM_CODE, VWM_OMSCHRIJVING, VWM_PRIJS,
      VWM_FLAGS, VWM_ZEVENREKENING_FK, VWM_VERANDERDDOOR, VWM_VERANDERDOP)
      VALUES (1, 1, 'BOEK', 'Boek', 12.5, 8, 3, 1, '2025-08-25 10:00:00'),
             (2, 1, 'PEN', 'Pen', '0.35', 9, NULL, 1, '2025-08-25 10:00:00');
  )sql");
  DataPacket packet = server->GetRecords("DSPVWOMaterialen", MakeParams({{"IS_ID", 1}}));
  int price = packet.FieldIndex("VWM_PRIJS");
  EXPECT_EQ(packet.fields[price].type, FieldType::Currency);
  EXPECT_EQ(packet.fields[price].scale, 2);
  ASSERT_EQ(packet.rows.size(), 2u);
  EXPECT_EQ(packet.rows[0][price], Variant(Currency::FromRaw(125000)));
  EXPECT_EQ(packet.rows[1][price], Variant(Currency::FromRaw(3500)));
  EXPECT_EQ(packet.rows[0][packet.FieldIndex("VWM_ALGREK")], Variant("Geen rekening"));
  EXPECT_TRUE(packet.rows[1][packet.FieldIndex("VWM_ALGREK")].IsNull());
}

struct StaffCase {
  const char* provider;
  std::initializer_list<std::pair<const char*, Variant>> params;
  const char* names;
};

// Bart's employment ended on 30/06/2025; An's never ended.
TEST(ProviderTest, StaffIsSelectedByEmploymentOnADateOrInAPeriod) {
  auto server = FixtureServer();
  const StaffCase cases[] = {
      {"DSPSelectHuidigPersoneelInDienst",
       {{"IS_ID", 1}, {"WERKDATUM", EncodeDate(2025, 6, 30)}},
       "An,Bart,"},
      {"DSPSelectHuidigPersoneelInDienst",
       {{"IS_ID", 1}, {"WERKDATUM", EncodeDate(2025, 7, 1)}},
       "An,"},
      {"DSPSelectHuidigPersoneelInDienst",
       {{"IS_ID", 2}, {"WERKDATUM", EncodeDate(2025, 6, 1)}},
       ""},
      {"DSPSelectPersoneelInPeriode",
       {{"IS_ID", 1},
        {"BeginDatum", EncodeDate(2025, 6, 1)},
        {"EindDatum", EncodeDate(2025, 9, 1)}},
       "An,Bart,"},
      {"DSPSelectPersoneelInPeriode",
       {{"IS_ID", 1},
        {"BeginDatum", EncodeDate(2025, 7, 1)},
        {"EindDatum", EncodeDate(2025, 9, 1)}},
       "An,"},
  };
  for (const StaffCase& c : cases) {
    Params params;
    for (const auto& [name, value] : c.params) params.Add(name).value = value;
    DataPacket packet = server->GetRecords(c.provider, params);
    std::string names;
    for (const Row& row : packet.rows) {
      names += row[packet.FieldIndex("PS_VOORNAAM")].AsString() + ",";
    }
    EXPECT_EQ(names, c.names) << c.provider;
  }
}

TEST(ProviderTest, SharedAndInstitutionListsOfCodedValues) {
  auto server = FixtureServer();
  EXPECT_EQ(
      Render(server->GetRecords("DSPSelectVWOParamsForCDS", MakeParams({{"P_Type", "VWPA"}}))),
      "1|AANWEZIG|Aanwezig|null\n2|AFWEZIG|Afwezig|null\n");
  EXPECT_EQ(Render(server->GetRecords("DSPSelectISParam",
                                      MakeParams({{"P_TYPE", "KLVP1"}, {"IS_ID", 1}}))),
            "4|A|Eigen waarde|null\n");
  EXPECT_EQ(server->GetRecords("DSPSelectISParam", MakeParams({{"P_TYPE", "KLVP1"}, {"IS_ID", 2}}))
                .rows.size(),
            0u);
  EXPECT_EQ(Render(server->GetRecords("ParmDropDown", MakeParams({{"P_TYPE", "ALREK"}}))),
            "3|?|null|Geen rekening\n");
}

// Text parameters are bound: quotes and statement separators are matched literally and never
// change the statement.
TEST(ProviderTest, ParametersAreBoundNeverPastedIntoSql) {
  auto server = FixtureServer();
  const char* const hostile[] = {"VWPA' OR '1'='1", "x'; DROP TABLE PARAM; --",
                                 "'; DELETE FROM PARAM WHERE ''='"};
  for (const char* value : hostile) {
    EXPECT_EQ(server->GetRecords("ParmDropDown", MakeParams({{"P_TYPE", value}})).rows.size(), 0u)
        << value;
  }
  EXPECT_EQ(Render(server->GetRecords("ParmDropDown", MakeParams({{"P_TYPE", "X'Y"}}))),
            "5|QUOTE|null|Type met aanhalingsteken\n");
  auto count = server->db().Prepare("SELECT COUNT(*) FROM PARAM");
  ASSERT_TRUE(count->Step());
  EXPECT_EQ(count->ColumnInt64(0), 5);
}

TEST(ProviderTest, FetchParamsListsNamesAndTypes) {
  auto server = FixtureServer();
  Params params = server->FetchParams("DSPSelectPersoneelInPeriode");
  std::string text;
  for (const TParam& p : params) text += p.name + ":" + FieldTypeName(p.type) + ",";
  EXPECT_EQ(text, "IS_ID:Integer,BEGINDATUM:Date,EINDDATUM:Date,");
}

TEST(ProviderTest, UnknownProviderAndReadOnlyApplyAreClientErrors) {
  auto server = FixtureServer();
  EXPECT_THROW(server->GetRecords("DSPBestaatNiet", Params()), EClientError);
  DataPacket packet = server->GetRecords("DSPSelectSJ", Params());
  EXPECT_THROW(server->ApplyUpdates("DSPSelectSJ", DeltaFor(packet), 0, Params()), EClientError);
}

}  // namespace
}  // namespace quil::server::testing

// The detail screens of an organised module variant (materials, attainment targets,
// competences), opened as the module variant list opens them, on the demo data: what a material
// line takes from the material, what a new line starts with, and what the server stores.
#include "module/ScreenTest.h"
#include "structure/frmVWOIngModuleCompetenties.h"
#include "structure/frmVWOIngModuleMaterialen.h"
#include "structure/frmVWOIngModuleVarEindtermen.h"

namespace kavel::testing {
namespace {

using namespace quil;

//! The module variant list as the detail screens see their master: the current organised module
//! variant and the institution it belongs to.
class TModuleVariantMaster : public TQuilDBForm {
 public:
  TModuleVariantMaster(TQuilApplication& app, int imvId, int isId)
      : TQuilDBForm(app, "TVWOIngModuleVariantForm"),
        CDSModuleVarianten(AddDataSet("CDSVWOIngModuleVarianten")),
        DSModuleVarianten(AddDataSource("DSVWOIngModuleVarianten", &CDSModuleVarianten)) {
    CDSModuleVarianten.CreateDataSet(
        {{"IMV_ID", FieldType::Integer}, {"IS_ID", FieldType::Integer}});
    CDSModuleVarianten.Append();
    CDSModuleVarianten.FieldByName("IMV_ID").SetAsInteger(imvId);
    CDSModuleVarianten.FieldByName("IS_ID").SetAsInteger(isId);
    CDSModuleVarianten.Post();
  }
  TQuilClientDataSet& CDSModuleVarianten;
  TDataSource& DSModuleVarianten;
};

class IngModuleVariantDetailsTest : public ScreenTest {
 protected:
  void TearDown() override {
    // The screens hang on the master of this fixture: they close before it goes.
    for (TQuilDBForm* form : app.Forms()) app.CloseForm(*form);
    ScreenTest::TearDown();
  }

  template <class TScreen>
  TScreen& OpenDetail(const char* className) {
    TQuilDBForm* opened = nullptr;
    const TQuilFormLink link{className, "Detail", "DSVWOIngModuleVarianten"};
    EXPECT_EQ(app.Run([&] { opened = &app.CreateLinkedForm(master, link); }), TEventResult::Done)
        << Messages();
    return dynamic_cast<TScreen&>(*opened);
  }

  //! The organised module variant of the demo that needs the most materials.
  int DemoModuleVariant() {
    return std::stoi(Stored(
        "SELECT IMD_INGMODULEVARIANT_FK FROM VWOINGMODULEVARIANTDETAIL WHERE IMD_RECORDTYPE = 'M' "
        "GROUP BY IMD_INGMODULEVARIANT_FK ORDER BY COUNT(*) DESC, IMD_INGMODULEVARIANT_FK "
        "LIMIT 1"));
  }
  //! The lines of a record type of the module variant: description | quantity | flags | cost
  //! price | material.
  std::string Lines(const char* type) {
    return Stored(
        "SELECT IMD_OMSCHRIJVING, IMD_AANTAL, IMD_FLAGS, IMD_KOSTPRIJS, "
        "IMD_MATERIAAL_FK FROM VWOINGMODULEVARIANTDETAIL WHERE "
        "IMD_INGMODULEVARIANT_FK = " +
        std::to_string(imv) + " AND IMD_RECORDTYPE = '" + type + "' ORDER BY IMD_OMSCHRIJVING");
  }

  int imv = DemoModuleVariant();
  TModuleVariantMaster master{app, imv, 1};
};

TEST_F(IngModuleVariantDetailsTest, AMaterialAddedCarriesItsPriceAndAClearedCostPriceIsStoredAs0) {
  auto& screen = OpenDetail<TVWOIngModuleMaterialenForm>("TVWOIngModuleMaterialenForm");
  const std::string before = Lines("M");
  // The institution's active materials, of which the module variant needs two already.
  ASSERT_EQ(screen.CDSSelectMateriaal.RecordCount(), 5);
  ASSERT_TRUE(screen.CDSSelectMateriaal.LocateID(3, "VWM_ID"));
  const std::string material =
      Stored("SELECT VWM_OMSCHRIJVING, 1, 0, VWM_PRIJS, 3 FROM VWOMATERIAAL WHERE VWM_ID = 3");
  EXPECT_EQ(Press(screen, "AAdd"), TEventResult::Done) << Messages();
  EXPECT_EQ(screen.CDSDetails.FieldByName("IMD_MATERIAAL_FK").AsInteger(), 3);
  EXPECT_EQ(Lines("M").size(), before.size() + material.size());
  EXPECT_NE(Lines("M").find(material), std::string::npos) << Lines("M");

  Fill(screen, {{"EdtKostprijs", ""}, {"EdtAantal", "2"}, {"CBAankoopVerplicht", "1"}});
  EXPECT_EQ(Command(screen, "DSIngModuleVariantDetails", TDataSetCommand::Post), TEventResult::Done)
      << Messages();
  const std::string changed = Stored(
      "SELECT IMD_AANTAL, IMD_FLAGS, IMD_KOSTPRIJS FROM VWOINGMODULEVARIANTDETAIL "
      "WHERE IMD_MATERIAAL_FK = 3 AND IMD_INGMODULEVARIANT_FK = " +
      std::to_string(imv));
  EXPECT_EQ(changed, "2 | 1 | 0\n");
  EXPECT_EQ(Messages(), "");
}

TEST_F(IngModuleVariantDetailsTest, RemovingALineAndWhatTheScreenShowsOfIt) {
  auto& screen = OpenDetail<TVWOIngModuleMaterialenForm>("TVWOIngModuleMaterialenForm");
  EXPECT_FALSE(screen.LCMateriaalGroep.Visible) << "the payment group is not shown";
  EXPECT_EQ(screen.CDSDetails.RecordCount(), 2);
  EXPECT_EQ(Press(screen, "ADelete"), TEventResult::Done) << Messages();
  EXPECT_EQ(screen.CDSDetails.RecordCount(), 1);
  const std::string left = Lines("M");
  EXPECT_EQ(std::count(left.begin(), left.end(), '\n'), 1) << left;
  EXPECT_EQ(Lines("E").empty(), false) << "other kinds of line are left alone";
}

TEST_F(IngModuleVariantDetailsTest, NewTargetsAndCompetencesGetQuantity1AndNoFlags) {
  struct Case {
    const char* className;
    const char* source;
    const char* type;
  };
  const Case cases[] = {
      {"TVWOIngModuleVarEindtermenForm", "DSIngModuleVariantDetails", "E"},
      {"TVWOIngModuleCompetentiesForm", "DSVWOIngModuleVariantDetails", "C"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.className);
    auto& screen = OpenDetail<TVWOIngModuleVariantDetailForm>(c.className);
    const std::string before = Lines(c.type);
    ASSERT_EQ(Command(screen, c.source, TDataSetCommand::Append), TEventResult::Done);
    Fill(screen, {{"EdtOmschrijving", "Aaa werkt zelfstandig"}});
    EXPECT_EQ(Command(screen, c.source, TDataSetCommand::Post), TEventResult::Done) << Messages();
    EXPECT_EQ(Lines(c.type), "Aaa werkt zelfstandig | 1 | 0 | null | null\n" + before);
    app.CloseForm(screen);
  }
}

TEST_F(IngModuleVariantDetailsTest, WithoutAModuleVariantTheListIsEmptyAndTakesNoLines) {
  master.CDSModuleVarianten.Edit();
  master.CDSModuleVarianten.FieldByName("IMV_ID").Clear();
  master.CDSModuleVarianten.Post();
  auto& screen = OpenDetail<TVWOIngModuleMaterialenForm>("TVWOIngModuleMaterialenForm");
  EXPECT_TRUE(screen.CDSDetails.IsEmpty());
  EXPECT_EQ(Press(screen, "AAdd"), TEventResult::Refused);
  EXPECT_EQ(Command(screen, "DSIngModuleVariantDetails", TDataSetCommand::Append),
            TEventResult::Refused);
}

}  // namespace
}  // namespace kavel::testing

// TKlasMaster: the class screen as the organised module variant screen sees its master, for the
// tests of that screen and of the dialogs it opens: De Linde (institution 1, school 1) and its
// classes of the demo year, with the class mark a cancellation sets declared among the class's
// fields. OpenOn opens the module variant screen on a class as the class screen's form link does.
#pragma once

#include <string>

#include "host/data/FieldDeclarations.h"
#include "module/ScreenTest.h"
#include "modulevariants/frmVWOIngModuleVariant.h"

namespace kavel::testing {

//! The class screen as the module variant screen sees its master: the institution and the
//! classes of its working year, the class mark a cancellation sets among the class's fields.
class TKlasMaster : public quil::TQuilDBForm {
 public:
  explicit TKlasMaster(quil::TQuilApplication& app)
      : quil::TQuilDBForm(app, "TVWOKlasForm"),
        CDSInstelling(AddDataSet("CDSInstelling")),
        CDSVWOKlas(AddDataSet("CDSVWOKlas", "DSPVWOKlas")),
        DSInstelling(AddDataSource("DSInstelling", &CDSInstelling)),
        DSVWOKlas(AddDataSource("DSVWOKlas", &CDSVWOKlas)) {
    CDSInstelling.CreateDataSet(
        {{"IS_ID", quil::FieldType::Integer}, {"SC_ID", quil::FieldType::Integer}});
    CDSInstelling.Append();
    CDSInstelling.FieldByName("IS_ID").SetAsInteger(1);
    CDSInstelling.FieldByName("SC_ID").SetAsInteger(1);
    CDSInstelling.Post();
    CDSVWOKlas.IDField = "VWK_ID";
    CDSVWOKlas.GetParams().Add("IS_ID", quil::FieldType::Integer);
    CDSVWOKlas.GetParams().Add("BEGINDATUM", quil::FieldType::Date).value =
        quil::EncodeDate(2025, 9, 1);
    CDSVWOKlas.GetParams().Add("EINDDATUM", quil::FieldType::Date).value =
        quil::EncodeDate(2026, 8, 31);
    quil::DeclareFields(CDSVWOKlas,
                        {quil::BitField("VWK_HEEFTAFGELASTEIMV", "Heeft afgelaste modulevarianten",
                                        "VWK_FLAGS", 27)});
    CDSVWOKlas.SetMasterdataSource(&DSInstelling);
    CDSVWOKlas.Open();
  }
  quil::TQuilClientDataSet& CDSInstelling;
  quil::TQuilClientDataSet& CDSVWOKlas;
  quil::TDataSource& DSInstelling;
  quil::TDataSource& DSVWOKlas;
};

//! A screen test on the module variant screen of a class of the demo.
class IngModuleVariantScreenTest : public ScreenTest {
 protected:
  void TearDown() override {
    for (quil::TQuilDBForm* form : app.Forms()) app.CloseForm(*form);
    ScreenTest::TearDown();
  }

  //! Opens the screen on a class, as the class screen's form link does.
  TVWOIngModuleVariantForm& OpenOn(int klas) {
    EXPECT_TRUE(master.CDSVWOKlas.LocateID(klas)) << "class " << klas;
    quil::TQuilDBForm* opened = nullptr;
    const quil::TQuilFormLink link{"TVWOIngModuleVariantForm", "Modulevarianten", "DSVWOKlas"};
    EXPECT_EQ(app.Run([&] { opened = &app.CreateLinkedForm(master, link); }),
              quil::TEventResult::Done)
        << Messages();
    return dynamic_cast<TVWOIngModuleVariantForm&>(*opened);
  }
  //! The one value a query returns.
  std::string Value(const std::string& sql) {
    std::string text = Stored(sql);
    if (!text.empty() && text.back() == '\n') text.pop_back();
    return text;
  }
  int KlasOf(int imv) {
    return std::stoi(Value("SELECT IMV_VWOKLAS_FK FROM VWOINGMODULEVARIANT WHERE IMV_ID = " +
                           std::to_string(imv)));
  }
  TVWOIngModuleVariantForm& OpenAt(int imv) {
    auto& screen = OpenOn(KlasOf(imv));
    EXPECT_TRUE(screen.CDSVWOIngModuleVarianten.LocateID(imv));
    return screen;
  }
  //! The first organised module variant of De Linde that Davinci knows, and one it does not.
  int Reported() {
    return std::stoi(
        Value("SELECT MIN(I.IMV_ID) FROM VWOINGMODULEVARIANT I JOIN VWOKLAS K ON K.VWK_ID = "
              "I.IMV_VWOKLAS_FK WHERE K.VWK_INSTELLING_FK = 1 AND I.IMV_DAVINCIID IS NOT NULL"));
  }
  int NotReported() {
    return std::stoi(
        Value("SELECT MIN(I.IMV_ID) FROM VWOINGMODULEVARIANT I JOIN VWOKLAS K ON K.VWK_ID = "
              "I.IMV_VWOKLAS_FK WHERE K.VWK_INSTELLING_FK = 1 AND I.IMV_DAVINCIID IS NULL"));
  }

  TKlasMaster master{app};
};

}  // namespace kavel::testing

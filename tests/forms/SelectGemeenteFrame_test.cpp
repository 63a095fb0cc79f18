// The municipality selector and an editor that takes only some characters, on an address record.
#include "host/forms/SelectGemeenteFrame.h"
#include "forms/FormsFixture.h"
#include "host/domain/TextChecks.h"

namespace quil::testing {
namespace {

class TAdresTestForm : public TQuilDBForm {
 public:
  explicit TAdresTestForm(TQuilApplication& app)
      : TQuilDBForm(app, "TAdresTestForm"),
        CDSAdressen(AddDataSet("CDSAdressen", "DSPAdressen")),
        DSAdressen(AddDataSource("DSAdressen", &CDSAdressen)),
        EdtCode(Add<TDBEdit>("EdtCode")),
        FrameGemeente(TSelectGemeenteFrame::Create(*this, "FrameGemeente", nullptr, DSAdressen,
                                                   "AD_GEMEENTE_FK")) {
    CDSAdressen.IDField = "AD_ID";
    EdtCode.DataSource = &DSAdressen;
    EdtCode.DataField = "AD_CODE";
    EdtCode.AllowedChars = std::string(NumericChars);
    for (const auto& dataset : DataSets()) dataset->Open();
    CDSAdressen.FieldByName("AD_CODE").DisplayLabel = "Code";
  }

  TQuilClientDataSet& CDSAdressen;
  TDataSource& DSAdressen;
  TDBEdit& EdtCode;
  TSelectGemeenteFrame& FrameGemeente;
};

class SelectGemeenteTest : public SessionTest {
 protected:
  SelectGemeenteTest() {
    auto row = [](int id, const char* post, const char* name, const char* main) {
      return Row{Variant(id), Variant(post), Variant(name), Variant(main)};
    };
    // In post code order, as the provider delivers them.
    server.AddProvider(
        "DSPSelectGemeente",
        {{"GM_ID", FieldType::Integer, 0, 0, true},
         {"GM_POSTNUMMER", FieldType::String, 10},
         {"GM_DEELGEMEENTE", FieldType::String, 50},
         {"GM_HOOFDGEMEENTE", FieldType::String, 50}},
        "GM_ID",
        {row(8, "1920", "Diegem", "Machelen"), row(1, "2000", "Antwerpen", "Antwerpen"),
         row(2, "2018", "Antwerpen", "Antwerpen"), row(3, "2600", "Berchem", "Antwerpen"),
         row(4, "7190", "Écaussinnes", "Écaussinnes"), row(5, "9000", "Gent", "Gent"),
         row(6, "9030", "Mariakerke", "Gent"), row(7, "9032", "Wondelgem", "Gent")});
    server.AddProvider("DSPAdressen",
                       {{"AD_ID", FieldType::Integer, 0, 0, true},
                        {"AD_CODE", FieldType::String, 12},
                        {"AD_GEMEENTE_FK", FieldType::Integer}},
                       "AD_ID", {{Variant(1), Variant("4711"), Variant(6)}});
    form = std::make_unique<TAdresTestForm>(app);
  }

  //! The choices for a search text, "text|text|...".
  std::string Choices(const char* search, int limit) {
    EXPECT_EQ(app.Run([&] { form->FrameGemeente.Search(search); }), TEventResult::Done);
    std::string out;
    for (const TSelectGemeenteFrame::Choice& choice : form->FrameGemeente.Matches(limit)) {
      if (!out.empty()) out += '|';
      out += choice.text;
    }
    return out;
  }

  std::unique_ptr<TAdresTestForm> form;
};

TEST_F(SelectGemeenteTest, ASearchNarrowsTheChoicesByPostCodeOrByName) {
  struct Case {
    const char* search;
    int limit;
    const char* choices;
  } cases[] = {
      {"20", 10, "2000 Antwerpen|2018 Antwerpen"},  // a post code starts with the digits
      {" 903 ", 10, "9030 Mariakerke|9032 Wondelgem"},
      {"gent", 10, "9000 Gent|9030 Mariakerke|9032 Wondelgem"},  // main municipality too
      {"ANTWERPEN", 2, "2000 Antwerpen|2018 Antwerpen"},
      {"antwerpen", 10, "2000 Antwerpen|2018 Antwerpen|2600 Berchem"},
      {"écaussinnes", 10, "7190 Écaussinnes"},
      {"MACHELEN", 10, "1920 Diegem"},
      {"9x", 10, ""},
      {"", 3, "1920 Diegem|2000 Antwerpen|2018 Antwerpen"},
      {"gent", 0, ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Choices(c.search, c.limit), c.choices) << '"' << c.search << "\" " << c.limit;
  }
  EXPECT_EQ(form->FrameGemeente.ListSource->DataSet()->RecordCount(), 8) << "never filtered";
}

TEST_F(SelectGemeenteTest, TheChosenMunicipalityShowsWhateverTheSearch) {
  EXPECT_EQ(Choices("2000", 10), "2000 Antwerpen");
  // Shown the same way by the frame and by whoever draws it as any lookup editor.
  const TDBLookupCombo& asLookup = form->FrameGemeente;
  EXPECT_EQ(asLookup.DisplayText(), "9030 Mariakerke");
  ASSERT_EQ(app.SetValue(*form, "FrameGemeente", "1"), TEventResult::Done);
  EXPECT_EQ(asLookup.DisplayText(), "2000 Antwerpen");
  EXPECT_EQ(form->FrameGemeente.ValueText(), "1");

  EXPECT_EQ(app.SetValue(*form, "FrameGemeente", "99"), TEventResult::ClientError);
  EXPECT_EQ(dialogs.Transcript(), "error: '99' komt niet voor in de lijst\n");
  EXPECT_EQ(form->FrameGemeente.ValueText(), "1");
  ASSERT_EQ(app.SetValue(*form, "FrameGemeente", ""), TEventResult::Done);
  EXPECT_EQ(asLookup.DisplayText(), "");
}

TEST_F(SelectGemeenteTest, AnEditWithAllowedCharactersRefusesAnyOther) {
  struct Case {
    const char* typed;
    TEventResult result;
    const char* stored;
  } cases[] = {
      {"0123", TEventResult::Done, "0123"},
      {"12a", TEventResult::ClientError, "4711"},
      {"12 3", TEventResult::ClientError, "4711"},
      {"-5", TEventResult::ClientError, "4711"},
      {"", TEventResult::Done, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    dialogs.Clear();
    EXPECT_EQ(app.SetValue(*form, "EdtCode", c.typed), c.result);
    EXPECT_EQ(form->CDSAdressen.FieldByName("AD_CODE").AsString(), c.stored);
    if (c.result == TEventResult::ClientError) {
      EXPECT_EQ(dialogs.Transcript(),
                "error: In 'Code' kunnen enkel deze tekens getypt worden: 0123456789\n");
      EXPECT_EQ(form->CDSAdressen.State(), DataSetState::Browse) << "no edit was started";
    }
    form->CDSAdressen.Cancel();
  }
}

}  // namespace
}  // namespace quil::testing

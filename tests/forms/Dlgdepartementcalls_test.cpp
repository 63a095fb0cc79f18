// The key text of the calls dialog: read strictly against the provider's parameters, and a key
// that is refused never reaches the server.
#include <gtest/gtest.h>

#include "FormsFixture.h"
#include "host/base/Errors.h"
#include "host/forms/Dlgdepartementcalls.h"

namespace quil::testing {
namespace {

const std::vector<std::string> kModuleVarSchool = {"IMV_ID", "SC_ID"};

TEST(CallsKey, ReadsPairsInAnyOrderWithTheProvidersSpelling) {
  using Pairs = std::vector<TCallsKeyPair>;
  EXPECT_EQ(ParseCallsKey("IMV_ID=12,SC_ID=3", "P", kModuleVarSchool),
            (Pairs{{"IMV_ID", 12}, {"SC_ID", 3}}));
  EXPECT_EQ(ParseCallsKey("sc_id=3,Imv_Id=007", "P", kModuleVarSchool),
            (Pairs{{"SC_ID", 3}, {"IMV_ID", 7}}));
  EXPECT_EQ(ParseCallsKey("IMV_ID=999999999999999999,SC_ID=0", "P", kModuleVarSchool),
            (Pairs{{"IMV_ID", 999999999999999999}, {"SC_ID", 0}}));
}

TEST(CallsKey, RefusesAnythingElseSayingWhy) {
  struct Case {
    const char* key;
    const char* why;
  };
  const char* notAPair =
      "is geen paar NAAM=nummer (paren gescheiden door een komma, zonder spaties)";
  const Case cases[] = {
      {"IMV_ID=1;DROP,SC_ID=1", notAPair},
      {"IMV_ID=,SC_ID=1", notAPair},
      {"IMV_ID=1, SC_ID=2", notAPair},
      {"IMV_ID=-1,SC_ID=2", notAPair},
      {"IMV_ID=1,SC_ID=2,", notAPair},
      {"", notAPair},
      {"=1,SC_ID=2", notAPair},
      {"IMV_ID=1234567890123456789,SC_ID=2", notAPair},
      {"IMV_ID=1 OR 1=1,SC_ID=2", notAPair},
      {"FOO=1,SC_ID=2", "'FOO' is geen sleutelveld (toegelaten: IMV_ID, SC_ID)"},
      {"IMV_ID=1,IMV_ID=2,SC_ID=3", "'IMV_ID' komt meer dan eens voor"},
      {"IMV_ID=1", "'SC_ID' ontbreekt"},
  };
  for (const Case& c : cases) {
    try {
      ParseCallsKey(c.key, "DSPDavinciModuleVarCursisten", kModuleVarSchool);
      ADD_FAILURE() << "accepted: " << c.key;
    } catch (const EClientError& e) {
      const std::string message = e.what();
      EXPECT_EQ(message.rfind("Ongeldige sleutel '" + std::string(c.key) +
                                  "' voor DSPDavinciModuleVarCursisten: ",
                              0),
                0u)
          << message;
      EXPECT_NE(message.find(c.why), std::string::npos) << c.key << " -> " << message;
    }
  }
}

class CallsDialogTest : public SessionTest {
 protected:
  CallsDialogTest() {
    server.AddProvider("DSPDavinciKlas",
                       {{"WC_ID", FieldType::LargeInt}, {"VWK_ID", FieldType::Integer}}, "WC_ID");
    server.Provider("DSPDavinciKlas").paramNames = {"VWK_ID"};
  }
};

TEST_F(CallsDialogTest, ARefusedKeyAsksTheServerNothing) {
  TDepartementCallsDialog dialog(app, {});
  const int before = server.getRecordsCalls;
  EXPECT_THROW(dialog.InitData(dm, "DSPDavinciKlas", "VWK_ID=1;DELETE"), EClientError);
  EXPECT_EQ(server.getRecordsCalls, before);
  EXPECT_EQ(dialog.CDSCalls(), nullptr);
}

TEST_F(CallsDialogTest, HeaderIsTheFormatFilledWithTheValues) {
  TDepartementCallsDialog dialog(app, {});
  dialog.SetHeader("Davinci communicatie voor les op %s van %s tot %s voor module var %s",
                   {"06/10/2025", "18:30:00", "21:30:00", "ENGA11"});
  EXPECT_EQ(dialog.LHeader.Caption,
            "Davinci communicatie voor les op 06/10/2025 van 18:30:00 tot 21:30:00 voor module "
            "var ENGA11");
}

}  // namespace
}  // namespace quil::testing

// The user's working date over HTTP: kept per user between sessions, a bad date refused, and the
// working year of the session's preferences following it for screens already open.
#include <gtest/gtest.h>

#include "HostTestScreen.h"
#include "WebTestUtil.h"
#include "core/kavelmod.h"
#include "host/base/SysUtils.h"
#include "server/seed/InitDb.h"
#include "web/HostApp.h"
#include "web/UserPrefs.h"

namespace quil::web::testing {
namespace {

class WerkDatumTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    QuilModuleEntry();
    RegisterWebTestForm();
  }

  // School years 2023 to 2027 (SJ_ID 1 to 5).
  WerkDatumTest() {
    auto db = server::OpenDatabase(path_);
    UserStore users(*db);
    users.SetPassword("demo", "demo1");
    users.SetPassword("admin", "admin1");
  }

  WebServerOptions Options() {
    WebServerOptions options;
    UseDatabase(options, path_);
    options.appFactory = HostAppFactory();
    options.threads = 4;
    return options;
  }

  //! The working-year part of the state after a fresh login.
  json PrefsAtLogin(int port, const std::string& login, const std::string& password) {
    Browser browser(port);
    EXPECT_EQ(browser.Login(login, password).status, 200);
    return browser.Get("/api/state").body["state"]["prefs"];
  }

  void StoreSettings(const std::string& login, const std::string& text) {
    auto db = server::OpenDatabase(path_);
    const int id = UserStore(*db).Find(login)->id;
    server::AppServer::Open(path_, id)->WriteSettings(kAdminPrefsKey, text);
  }

  static Reply SetWerkDatum(Browser& browser, const std::string& text) {
    return browser.Send({{"type", "werkdatum"}, {"value", text}});
  }

  testdb::TestDatabase database_{testdb::Content::Demo};
  std::string path_ = database_.location();
};

TEST_F(WerkDatumTest, TheWorkingDateIsKeptForTheSameUserOnly) {
  TestServer server(Options());
  const std::string today = DateToStr(Date());
  EXPECT_EQ(PrefsAtLogin(server.Port(), "demo", "demo1")["werkDatum"], today);

  Browser demo(server.Port());
  demo.Login("demo", "demo1");
  const Reply set = SetWerkDatum(demo, "15/03/2024");
  EXPECT_TRUE(set.body["dialog"].is_null()) << set.body;
  EXPECT_EQ(set.body["state"]["prefs"], json({{"werkDatum", "15/03/2024"},
                                              {"werkJaar", 2023},
                                              {"startOfWerkJaar", "01/09/2023"},
                                              {"endOfWerkJaar", "31/08/2024"},
                                              {"davinciKleur", "#ffffc0"},
                                              {"vwoToonAlleLesplaatsen", false}}));
  demo.Post("/api/logout", json::object());

  EXPECT_EQ(PrefsAtLogin(server.Port(), "demo", "demo1")["werkDatum"], "15/03/2024");
  EXPECT_EQ(PrefsAtLogin(server.Port(), "admin", "admin1")["werkDatum"], today);
}

TEST_F(WerkDatumTest, AStoredDateThatNoLongerReadsGivesTheServersDate) {
  const std::string today = DateToStr(Date());
  const struct {
    const char* stored;
    std::string expected;
  } cases[] = {
      {"[Werkjaar]\nWerkDatum=2024-03-15\n", "15/03/2024"},
      {"[werkjaar]\nwerkdatum=2024-03-15\n", "15/03/2024"},
      {"[Proef]\nTitel=x\n[Werkjaar]\nWerkDatum=2026-02-28\n", "28/02/2026"},
      {"", today},
      {"[Werkjaar]\nWerkDatum=2024-02-30\n", today},
      {"[Werkjaar]\nWerkDatum=15/03/2024\n", today},
      {"[Werkjaar]\nWerkDatum=2024-3-15\n", today},
      {"[Werkjaar]\nWerkDatum=\n", today},
      {"WerkDatum=2024-03-15\n", today},
      {"[Anders]\nWerkDatum=2024-03-15\n", today},
  };
  TestServer server(Options());
  for (const auto& c : cases) {
    StoreSettings("demo", c.stored);
    EXPECT_EQ(PrefsAtLogin(server.Port(), "demo", "demo1")["werkDatum"], c.expected) << c.stored;
  }
}

TEST_F(WerkDatumTest, ABadDateIsRefusedAndTheDateStays) {
  TestServer server(Options());
  Browser demo(server.Port());
  demo.Login("demo", "demo1");
  SetWerkDatum(demo, "01/10/2025");
  for (const char* bad : {"31/02/2025", "2025-10-15", "morgen", "", "15/13/2025", "1/10/2025x"}) {
    const Reply refused = SetWerkDatum(demo, bad);
    ASSERT_TRUE(refused.body["dialog"].is_object()) << bad << ": " << refused.body;
    EXPECT_EQ(refused.body["dialog"]["type"], "error");
    EXPECT_EQ(refused.body["dialog"]["text"], std::string("'") + bad + "' is geen geldige datum");
    const Reply answered = demo.Answered(refused.body["dialog"]["id"], 1);
    EXPECT_EQ(answered.body["state"]["prefs"]["werkDatum"], "01/10/2025") << bad;
  }
  EXPECT_EQ(PrefsAtLogin(server.Port(), "demo", "demo1")["werkDatum"], "01/10/2025");
}

// Dates the school-year arithmetic cannot reckon with: refused before anything is stored, so
// the user's next login still starts a session.
TEST_F(WerkDatumTest, ADateOutOfRangeIsRefusedBeforeItIsStored) {
  TestServer server(Options());
  Browser demo(server.Port());
  demo.Login("demo", "demo1");
  SetWerkDatum(demo, "01/10/2025");
  for (const char* bad : {"01/01/0001", "31/08/0001", "01/09/9999", "31/12/9999"}) {
    const Reply refused = SetWerkDatum(demo, bad);
    ASSERT_TRUE(refused.body["dialog"].is_object()) << bad << ": " << refused.body;
    EXPECT_EQ(refused.body["dialog"]["text"],
              "De werkdatum moet tussen 01/09/0001 en 31/08/9999 liggen");
    const Reply answered = demo.Answered(refused.body["dialog"]["id"], 1);
    EXPECT_EQ(answered.body["state"]["prefs"], json({{"werkDatum", "01/10/2025"},
                                                     {"werkJaar", 2025},
                                                     {"startOfWerkJaar", "01/09/2025"},
                                                     {"endOfWerkJaar", "31/08/2026"},
                                                     {"davinciKleur", "#ffffc0"},
                                                     {"vwoToonAlleLesplaatsen", false}}))
        << bad;
  }
  Browser again(server.Port());
  ASSERT_EQ(again.Login("demo", "demo1").status, 200);
  EXPECT_EQ(again.Get("/api/menu").status, 200);
  EXPECT_EQ(again.Get("/api/state").body["state"]["prefs"]["werkDatum"], "01/10/2025");
}

// A stored date the session cannot use (an older version, an edit of the database) does not
// lock the user out: the session starts on the server's date and says so once.
TEST_F(WerkDatumTest, AStoredDateOutOfRangeIsIgnoredAtLoginAndTheUserToldOnce) {
  TestServer server(Options());
  const std::string today = DateToStr(Date());
  for (const char* stored : {"0001-01-01", "9999-12-31"}) {
    SCOPED_TRACE(stored);
    StoreSettings("demo", std::string("[Werkjaar]\nWerkDatum=") + stored + "\n");
    Browser first(server.Port());
    ASSERT_EQ(first.Login("demo", "demo1").status, 200);
    const Reply state = first.Settle(first.Get("/api/state"));
    EXPECT_EQ(state.body["state"]["prefs"]["werkDatum"], today);
    ASSERT_TRUE(state.body["dialog"].is_object()) << state.body;
    EXPECT_EQ(state.body["dialog"]["text"], std::string("De bewaarde werkdatum '") + stored +
                                                "' kan niet gebruikt worden; de werkdatum is " +
                                                today + ".");
    first.Answered(state.body["dialog"]["id"], 1);
    EXPECT_EQ(first.Get("/api/menu").status, 200);

    Browser next(server.Port());
    ASSERT_EQ(next.Login("demo", "demo1").status, 200);
    EXPECT_TRUE(next.Settle(next.Get("/api/state")).body["dialog"].is_null());
  }
}

// The two display choices sit next to the working date and are kept with it; a bad colour
// changes nothing, not even the other choice sent with it.
TEST_F(WerkDatumTest, TheDisplayChoicesAreKeptWithTheWorkingDate) {
  TestServer server(Options());
  Browser demo(server.Port());
  demo.Login("demo", "demo1");
  SetWerkDatum(demo, "01/10/2025");
  const Reply set = demo.Send({{"type", "prefs"}, {"davinciKleur", "#80C0FF"}});
  EXPECT_EQ(set.body["state"]["prefs"]["davinciKleur"], "#80c0ff");
  demo.Send({{"type", "prefs"}, {"vwoToonAlleLesplaatsen", true}});

  const Reply refused =
      demo.Send({{"type", "prefs"}, {"davinciKleur", "geel"}, {"vwoToonAlleLesplaatsen", false}});
  ASSERT_TRUE(refused.body["dialog"].is_object()) << refused.body;
  EXPECT_EQ(refused.body["dialog"]["text"], "'geel' is geen kleur");
  demo.Answered(refused.body["dialog"]["id"], 1);

  const json prefs = PrefsAtLogin(server.Port(), "demo", "demo1");
  EXPECT_EQ(prefs["davinciKleur"], "#80c0ff");
  EXPECT_EQ(prefs["vwoToonAlleLesplaatsen"], true);
  EXPECT_EQ(prefs["werkDatum"], "01/10/2025");
  EXPECT_EQ(PrefsAtLogin(server.Port(), "admin", "admin1")["davinciKleur"], "#ffffc0");

  // A screen opened now takes the user's colour for what goes to Davinci.
  Browser again(server.Port());
  again.Login("demo", "demo1");
  Reply opened = again.Send({{"type", "open"}, {"class", "TVWOAfwezigheidsCodesForm"}});
  if (opened.body["dialog"].is_object()) {  // no codes yet: the standard ones are offered
    opened = again.Answered(opened.body["dialog"]["id"], 7);
  }
  const json form = opened.body["state"]["active"];
  ASSERT_EQ(form.value("class", ""), "TVWOAfwezigheidsCodesForm") << opened.body;
  EXPECT_EQ(FindControl(form, "LCParticipatieStatus")["color"], "#80c0ff");
}

TEST_F(WerkDatumTest, AnOpenScreenWorksInTheNewWorkingYear) {
  TestServer server(Options());
  Browser admin(server.Port());
  admin.Login("admin", "admin1");
  const json form =
      admin.Send({{"type", "open"}, {"class", "TWebTestForm"}}).body["state"]["active"];
  ASSERT_TRUE(form.is_object());
  auto workingYear = [&] {
    return admin.Send({{"type", "action"}, {"form", form["id"]}, {"action", "AWerkjaar"}})
        .body["state"]["active"]["caption"];
  };

  const struct {
    const char* date;
    const char* seen;
  } cases[] = {
      {"01/10/2025", "2025 01/09/2025-31/08/2026 id 3"},
      {"31/08/2025", "2024 01/09/2024-31/08/2025 id 2"},
      {"01/09/2025", "2025 01/09/2025-31/08/2026 id 3"},
      {"15/06/2031", "2030 01/09/2030-31/08/2031 id -1"},  // no SCHOOLJAAR row for it
      {"2/1/27", "2026 01/09/2026-31/08/2027 id 4"},
  };
  for (const auto& c : cases) {
    SetWerkDatum(admin, c.date);
    EXPECT_EQ(workingYear(), c.seen) << c.date;
  }

  // Not while a dialog is shown modally: its handler is still running.
  const Reply shown =
      admin.Send({{"type", "action"}, {"form", form["id"]}, {"action", "ADialoog"}});
  ASSERT_EQ(shown.body["state"]["modal"].size(), 1u) << shown.body;
  EXPECT_EQ(SetWerkDatum(admin, "01/10/2025").body["state"]["prefs"]["werkDatum"], "02/01/2027");
  admin.Send({{"type", "close"}, {"form", shown.body["state"]["modal"][0]["id"]}});
  EXPECT_EQ(workingYear(), "2026 01/09/2026-31/08/2027 id 4");
}

}  // namespace
}  // namespace quil::web::testing

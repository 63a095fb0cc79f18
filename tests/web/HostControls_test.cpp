// The controls of the reference screens driven over HTTP as the browser drives them: the
// municipality chooser searched and picked, a colour chosen, characters an edit refuses, a memo
// with line breaks stored as typed. Runs the demo database with the test screen "Bedieningen"
// (HostTestScreen.h).
#include <gtest/gtest.h>

#include "HostTestScreen.h"
#include "WebTestUtil.h"
#include "core/kavelmod.h"
#include "server/seed/InitDb.h"
#include "web/HostApp.h"

namespace quil::web::testing {
namespace {

class HostControlsTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    QuilModuleEntry();
    RegisterWebTestForm();
  }

  HostControlsTest() {
    UserStore(*server::OpenDatabase(path_)).SetPassword("admin", "admin1");
    WebServerOptions options;
    UseDatabase(options, path_);
    options.appFactory = HostAppFactory();
    server_ = std::make_unique<TestServer>(std::move(options));
    browser_ = std::make_unique<Browser>(server_->Port());
    EXPECT_EQ(browser_->Login("admin", "admin1").status, 200);
    Reply opened = browser_->Send({{"type", "open"}, {"class", "TWebControlsForm"}});
    form_ = opened.body["state"]["active"];
    EXPECT_EQ(form_["class"], "TWebControlsForm") << opened.body;
  }

  //! Sends an event of the open screen; returns the outcome.
  json Send(json event) {
    event["form"] = form_["id"];
    Reply reply = browser_->Send(event);
    EXPECT_EQ(reply.status, 200) << reply.body;
    return reply.body;
  }
  json Value(const std::string& control, const std::string& value) {
    return Send({{"type", "value"}, {"control", control}, {"value", value}});
  }
  json Search(const std::string& control, const std::string& text) {
    return Send({{"type", "search"}, {"control", control}, {"text", text}});
  }
  json Post(const std::string& source) {
    return Send({{"type", "command"}, {"source", source}, {"command", "post"}});
  }
  //! The message shown by an outcome ("" when none), answered so the session goes on.
  std::string Message(const json& outcome) {
    if (!outcome["dialog"].is_object()) return "";
    const std::string text = outcome["dialog"]["text"];
    browser_->Answered(outcome["dialog"]["id"], 1);
    return text;
  }
  static json Source(const json& outcome, const std::string& name) {
    for (const json& source : outcome["state"]["active"]["sources"]) {
      if (source["name"] == name) return source;
    }
    return nullptr;
  }
  std::string Stored(const std::string& sql) {
    auto db = server::OpenDatabase(path_);  // a statement must not outlive its connection
    auto stmt = db->Prepare(sql);
    return stmt->Step() ? std::string(stmt->ColumnText(0)) : "<geen rij>";
  }

  testdb::TestDatabase database_{testdb::Content::Demo};
  std::string path_ = database_.location();
  std::unique_ptr<TestServer> server_;
  std::unique_ptr<Browser> browser_;
  json form_;
};

std::vector<std::string> Keys(const json& control) {
  std::vector<std::string> keys;
  for (const json& item : control["items"]) keys.push_back(item["key"]);
  return keys;
}

TEST_F(HostControlsTest, TheMunicipalityIsSearchedByPostCodeOrNameAndPicked) {
  const json initial = FindControl(form_, "FrameGemeente");
  ASSERT_EQ(initial["kind"], "TSelectGemeenteFrame");
  EXPECT_EQ(Keys(initial).size(), 8u) << "no search text: every municipality";
  const std::string before = initial["display"];
  EXPECT_FALSE(before.empty());

  struct Case {
    const char* text;
    std::vector<std::string> keys;
  };
  const Case cases[] = {{"359", {"3", "4"}},       // post codes 3590, 3591
                        {"moer", {"6"}},           // Moerkerk
                        {"ZILVER", {"5", "6"}},    // main municipality, any case
                        {"  heide ", {"1", "2"}},  // the blanks around a text do not count
                        {"1000", {}}};
  for (const Case& c : cases) {
    const json outcome = Search("FrameGemeente", c.text);
    EXPECT_EQ(Message(outcome), "") << c.text;
    const json frame = FindControl(outcome["state"]["active"], "FrameGemeente");
    EXPECT_EQ(Keys(frame), c.keys) << c.text;
    EXPECT_EQ(frame["display"], before) << "searching changes nothing in the record";
  }
  EXPECT_EQ(Source(Search("FrameGemeente", "moer"), "DSLesplaatsen")["state"], "browse");

  const json picked = Value("FrameGemeente", "6");
  EXPECT_EQ(Source(picked, "DSLesplaatsen")["state"], "edit");
  const json frame = FindControl(picked["state"]["active"], "FrameGemeente");
  EXPECT_EQ(frame["value"], "6");
  EXPECT_EQ(frame["display"], "8471 Moerkerk");

  EXPECT_EQ(Message(Value("FrameGemeente", "99")), "'99' komt niet voor in de lijst");
  EXPECT_EQ(Message(Post("DSLesplaatsen")), "");
  EXPECT_EQ(Stored("SELECT COUNT(*) FROM VWOLESPLAATS WHERE VLP_GEMEENTE_FK = 6"), "1");
}

TEST_F(HostControlsTest, AColourIsChosenAsHtmlAndAnythingElseIsRefused) {
  EXPECT_EQ(FindControl(form_, "BtnKleur")["value"], "#ffffff") << "clWindow until chosen";

  json chosen = Value("BtnKleur", "#00C0FF");
  EXPECT_EQ(Message(chosen), "");
  EXPECT_EQ(FindControl(chosen["state"]["active"], "BtnKleur")["value"], "#00c0ff");
  EXPECT_EQ(chosen["state"]["active"]["caption"], "Kleur #00c0ff") << "OnChange ran";

  for (const char* bad : {"groen", "#12345", "#gg0000"}) {
    EXPECT_EQ(Message(Value("BtnKleur", bad)), std::string("'") + bad + "' is geen kleur");
  }
  const json after = browser_->Get("/api/state").body;
  EXPECT_EQ(FindControl(after["state"]["active"], "BtnKleur")["value"], "#00c0ff");
}

TEST_F(HostControlsTest, AnEditTakesOnlyItsAllowedCharacters) {
  const json edit = FindControl(form_, "EdtCrabcode");
  EXPECT_EQ(edit["allowedChars"], "0123456789");
  EXPECT_EQ(edit["color"], "#ffffc0") << "the Davinci colour";
  const std::string before = edit["value"];

  // The browser keeps other characters out, but the host checks whatever arrives.
  EXPECT_EQ(Message(Value("EdtCrabcode", "12a4")),
            "In 'VLP_CRABCODE' kunnen enkel deze tekens getypt worden: 0123456789");
  EXPECT_EQ(
      FindControl(browser_->Get("/api/state").body["state"]["active"], "EdtCrabcode")["value"],
      before);

  EXPECT_EQ(Message(Value("EdtCrabcode", "40004711")), "");
  EXPECT_EQ(Message(Post("DSLesplaatsen")), "");
  EXPECT_EQ(Stored("SELECT COUNT(*) FROM VWOLESPLAATS WHERE VLP_CRABCODE = '40004711'"), "1");
}

TEST_F(HostControlsTest, AMemoKeepsItsLineBreaks) {
  const json memo = FindControl(form_, "EdtWebtekst");
  EXPECT_EQ(memo["field"]["type"], "memo");
  const std::string text = "Eerste regel\r\nTweede regel\r\n\r\nNa een witregel";
  const json typed = Value("EdtWebtekst", text);
  EXPECT_EQ(FindControl(typed["state"]["active"], "EdtWebtekst")["value"], text);
  EXPECT_EQ(Message(Post("DSMaterialen")), "");
  const json shown = Source(browser_->Get("/api/state").body, "DSMaterialen");
  EXPECT_EQ(shown["state"], "browse");
  EXPECT_EQ(Stored("SELECT COUNT(*) FROM VWOMATERIAAL WHERE VWM_WEBTEKST = '" + text + "'"), "1");
}

TEST_F(HostControlsTest, TheAbsenceCodesArePaintedInTheirColours) {
  const json grid = FindControl(form_, "GridCodes");
  std::string painted;
  for (const json& row : grid["rows"]) {
    painted += row["cells"][0].get<std::string>() + "=" + row["colours"].value("2", "-") + " ";
  }
  EXPECT_EQ(painted, "A=#ff0000 L=#ffff00 V=#ff8040 X=#ffffff ");
}

TEST_F(HostControlsTest, OnlySearchControlsCanBeSearched) {
  EXPECT_EQ(Message(Search("EdtCrabcode", "12")), "Ongeldige opdracht: geen zoekveld");
}

}  // namespace
}  // namespace quil::web::testing

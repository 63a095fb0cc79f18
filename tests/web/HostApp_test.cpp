// The host's screens served over HTTP: the menu by rights, screens opened with their browser, grid
// windows over a long list, field edits and posts, questions, modal dialogs, progress, printing.
// Runs the real module on the demo database, plus a test screen (HostTestScreen.h).
#include <gtest/gtest.h>

#include "HostTestScreen.h"
#include "WebTestUtil.h"
#include "core/kavelmod.h"
#include "server/seed/InitDb.h"
#include "web/FormRenderer.h"
#include "web/HostApp.h"

namespace quil::web::testing {
namespace {

constexpr int kExtraMaterials = 120;

json FindAction(const json& form, const std::string& name) {
  for (const json& action : form["actions"]) {
    if (action["name"] == name) return action;
  }
  return nullptr;
}

//! Captions of a menu tree as "Section/Sub/Entry=Class" lines.
void MenuLines(const json& node, const std::string& prefix, std::vector<std::string>& lines) {
  const std::string path = prefix.empty() ? node["caption"].get<std::string>()
                                          : prefix + "/" + node["caption"].get<std::string>();
  if (node.contains("class")) lines.push_back(path + "=" + node["class"].get<std::string>());
  if (node.contains("items")) {
    for (const json& item : node["items"]) MenuLines(item, path, lines);
  }
}

class HostAppTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    QuilModuleEntry();  // registers once, however often it is called
    RegisterWebTestForm();
  }

  HostAppTest() {
    auto db = server::OpenDatabase(path_);
    UserStore users(*db);
    users.SetPassword("demo", "demo1");
    users.SetPassword("admin", "admin1");
    auto insert = db->Prepare(
        "INSERT INTO VWOMATERIAAL (VWM_ID, VWM_INSTELLING_FK, VWM_CODE, VWM_OMSCHRIJVING, "
        "VWM_PRIJS, VWM_FLAGS, VWM_VERANDERDDOOR, VWM_VERANDERDOP) VALUES (:ID, 1, :CODE, :OMS, "
        "2.5, 8, 1, '2025-09-01 10:00:00')");
    for (int i = 0; i < kExtraMaterials; ++i) {
      insert->Reset();
      insert->BindInt64(insert->ParameterIndex("ID"), 100000 + i);
      insert->BindText(insert->ParameterIndex("CODE"), Format("Z%.3d", i));
      insert->BindText(insert->ParameterIndex("OMS"), "Proefmateriaal " + std::to_string(i));
      insert->Step();
    }
    db->SetGeneratorValue("VWOMATERIAAL", 200000);
    auto count = db->Prepare("SELECT COUNT(*) FROM VWOMATERIAAL WHERE VWM_INSTELLING_FK = 1");
    count->Step();
    materials_ = static_cast<int>(count->ColumnInt64(0));
  }

  WebServerOptions Options() {
    WebServerOptions options;
    UseDatabase(options, path_);
    options.appFactory = HostAppFactory();
    options.threads = 8;
    return options;
  }

  //! Logs in as admin and opens the test screen; returns its rendered form.
  json OpenTestScreen(Browser& browser) {
    EXPECT_EQ(browser.Login("admin", "admin1").status, 200);
    Reply opened = browser.Send({{"type", "open"}, {"class", "TWebTestForm"}});
    EXPECT_EQ(opened.status, 200);
    EXPECT_TRUE(opened.body["dialog"].is_null()) << opened.body["dialog"];
    return opened.body["state"]["active"];
  }

  Reply Act(Browser& browser, const json& form, const std::string& action) {
    return browser.Settle(
        browser.Event({{"type", "action"}, {"form", form["id"]}, {"action", action}}));
  }

  testdb::TestDatabase database_{testdb::Content::Demo};
  std::string path_ = database_.location();
  int materials_ = 0;
};

TEST_F(HostAppTest, TheMenuListsOnlyWhatTheUserMayOpen) {
  TestServer server(Options());
  Browser demo(server.Port());
  Browser admin(server.Port());
  demo.Login("demo", "demo1");
  admin.Login("admin", "admin1");

  std::vector<std::string> demoMenu, adminMenu;
  const Reply demoReply = demo.Get("/api/menu");
  const Reply adminReply = admin.Get("/api/menu");
  for (const json& section : demoReply.body["sections"]) MenuLines(section, "", demoMenu);
  for (const json& section : adminReply.body["sections"]) MenuLines(section, "", adminMenu);
  auto has = [](const std::vector<std::string>& menu, const std::string& line) {
    return std::find(menu.begin(), menu.end(), line) != menu.end();
  };
  EXPECT_TRUE(has(demoMenu, "Schoolstructuur/VWO/Afwezigheidscodes=TVWOAfwezigheidsCodesForm"))
      << ::testing::PrintToString(demoMenu);
  EXPECT_TRUE(has(adminMenu, "Test/Web/Proefscherm=TWebTestForm"));
  EXPECT_FALSE(has(demoMenu, "Test/Web/Proefscherm=TWebTestForm"));
  EXPECT_GT(adminMenu.size(), demoMenu.size());

  // The server refuses what the menu does not offer.
  Reply refused = demo.Send({{"type", "open"}, {"class", "TWebTestForm"}});
  ASSERT_TRUE(refused.body["dialog"].is_object()) << refused.body;
  EXPECT_EQ(refused.body["dialog"]["text"], "U hebt geen toegang tot het scherm 'Proefscherm'");
  demo.Answered(refused.body["dialog"]["id"], 1);
  EXPECT_EQ(demo.Get("/api/state").body["state"]["forms"].size(), 0u);
}

TEST_F(HostAppTest, TheInstitutionBrowserShowsItsListWithColumnCaptions) {
  TestServer server(Options());
  Browser admin(server.Port());
  admin.Login("admin", "admin1");
  Reply opened = admin.Send({{"type", "open"}, {"class", "TBrowseVWOStructInstellingForm"}});
  const json form = opened.body["state"]["active"];
  ASSERT_TRUE(form.is_object()) << opened.body;
  EXPECT_EQ(form["caption"], "Vezor OVI: Overzicht instellingen");
  EXPECT_EQ(form["tab"], "VWO instellingen");
  const json grid = FindControl(form, "GridInstellingen");
  ASSERT_TRUE(grid.is_object());
  std::vector<std::string> titles;
  for (const json& column : grid["columns"]) titles.push_back(column["title"]);
  EXPECT_EQ(titles[0], "Code");
  EXPECT_EQ(titles[1], "Naam");
  EXPECT_EQ(grid["count"], 2);
  EXPECT_EQ(grid["rows"][0]["cells"][1], "CVO Horizon");  // in the order of their codes
  EXPECT_EQ(grid["rows"][1]["cells"][1], "CVO De Linde");
  std::vector<std::string> links;
  for (const json& link : form["links"]) links.push_back(link["caption"]);
  EXPECT_NE(std::find(links.begin(), links.end(), "Afwezigheidscodes"), links.end());

  Reply moved = admin.Send(
      {{"type", "move"}, {"form", form["id"]}, {"source", "DSBrowseVWOinstelling"}, {"recNo", 2}});
  EXPECT_EQ(FindControl(moved.body["state"]["active"], "GridInstellingen")["recNo"], 2);
}

TEST_F(HostAppTest, AGridSendsOneWindowOfALongList) {
  TestServer server(Options());
  Browser browser(server.Port());
  json form = OpenTestScreen(browser);
  json grid = FindControl(form, "GridMaterialen");
  ASSERT_TRUE(grid.is_object());
  EXPECT_EQ(grid["count"], materials_);
  EXPECT_EQ(grid["top"], 0);
  EXPECT_EQ(grid["rows"].size(), static_cast<size_t>(kDefaultPageSize));
  EXPECT_EQ(grid["columns"][0]["title"], "Code");

  // Scrolling shows another window without moving the current record.
  Reply viewed = browser.Send(
      {{"type", "view"}, {"form", form["id"]}, {"control", "GridMaterialen"}, {"top", 50}});
  grid = FindControl(viewed.body["state"]["active"], "GridMaterialen");
  EXPECT_EQ(grid["top"], 50);
  EXPECT_EQ(grid["recNo"], 1);
  EXPECT_EQ(grid["rows"][0]["recNo"], 51);

  // Moving the current record out of the window brings the window to it.
  Reply last = browser.Send(
      {{"type", "command"}, {"form", form["id"]}, {"source", "DSMaterialen"}, {"command", "last"}});
  grid = FindControl(last.body["state"]["active"], "GridMaterialen");
  EXPECT_EQ(grid["recNo"], materials_);
  EXPECT_EQ(grid["top"], (materials_ - 1) / kDefaultPageSize * kDefaultPageSize);
  EXPECT_EQ(grid["rows"].back()["recNo"], materials_);
  EXPECT_EQ(grid["rows"].back()["cells"][0], Format("Z%.3d", kExtraMaterials - 1));

  Reply rows = browser.Get("/api/rows?form=" + std::to_string(form["id"].get<int>()) +
                           "&control=GridMaterialen&top=10&count=5");
  EXPECT_EQ(rows.body["rows"].size(), 5u);
  EXPECT_EQ(rows.body["rows"][0]["recNo"], 11);
}

TEST_F(HostAppTest, AnEditIsPostedAndAFailedPostKeepsIt) {
  TestServer server(Options());
  Browser browser(server.Port());
  json form = OpenTestScreen(browser);
  const json id = form["id"];

  Reply edited = browser.Send({{"type", "value"},
                               {"form", id},
                               {"control", "EdtOmschrijving"},
                               {"value", "Nieuwe omschrijving"}});
  json source = edited.body["state"]["active"]["sources"][0];
  EXPECT_EQ(source["state"], "edit");
  EXPECT_EQ(FindControl(edited.body["state"]["active"], "EdtOmschrijving")["value"],
            "Nieuwe omschrijving");
  Reply posted = browser.Send(
      {{"type", "command"}, {"form", id}, {"source", "DSMaterialen"}, {"command", "post"}});
  EXPECT_EQ(posted.body["state"]["active"]["sources"][0]["state"], "browse");
  {
    auto db = server::OpenDatabase(path_);
    auto stmt = db->Prepare("SELECT COUNT(*) FROM VWOMATERIAAL WHERE VWM_OMSCHRIJVING = :O");
    stmt->BindText(stmt->ParameterIndex("O"), "Nieuwe omschrijving");
    stmt->Step();
    EXPECT_EQ(stmt->ColumnInt64(0), 1) << "the post was applied";
  }

  // A required field left empty: the error is shown and the record stays in edit.
  browser.Send({{"type", "field"},
                {"form", id},
                {"source", "DSMaterialen"},
                {"field", "VWM_OMSCHRIJVING"},
                {"value", ""}});
  Reply failed = browser.Send(
      {{"type", "command"}, {"form", id}, {"source", "DSMaterialen"}, {"command", "post"}});
  ASSERT_TRUE(failed.body["dialog"].is_object()) << failed.body;
  EXPECT_EQ(failed.body["dialog"]["type"], "error");
  EXPECT_EQ(failed.body["dialog"]["text"], "Veld 'Omschrijving' moet een waarde hebben");
  Reply after = browser.Answered(failed.body["dialog"]["id"], 1);
  EXPECT_EQ(after.body["state"]["active"]["sources"][0]["state"], "edit");
}

TEST_F(HostAppTest, ActionsAskTheBrowserAndFollowTheirRules) {
  TestServer server(Options());
  Browser browser(server.Port());
  json form = OpenTestScreen(browser);
  EXPECT_EQ(FindAction(form, "ANooit")["enabled"], false);
  EXPECT_EQ(Act(browser, form, "ANooit").body["state"]["active"]["caption"], "Proefscherm")
      << "a disabled action does not run";

  Reply asked = Act(browser, form, "AVraag");
  const json dialog = asked.body["dialog"];
  ASSERT_TRUE(dialog.is_object()) << asked.body;
  EXPECT_EQ(dialog["kind"], "message");
  EXPECT_EQ(dialog["type"], "confirmation");
  EXPECT_EQ(dialog["text"], "Doorgaan?");
  EXPECT_EQ(dialog["buttons"],
            json::parse(R"([{"result":6,"caption":"Ja"},{"result":7,"caption":"Nee"}])"));
  EXPECT_EQ(browser.Answered(dialog["id"], 6).body["state"]["active"]["caption"], "ja");

  Reply failed = Act(browser, form, "AFout");
  EXPECT_EQ(failed.body["dialog"]["type"], "error");
  EXPECT_EQ(failed.body["dialog"]["text"], "Dit mag niet");
}

TEST_F(HostAppTest, AModalDialogTakesTheEventsUntilItCloses) {
  TestServer server(Options());
  Browser browser(server.Port());
  json form = OpenTestScreen(browser);
  Reply shown = Act(browser, form, "ADialoog");
  ASSERT_EQ(shown.body["state"]["modal"].size(), 1u) << shown.body;
  const json dialog = shown.body["state"]["modal"][0];
  EXPECT_EQ(dialog["caption"], "Naam geven");
  EXPECT_EQ(FindControl(dialog, "BtnOK")["modalResult"], 1);

  // The screen behind it takes no events meanwhile.
  Reply ignored = Act(browser, form, "AVraag");
  EXPECT_TRUE(ignored.body["dialog"].is_null());
  EXPECT_EQ(ignored.body["state"]["modal"].size(), 1u);

  browser.Send(
      {{"type", "value"}, {"form", dialog["id"]}, {"control", "EdtNaam"}, {"value", "Piet"}});
  Reply closed = browser.Send({{"type", "click"}, {"form", dialog["id"]}, {"control", "BtnOK"}});
  EXPECT_EQ(closed.body["state"]["modal"].size(), 0u);
  EXPECT_EQ(closed.body["state"]["active"]["caption"], "Piet");

  // Closing the window counts as Cancel.
  Reply again = Act(browser, form, "ADialoog");
  const json second = again.body["state"]["modal"][0];
  browser.Send(
      {{"type", "value"}, {"form", second["id"]}, {"control", "EdtNaam"}, {"value", "Jan"}});
  Reply cancelled = browser.Send({{"type", "close"}, {"form", second["id"]}});
  EXPECT_EQ(cancelled.body["state"]["modal"].size(), 0u);
  EXPECT_EQ(cancelled.body["state"]["active"]["caption"], "Piet");
}

TEST_F(HostAppTest, ALongActionShowsItsProgressWhileItRuns) {
  WebServerOptions options = Options();
  options.restBudget = std::chrono::milliseconds(60);
  options.pollBudget = std::chrono::milliseconds(60);
  TestServer server(options);
  Browser browser(server.Port());
  json form = OpenTestScreen(browser);
  Reply reply = browser.Event({{"type", "action"}, {"form", form["id"]}, {"action", "ALang"}});
  int busyReplies = 0;
  int lastPosition = -1;
  while (reply.body.value("busy", false)) {
    ++busyReplies;
    const json& bars = reply.body["progress"]["bars"];
    if (!bars.empty()) {
      EXPECT_EQ(bars[0]["max"], 100);
      EXPECT_GE(bars[0]["position"].get<int>(), lastPosition) << "progress only goes forward";
      lastPosition = bars[0]["position"];
    }
    reply = browser.Get("/api/wait?seq=" + std::to_string(reply.body["seq"].get<uint64_t>()));
  }
  EXPECT_GT(busyReplies, 0);
  EXPECT_GT(lastPosition, 0) << "some progress was seen before the end";
  EXPECT_EQ(reply.body["state"]["active"]["caption"], "klaar");
}

TEST_F(HostAppTest, APrintGivesAListingOfTheMainList) {
  TestServer server(Options());
  Browser browser(server.Port());
  json form = OpenTestScreen(browser);
  Reply printed = browser.Send({{"type", "print"}, {"form", form["id"]}, {"report", 0}});
  const json print = printed.body["state"]["print"];
  ASSERT_TRUE(print.is_object()) << printed.body;
  EXPECT_EQ(print["title"], "Overzicht materialen");
  Reply listing = browser.Get("/api/report?id=" + std::to_string(print["id"].get<int>()));
  EXPECT_EQ(listing.body["columns"], json::array({"Code", "Omschrijving", "Prijs"}));
  EXPECT_EQ(listing.body["rows"].size(), static_cast<size_t>(materials_));
  EXPECT_EQ(listing.body["count"], materials_);
  EXPECT_EQ(browser.Get("/api/report?id=999").status, 400);
}

TEST_F(HostAppTest, ClosingAScreenAndStaleFormsAreHandled) {
  TestServer server(Options());
  Browser browser(server.Port());
  json form = OpenTestScreen(browser);
  Reply closed = browser.Send({{"type", "close"}, {"form", form["id"]}});
  EXPECT_EQ(closed.body["state"]["forms"].size(), 0u);
  EXPECT_TRUE(closed.body["state"]["active"].is_null());
  Reply stale = Act(browser, form, "AVraag");
  ASSERT_TRUE(stale.body["dialog"].is_object());
  EXPECT_EQ(
      stale.body["dialog"]["text"],
      "Ongeldige opdracht: scherm " + std::to_string(form["id"].get<int>()) + " is niet open");
}

TEST_F(HostAppTest, AnEndingSessionKeepsTheSettingsOfItsScreens) {
  TestServer server(Options());
  Browser browser(server.Port());
  json form = OpenTestScreen(browser);
  const json asked = Act(browser, form, "AVraag").body["dialog"];
  browser.Answered(asked["id"], 7);
  browser.Post("/api/logout", json::object());
  // The session's thread saves while it ends; logout does not wait for it.
  auto admin = UserStore(*server::OpenDatabase(path_)).Find("admin");
  std::string settings;
  for (int tries = 0; tries < 100 && settings.empty(); ++tries) {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    settings = server::AppServer::Open(path_, admin->id)->ReadSettings("TWebTestForm");
  }
  EXPECT_NE(settings.find("Titel=nee"), std::string::npos) << settings;
}

}  // namespace
}  // namespace quil::web::testing

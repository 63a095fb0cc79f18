// Requests a hostile user crafts by hand against the lesson materials screen: fields, controls,
// sources and records the screen does not offer, changes without the rights for them, numbers out
// of range and huge names. Whatever is refused leaves the stored materials as they were.
#include <gtest/gtest.h>

#include "WebTestUtil.h"
#include "core/kavelmod.h"
#include "server/seed/InitDb.h"
#include "web/HostApp.h"

namespace quil::web::testing {
namespace {

constexpr const char* kMaterials = "TVWOMaterialenForm";
constexpr const char* kSource = "DSVWOMaterialen";

class CraftedRequestsTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { QuilModuleEntry(); }

  CraftedRequestsTest() {
    server::InitDatabase(path_, {.demo = true, .workingYear = 2025});
    auto db = server::OpenSqlite(path_);
    UserStore users(*db);
    users.SetPassword("demo", "demo1");
    users.SetRights("demo", "TBrowseVWOStructInstellingForm", 1);
  }

  WebServerOptions Options() {
    WebServerOptions options;
    UseDatabase(options, path_);
    options.appFactory = HostAppFactory();
    options.threads = 4;
    return options;
  }

  //! Logs in as demo with `rights` on the materials and opens them; returns the rendered form.
  json OpenMaterials(Browser& browser, int rights) {
    {
      auto db = server::OpenSqlite(path_);
      UserStore(*db).SetRights("demo", kMaterials, rights);
    }
    EXPECT_EQ(browser.Login("demo", "demo1").status, 200);
    const Reply opened = browser.Send({{"type", "open"}, {"class", kMaterials}});
    EXPECT_TRUE(opened.body["dialog"].is_null()) << opened.body;
    return opened.body["state"]["active"];
  }

  //! Every stored material, one line each: id, institution, code, description, flags.
  std::string Stored() {
    auto db = server::OpenSqlite(path_);
    auto stmt = db->Prepare(
        "SELECT VWM_ID, VWM_INSTELLING_FK, VWM_CODE, VWM_OMSCHRIJVING, VWM_FLAGS FROM VWOMATERIAAL "
        "ORDER BY VWM_ID");
    std::string out;
    while (stmt->Step()) {
      for (int column = 0; column < 5; ++column) {
        out += std::string(stmt->ColumnText(column)) + (column < 4 ? "|" : "\n");
      }
    }
    return out;
  }

  static Reply Field(Browser& browser, const json& form, const std::string& field,
                     const std::string& value) {
    return browser.Send({{"type", "field"},
                         {"form", form["id"]},
                         {"source", kSource},
                         {"field", field},
                         {"value", value}});
  }
  static Reply Command(Browser& browser, const json& form, const std::string& command) {
    return browser.Send(
        {{"type", "command"}, {"form", form["id"]}, {"source", kSource}, {"command", command}});
  }
  static json Source(const Reply& reply) {
    for (const json& source : reply.body["state"]["active"]["sources"]) {
      if (source["name"] == kSource) return source;
    }
    return nullptr;
  }

  TempDir dir_;
  std::string path_ = dir_.File("kavel.sqlite");
};

TEST_F(CraftedRequestsTest, AFieldEventReachesOnlyAFieldTheScreenLetsTheUserChange) {
  TestServer server(Options());
  Browser demo(server.Port());
  const json form = OpenMaterials(demo, 15);
  ASSERT_TRUE(form.is_object());
  const std::string before = Stored();

  // The key, the institution copied from the master, the flags no editor shows as such, the
  // change stamp the dataset fills: none of them is the user's.
  for (auto [field, value] :
       std::vector<std::pair<const char*, const char*>>{{"VWM_ID", "999"},
                                                        {"VWM_INSTELLING_FK", "2"},
                                                        {"VWM_FLAGS", "255"},
                                                        {"VWM_VERANDERDDOOR", "7"},
                                                        {"ALGEMENEREKENING", "x"}}) {
    const Reply refused = Field(demo, form, field, value);
    EXPECT_TRUE(refused.body["dialog"].is_null()) << field << ": " << refused.body["dialog"];
    EXPECT_EQ(Source(refused)["state"], "browse") << field;
  }
  const Reply unknown = Field(demo, form, "BESTAATNIET", "1");
  ASSERT_TRUE(unknown.body["dialog"].is_object());
  demo.Answered(unknown.body["dialog"]["id"], 1);

  // What the screen offers still works, and only that is stored.
  const Reply changed = Field(demo, form, "VWM_OMSCHRIJVING", "Gewijzigd");
  EXPECT_TRUE(changed.body["dialog"].is_null()) << changed.body["dialog"];
  EXPECT_EQ(Source(changed)["state"], "edit");
  Command(demo, form, "post");
  const Reply applied = Command(demo, form, "apply");
  EXPECT_TRUE(applied.body["dialog"].is_null()) << applied.body["dialog"];
  const std::string after = Stored();
  EXPECT_NE(after, before);
  EXPECT_EQ(after.find("|2|"), before.find("|2|")) << "no material moved institution";
  EXPECT_EQ(after.find("999|"), std::string::npos);
  EXPECT_EQ(after.find("|255\n"), std::string::npos);
  EXPECT_NE(after.find("|Gewijzigd|"), std::string::npos);
}

TEST_F(CraftedRequestsTest, WithTheOpenRightOnlyNothingCanBeChanged) {
  TestServer server(Options());
  Browser demo(server.Port());
  const json form = OpenMaterials(demo, 1);
  ASSERT_TRUE(form.is_object());
  const std::string before = Stored();
  const json source = [&] {
    for (const json& s : form["sources"]) {
      if (s["name"] == kSource) return s;
    }
    return json();
  }();
  EXPECT_EQ(source["canEdit"], false);
  EXPECT_EQ(source["canInsert"], false);
  EXPECT_EQ(source["canDelete"], false);
  EXPECT_EQ(FindControl(form, "EdtOmschrijving")["readOnly"], true) << "the browser follows";

  const json events[] = {
      {{"type", "field"}, {"source", kSource}, {"field", "VWM_OMSCHRIJVING"}, {"value", "x"}},
      {{"type", "value"}, {"control", "EdtCode"}, {"value", "X1"}},
      {{"type", "click"}, {"control", "CBActief"}},
      {{"type", "command"}, {"source", kSource}, {"command", "edit"}},
      {{"type", "command"}, {"source", kSource}, {"command", "append"}},
      {{"type", "command"}, {"source", kSource}, {"command", "delete"}},
      {{"type", "command"}, {"source", kSource}, {"command", "apply"}},
  };
  for (json event : events) {
    event["form"] = form["id"];
    const Reply reply = demo.Send(event);
    EXPECT_TRUE(reply.body["dialog"].is_null()) << event << ": " << reply.body["dialog"];
    EXPECT_EQ(Source(reply)["state"], "browse") << event;
    EXPECT_EQ(Source(reply)["changeCount"], 0) << event;
  }
  EXPECT_EQ(Stored(), before);
}

TEST_F(CraftedRequestsTest, NumbersOutOfRangeAreMalformedAndHugeNamesAreCut) {
  TestServer server(Options());
  Browser demo(server.Port());
  const json form = OpenMaterials(demo, 15);
  ASSERT_TRUE(form.is_object());
  const int64_t id = form["id"];
  const json malformed[] = {
      {{"type", "close"}, {"form", id + 4294967296LL}},
      {{"type", "close"}, {"form", 18446744073709551615ULL}},
      {{"type", "close"}, {"form", static_cast<double>(id)}},
      {{"type", "move"}, {"form", id}, {"source", kSource}, {"recNo", -4294967295LL}},
      {{"type", "view"}, {"form", id}, {"control", "GridMaterialen"}, {"top", 1e12}},
  };
  for (const json& event : malformed) {
    const Reply reply = demo.Event(event);
    EXPECT_EQ(reply.status, 400) << event;
  }
  const Reply viewed =
      demo.Send({{"type", "view"}, {"form", id}, {"control", "GridMaterialen"}, {"top", -1}});
  EXPECT_TRUE(viewed.body["dialog"].is_object()) << "a negative top is not clamped";
  demo.Answered(viewed.body["dialog"]["id"], 1);
  EXPECT_EQ(demo.Get("/api/state").body["state"]["forms"].size(), 2u) << "nothing was closed";

  const std::string huge(900 * 1024, 'T');
  const Reply refused = demo.Send({{"type", "open"}, {"class", huge}});
  ASSERT_TRUE(refused.body["dialog"].is_object()) << refused.status;
  const std::string text = refused.body["dialog"]["text"];
  EXPECT_LT(text.size(), 200u);
  EXPECT_EQ(text.substr(text.size() - 19), "…' is niet gekend");
}

}  // namespace
}  // namespace quil::web::testing

// The web host over HTTP on loopback: login, the session and CSRF guards, logout and idle expiry,
// questions that wait for the browser (answered, ignored, abandoned), progress of long events.
#include <gtest/gtest.h>

#include <fstream>

#include "WebTestUtil.h"

namespace quil::web::testing {
namespace {

class WebServerTest : public ::testing::Test {
 protected:
  WebServerOptions Options() {
    WebServerOptions options;
    UseDatabase(options, path_);
    options.threads = 8;
    return options;
  }

  testdb::TestDatabase database_;
  std::string path_ = MakeDatabase(database_);
};

TEST_F(WebServerTest, OnlyAMatchingLoginAndPasswordOpensASession) {
  TestServer server(Options());
  struct Case {
    json body;
    int status;
  };
  const Case cases[] = {
      {{{"login", "anna"}, {"password", "geheim1"}}, 200},
      {{{"login", "anna"}, {"password", "Geheim1"}}, 401},
      {{{"login", "anna"}, {"password", ""}}, 401},
      {{{"login", "niemand"}, {"password", "geheim1"}}, 401},
      {{{"login", "anna"}}, 400},
      {{{"login", 12}, {"password", "geheim1"}}, 400},
  };
  for (const Case& c : cases) {
    httplib::Client client("127.0.0.1", server.Port());
    auto result = client.Post("/api/login", c.body.dump(), "application/json");
    ASSERT_TRUE(result);
    EXPECT_EQ(result->status, c.status) << c.body;
    const std::string cookie = result->get_header_value("Set-Cookie");
    if (c.status == 200) {
      EXPECT_NE(cookie.find("HttpOnly"), std::string::npos) << cookie;
      EXPECT_NE(cookie.find("SameSite=Strict"), std::string::npos) << cookie;
      EXPECT_EQ(json::parse(result->body)["user"]["name"], "Anna Peeters");
    } else {
      EXPECT_EQ(cookie, "") << c.body;
      EXPECT_TRUE(json::parse(result->body).contains("error"));
    }
  }
  EXPECT_EQ(server.Server().Sessions().Count(), 1);

  Browser browser(server.Port());
  Reply login = browser.Login("anna", "geheim1");
  Reply session = browser.Get("/api/session");
  EXPECT_EQ(session.status, 200);
  EXPECT_EQ(session.body["csrf"], login.body["csrf"]) << "a reloaded page gets its token back";
  EXPECT_EQ(browser.Get("/api/menu").body["user"], "anna");
}

TEST_F(WebServerTest, TooManyFailedLoginsRefuseTheNameForAWhile) {
  std::atomic<int64_t> minutes = 0;
  WebServerOptions options = Options();
  options.loginClock = [&minutes] {
    return LoginThrottle::Clock::time_point(std::chrono::minutes(minutes.load()));
  };
  TestServer server(std::move(options));
  auto login = [&](const std::string& name, const std::string& password) {
    return Browser(server.Port()).Login(name, password);
  };
  const std::string refusal = "Te veel mislukte aanmeldingen; probeer het over 15 minuten opnieuw.";
  for (const char* name : {"anna", "niemand"}) {
    for (int i = 0; i < 5; ++i) EXPECT_EQ(login(name, "fout").status, 401) << name << " " << i;
    // The same answer whether the user exists or not.
    const Reply refused = login(name, name == std::string("anna") ? "geheim1" : "fout");
    EXPECT_EQ(refused.status, 429) << name;
    EXPECT_EQ(refused.body, json({{"error", refusal}})) << name;
  }
  EXPECT_EQ(login("beheer", "beheer1").status, 200) << "other names are not refused";
  minutes = 14;
  EXPECT_EQ(login("anna", "geheim1").status, 429);
  minutes = 15;
  EXPECT_EQ(login("anna", "geheim1").status, 200);
  EXPECT_EQ(server.Server().Sessions().Count(), 2);
}

// A flood of logins under many names from one address: after the address's limit its logins are
// refused before any password is checked, a right one too.
TEST_F(WebServerTest, TooManyFailedLoginsFromOneAddressRefuseItWhateverTheNames) {
  WebServerOptions options = Options();
  options.addressLimits.maxFailures = 6;
  TestServer server(std::move(options));
  auto login = [&](const std::string& name, const std::string& password) {
    return Browser(server.Port()).Login(name, password);
  };
  EXPECT_EQ(login("anna", "geheim1").status, 200);
  for (int i = 0; i < 6; ++i) EXPECT_EQ(login("naam" + std::to_string(i), "fout").status, 401);
  const Reply refused = login("anna", "geheim1");
  EXPECT_EQ(refused.status, 429);
  EXPECT_EQ(refused.body["error"],
            "Te veel mislukte aanmeldingen; probeer het over 15 minuten opnieuw.");
  EXPECT_EQ(server.Server().Sessions().Count(), 1);
}

TEST_F(WebServerTest, TheSessionCookieIsSecureWhenTheServerIsToldSo) {
  for (bool secure : {false, true}) {
    WebServerOptions options = Options();
    options.secureCookie = secure;
    TestServer server(std::move(options));
    httplib::Client client("127.0.0.1", server.Port());
    auto result =
        client.Post("/api/login", R"({"login":"anna","password":"geheim1"})", "application/json");
    ASSERT_TRUE(result);
    const std::string cookie = result->get_header_value("Set-Cookie");
    EXPECT_EQ(cookie.find("; Secure") != std::string::npos, secure) << cookie;
  }
}

// Files are served by their exact name: a NUL cannot cut the name short.
TEST_F(WebServerTest, APathWithANulIsRefused) {
  TempDir files;
  std::ofstream(files.File("app.js")) << "console.log('kavel');";
  WebServerOptions options = Options();
  options.staticDir = files.File("");
  TestServer server(std::move(options));
  httplib::Client client("127.0.0.1", server.Port());
  auto plain = client.Get("/app.js");
  ASSERT_TRUE(plain);
  EXPECT_EQ(plain->status, 200);
  for (const char* path : {"/app.js%00.html", "/app.js%00", "/api/state%00"}) {
    auto result = client.Get(path);
    ASSERT_TRUE(result);
    EXPECT_EQ(result->status, 400) << path;
    EXPECT_EQ(result->body.find("kavel"), std::string::npos) << path;
  }
}

TEST_F(WebServerTest, APortInUseIsRefused) {
  TestServer first(Options());
  WebServerOptions options = Options();
  options.appFactory = TestAppFactory();
  WebServer second(options);
  EXPECT_THROW(second.Bind("127.0.0.1", first.Port()), std::runtime_error);
}

TEST_F(WebServerTest, EveryApiPathButLoginNeedsASession) {
  TestServer server(Options());
  Browser stranger(server.Port());
  Browser anna(server.Port());
  anna.Login("anna", "geheim1");
  struct Case {
    std::string method;
    std::string path;
  };
  const Case cases[] = {
      {"GET", "/api/menu"},
      {"GET", "/api/state"},
      {"GET", "/api/session"},
      {"GET", "/api/wait?seq=1"},
      {"GET", "/api/count?key=x"},
      {"GET", "/api/bestaatniet"},
      {"GET", "/api"},
      {"POST", "/api/event"},
      {"POST", "/api/answer"},
      {"POST", "/api/logout"},
      {"PUT", "/api/event"},
      {"DELETE", "/api/menu"},
  };
  for (const Case& c : cases) {
    for (const std::string& cookie :
         {std::string(), std::string("kavel_sessie=") + "0123abcd", std::string("kavel_sessie=")}) {
      httplib::Client client("127.0.0.1", server.Port());
      httplib::Headers headers;
      if (!cookie.empty()) headers.emplace("Cookie", cookie);
      headers.emplace("X-CSRF-Token", anna.csrf);  // a token alone is no session
      httplib::Result result =
          c.method == "GET"    ? client.Get(c.path.c_str(), headers)
          : c.method == "POST" ? client.Post(c.path.c_str(), headers, "{}", "application/json")
          : c.method == "PUT"  ? client.Put(c.path.c_str(), headers, "{}", "application/json")
                               : client.Delete(c.path.c_str(), headers, "{}", "application/json");
      ASSERT_TRUE(result);
      EXPECT_EQ(result->status, 401) << c.method << " " << c.path << " cookie '" << cookie << "'";
    }
  }
  // The static front-end is public.
  EXPECT_EQ(stranger.Get("/api/menu").status, 401);
  EXPECT_EQ(anna.Get("/api/count?key=x").status, 200);
}

TEST_F(WebServerTest, ChangesNeedTheSessionsOwnCsrfTokenAndJson) {
  TestServer server(Options());
  Browser anna(server.Port());
  Browser other(server.Port());
  anna.Login("anna", "geheim1");
  other.Login("anna", "geheim1");
  const std::string token = anna.csrf;
  ASSERT_NE(token, other.csrf);

  struct Case {
    std::string token;
    int status;
  };
  const Case cases[] = {
      {"", 403}, {other.csrf, 403}, {token.substr(1), 403}, {token + "0", 403}, {token, 200}};
  for (const Case& c : cases) {
    anna.csrf = c.token;
    EXPECT_EQ(anna.Event({{"type", "add"}, {"key", "teller"}}).status, c.status) << c.token;
  }
  anna.csrf = token;
  // Only the accepted event ran.
  EXPECT_EQ(anna.Get("/api/count?key=teller").body["value"], "1");

  // A cross-site form cannot send JSON: other content types are refused before anything else.
  httplib::Client client("127.0.0.1", server.Port());
  for (const char* type : {"text/plain", "application/jsonfoo", "application/json-patch+json",
                           "text/application/json"}) {
    auto form = client.Post("/api/event", {{"X-CSRF-Token", token}},
                            R"({"type":"add","key":"teller"})", type);
    ASSERT_TRUE(form);
    EXPECT_EQ(form->status, 415) << type;
  }
  auto typed = client.Post("/api/event", {{"X-CSRF-Token", token}, {"Cookie", anna.Cookie()}},
                           R"({"type":"add","key":"teller"})", "Application/JSON; charset=utf-8");
  ASSERT_TRUE(typed);
  EXPECT_EQ(typed->status, 200) << "the media type, whatever its case and parameters";
  auto login =
      client.Post("/api/login", "login=anna&password=geheim1", "application/x-www-form-urlencoded");
  ASSERT_TRUE(login);
  EXPECT_EQ(login->status, 415);
  EXPECT_EQ(anna.Post("/api/event", json::array({1, 2})).status, 400);
  EXPECT_EQ(anna.Get("/api/count?key=teller").body["value"], "2");
}

TEST_F(WebServerTest, LogoutEndsTheSessionForGood) {
  TestServer server(Options());
  Browser anna(server.Port());
  anna.Login("anna", "geheim1");
  EXPECT_EQ(anna.Post("/api/logout", json::object()).status, 200);
  EXPECT_EQ(anna.Get("/api/menu").status, 401);
  EXPECT_EQ(anna.Event({{"type", "add"}, {"key", "k"}}).status, 401);
  EXPECT_EQ(server.Server().Sessions().Count(), 0);
}

TEST_F(WebServerTest, AnIdleSessionExpiresAndAnActiveOneDoesNot) {
  WebServerOptions options = Options();
  options.limits.idleTimeout = 1s;
  TestServer server(options);
  Browser active(server.Port());
  Browser idle(server.Port());
  idle.Login("anna", "geheim1");
  active.Login("anna", "geheim1");
  for (int i = 0; i < 8; ++i) {
    std::this_thread::sleep_for(250ms);
    EXPECT_EQ(active.Get("/api/state").status, 200) << "request " << i;
  }
  EXPECT_EQ(idle.Get("/api/state").status, 401);
  EXPECT_EQ(server.Server().Sessions().Count(), 1);
}

TEST_F(WebServerTest, AQuestionWaitsForTheBrowsersAnswer) {
  TestServer server(Options());
  Browser anna(server.Port());
  anna.Login("anna", "geheim1");

  Reply asked = anna.Event({{"type", "ask"}, {"text", "Standaardcodes aanmaken?"}});
  ASSERT_EQ(asked.status, 200);
  ASSERT_FALSE(asked.body["busy"]);
  ASSERT_TRUE(asked.body["dialog"].is_object()) << asked.body;
  EXPECT_EQ(asked.body["dialog"]["text"], "Standaardcodes aanmaken?");
  const int64_t dialog = asked.body["dialog"]["id"];

  // While the question waits, other events do not run, a reload sees the question again and a
  // stale answer changes nothing.
  Reply other = anna.Event({{"type", "work"}, {"steps", 1}});
  EXPECT_EQ(other.body["state"]["worked"], 0);
  EXPECT_EQ(other.body["dialog"]["id"], dialog);
  EXPECT_EQ(anna.Get("/api/state").body["dialog"]["id"], dialog);
  EXPECT_EQ(anna.Answer(dialog + 7, 7).body["dialog"]["id"], dialog);

  Reply answered = anna.Answer(dialog, 6);
  EXPECT_TRUE(answered.body["dialog"].is_null());
  EXPECT_EQ(answered.body["state"]["answers"], json::array({"6"}));
  EXPECT_EQ(anna.Answer(dialog, 7).body["state"]["answers"], json::array({"6"}));
}

TEST_F(WebServerTest, AnAbandonedQuestionIsAnsweredCancel) {
  WebServerOptions options = Options();
  options.limits.dialogTimeout = 200ms;
  TestServer server(options);
  Browser anna(server.Port());
  anna.Login("anna", "geheim1");
  ASSERT_TRUE(anna.Event({{"type", "ask"}, {"text", "Nog daar?"}}).body["dialog"].is_object());
  std::this_thread::sleep_for(600ms);
  Reply state = anna.Get("/api/state");
  EXPECT_TRUE(state.body["dialog"].is_null()) << state.body;
  EXPECT_EQ(state.body["state"]["answers"], json::array({"cancel"}));
  // The session goes on.
  EXPECT_EQ(anna.Event({{"type", "work"}}).body["state"]["worked"], 1);
}

TEST_F(WebServerTest, LoggingOutReleasesAWaitingQuestion) {
  auto server = std::make_unique<TestServer>(Options());
  {
    Browser anna(server->Port());
    anna.Login("anna", "geheim1");
    ASSERT_TRUE(anna.Event({{"type", "ask"}, {"text", "Blijven?"}}).body["dialog"].is_object());
    EXPECT_EQ(anna.Post("/api/logout", json::object()).status, 200);
  }
  const auto start = std::chrono::steady_clock::now();
  server.reset();  // joins every session thread
  EXPECT_LT(std::chrono::steady_clock::now() - start, 3s);
}

TEST_F(WebServerTest, ALongEventIsBusyWithProgressUntilItEnds) {
  WebServerOptions options = Options();
  options.restBudget = 20ms;
  TestServer server(options);
  Browser anna(server.Port());
  anna.Login("anna", "geheim1");
  // The session has started (its app opened its database connection) before the work is sent,
  // so that the first busy answers fall within the work.
  ASSERT_EQ(anna.Settle(anna.Get("/api/state")).status, 200);
  Reply reply = anna.Event({{"type", "work"}, {"steps", 15}});
  ASSERT_EQ(reply.status, 200);
  ASSERT_TRUE(reply.body["busy"]) << reply.body;
  EXPECT_EQ(anna.Get("/api/menu").status, 200) << "a query waits its turn";
  // The first busy answer may come before the first step reports; some busy answer shows it.
  bool progressSeen = false;
  while (reply.status == 200 && reply.body.value("busy", false)) {
    progressSeen = progressSeen || reply.body["progress"].contains("step");
    reply = anna.Get("/api/wait?seq=" + std::to_string(reply.body["seq"].get<uint64_t>()));
  }
  EXPECT_TRUE(progressSeen);
  EXPECT_FALSE(reply.body["busy"]);
  EXPECT_EQ(reply.body["state"]["worked"], 1);
}

TEST_F(WebServerTest, AnUnexpectedErrorIsShownAndTheSessionLivesOn) {
  TestServer server(Options());
  Browser anna(server.Port());
  anna.Login("anna", "geheim1");
  Reply failed = anna.Event({{"type", "fail"}});
  ASSERT_TRUE(failed.body["dialog"].is_object()) << failed.body;
  EXPECT_EQ(failed.body["dialog"]["type"], "error");
  EXPECT_EQ(failed.body["dialog"]["text"], "Interne fout: kapot");
  anna.Answer(failed.body["dialog"]["id"], 1);

  Reply unknown = anna.Event({{"type", "vliegen"}});
  EXPECT_EQ(unknown.body["dialog"]["text"], "Ongeldige opdracht: onbekend: vliegen");
  anna.Answer(unknown.body["dialog"]["id"], 1);

  EXPECT_EQ(anna.Event({{"type", "work"}}).body["state"]["worked"], 1);
  EXPECT_EQ(anna.Get("/api/vliegen").status, 404);
}

}  // namespace
}  // namespace quil::web::testing

// Many sessions at once on loopback: every request answers, and every edit is stored.
//
// Bounded in count and in time: 20 sessions of about 50 requests each (30 edits interleaved with
// state and query reads), all within one minute even under the sanitizers. The 20 logins arrive
// in one burst, which once overflowed the listening socket's backlog.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "WebTestUtil.h"

namespace quil::web::testing {
namespace {

TEST(WebLoadTest, TwentySessionsEditingAtOnceLoseNothing) {
  constexpr int kSessions = 20;
  constexpr int kEdits = 30;
  const auto deadline = std::chrono::steady_clock::now() + 60s;

  testdb::TestDatabase database;
  WebServerOptions options;
  const std::string path = MakeDatabase(database);
  UseDatabase(options, path);
  TestServer server(options);

  std::atomic<int> failures = 0;
  std::atomic<int> requests = 0;
  std::vector<std::string> firstFailure(kSessions);
  std::vector<std::thread> clients;
  for (int session = 0; session < kSessions; ++session) {
    clients.emplace_back([&, session] {
      Browser browser(server.Port());
      auto check = [&](const Reply& reply, const std::string& what) {
        ++requests;
        if (reply.status == 200) return true;
        ++failures;
        if (firstFailure[session].empty()) {
          firstFailure[session] =
              what + ": " + std::to_string(reply.status) + " " + reply.body.dump();
        }
        return false;
      };
      if (!check(
              browser.Login(session % 2 ? "anna" : "beheer", session % 2 ? "geheim1" : "beheer1"),
              "login")) {
        return;
      }
      const std::string key = "teller-" + std::to_string(session);
      for (int edit = 0; edit < kEdits && std::chrono::steady_clock::now() < deadline; ++edit) {
        check(browser.Settle(browser.Event({{"type", "add"}, {"key", key}})), "edit");
        if (edit % 3 == 0) check(browser.Get("/api/state"), "state");
        if (edit % 5 == 0) check(browser.Get("/api/count?key=" + key), "count");
      }
    });
  }
  for (auto& client : clients) client.join();

  EXPECT_EQ(failures, 0);
  for (int session = 0; session < kSessions; ++session) {
    EXPECT_EQ(firstFailure[session], "") << "session " << session;
  }
  EXPECT_LT(std::chrono::steady_clock::now(), deadline) << "the run did not finish in time";
  EXPECT_GE(requests, kSessions * (1 + kEdits));

  // Every edit of every session is in the database.
  auto db = server::OpenDatabase(path);
  for (int session = 0; session < kSessions; ++session) {
    const int user =
        session % 2 ? UserStore(*db).Find("anna")->id : UserStore(*db).Find("beheer")->id;
    EXPECT_EQ(server::AppServer(server::OpenDatabase(path), user)
                  .ReadSettings("teller-" + std::to_string(session)),
              std::to_string(kEdits))
        << "session " << session;
  }
}

}  // namespace
}  // namespace quil::web::testing

// Shared helpers of the web host tests: a database with users, a small session app that counts,
// asks and works long, a server on a free loopback port, and a browser that keeps its cookie and
// CSRF token.
#pragma once

#include <gtest/gtest.h>
#include <httplib.h>
#include <stdlib.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>
#include <thread>

#include "common/TempDir.h"
#include "common/TestDatabase.h"
#include "server/AppServer.h"
#include "server/Users.h"
#include "server/db/Database.h"
#include "server/db/Schema.h"
#include "web/SessionApp.h"
#include "web/WebServer.h"

namespace quil::web::testing {

using nlohmann::json;
using server::UserStore;
using namespace std::chrono_literals;

using kavel::testing::TempDir;

//! A database with the schema and two users: anna / "geheim1" and the administrator
//! beheer / "beheer1".
inline std::string MakeDatabase(const testdb::TestDatabase& database) {
  const std::string path = database.location();
  auto db = database.Open();
  UserStore users(*db);
  users.Add("anna", "Anna Peeters", "geheim1");
  users.Add("beheer", "Beheerder", "beheer1", kUserAdministrator);
  return path;
}

//! Serves the database at `path`: sessions connect to it, logins check its users.
inline void UseDatabase(WebServerOptions& options, const std::string& path) {
  options.connect = [path](const User& user) -> std::unique_ptr<IAppServer> {
    return server::AppServer::Open(path, user.id);
  };
  options.users = [path] { return server::OpenUserDirectory(path); };
}

//! The session app of the tests. Events:
//!   {"type":"add","key":K}     adds one to the user's setting K in the database
//!   {"type":"ask","text":T}    asks T and remembers the result number ("cancel" when none)
//!   {"type":"work","steps":N}  works N steps of 20 ms, reporting {"step": i} before each
//!   {"type":"fail"}            throws an unexpected error
//! Queries: "menu" (a fixed list), "count?key=K" (the stored value).
class TestApp final : public SessionApp {
 public:
  explicit TestApp(const SessionContext& context)
      : context_(context), server_(context.connect(context.user)) {}

  void HandleEvent(const json& event) override {
    const std::string type = event.value("type", "");
    if (type == "add") {
      const std::string key = event.at("key").get<std::string>();
      const std::string old = server_->ReadSettings(key);
      server_->WriteSettings(key, std::to_string(old.empty() ? 1 : std::stoi(old) + 1));
    } else if (type == "ask") {
      auto answer = context_.dialogs.Ask({{"kind", "question"}, {"text", event.value("text", "")}});
      answers_.push_back(answer ? std::to_string(answer->value("result", -1)) : "cancel");
    } else if (type == "work") {
      for (int step = 0; step < event.value("steps", 1); ++step) {
        context_.worker.ReportProgress({{"step", step}});
        std::this_thread::sleep_for(20ms);
      }
      ++worked_;
    } else if (type == "fail") {
      throw std::runtime_error("kapot");
    } else {
      throw BadRequest("onbekend: " + type);
    }
  }

  json Query(std::string_view name, const json& args) override {
    if (name == "menu") return {{"sections", {"VWO"}}, {"user", context_.user.login}};
    if (name == "count") return {{"value", server_->ReadSettings(args.value("key", ""))}};
    throw UnknownQuery(std::string(name));
  }

  json State() override {
    return {{"user", context_.user.login}, {"answers", answers_}, {"worked", worked_}};
  }

 private:
  SessionContext context_;
  std::unique_ptr<IAppServer> server_;
  std::vector<std::string> answers_;
  int worked_ = 0;
};

inline SessionAppFactory TestAppFactory() {
  return [](const SessionContext& context) { return std::make_unique<TestApp>(context); };
}

//! The control named `name` anywhere in a rendered form; null when absent.
inline json FindControl(const json& form, const std::string& name) {
  for (const char* key : {"controls", "children"}) {
    if (!form.contains(key)) continue;
    for (const json& control : form[key]) {
      if (control.value("name", "") == name) return control;
      json found = FindControl(control, name);
      if (!found.is_null()) return found;
    }
  }
  return nullptr;
}

//! A web server on a free loopback port, serving until it goes out of scope.
class TestServer {
 public:
  explicit TestServer(WebServerOptions options) {
    if (!options.appFactory) options.appFactory = TestAppFactory();
    server_ = std::make_unique<WebServer>(std::move(options));
    port_ = server_->Bind("127.0.0.1", 0);
    thread_ = std::thread([this] { server_->Serve(); });
  }
  ~TestServer() {
    server_->Stop();
    thread_.join();
  }
  int Port() const { return port_; }
  WebServer& Server() { return *server_; }

 private:
  std::unique_ptr<WebServer> server_;
  int port_ = 0;
  std::thread thread_;
};

struct Reply {
  int status = 0;  //!< -1 when the request itself failed
  json body;
};

//! One browser: a connection, the session cookie it was given and the CSRF token.
class Browser {
 public:
  explicit Browser(int port) : client_("127.0.0.1", port) {
    client_.set_read_timeout(30, 0);
    client_.set_keep_alive(true);
    client_.set_tcp_nodelay(true);
  }

  Reply Login(const std::string& login, const std::string& password) {
    auto result =
        client_.Post("/api/login", Headers(), json{{"login", login}, {"password", password}}.dump(),
                     "application/json");
    Reply reply = ToReply(result);
    if (result && result->status == 200) {
      const std::string cookie = result->get_header_value("Set-Cookie");
      cookie_ = cookie.substr(0, cookie.find(';'));
      csrf = reply.body.value("csrf", "");
    }
    return reply;
  }

  Reply Get(const std::string& path) { return ToReply(client_.Get(path.c_str(), Headers())); }

  Reply Post(const std::string& path, const json& body) {
    return ToReply(client_.Post(path.c_str(), Headers(true), body.dump(), "application/json"));
  }
  Reply Event(const json& event) { return Post("/api/event", event); }
  Reply Answer(int64_t dialog, int result) {
    return Post("/api/answer", {{"dialog", dialog}, {"answer", {{"result", result}}}});
  }
  //! An event, and its outcome once the session rests however long that takes on a loaded
  //! machine (Event alone may answer "busy").
  Reply Send(const json& event) { return Settle(Event(event)); }
  //! An answer to a dialog, and the outcome once the session rests.
  Reply Answered(int64_t dialog, int result) { return Settle(Answer(dialog, result)); }
  //! Follows a busy reply with /api/wait until the outcome is there.
  Reply Settle(Reply reply) {
    while (reply.status == 200 && reply.body.value("busy", false)) {
      reply = Get("/api/wait?seq=" + std::to_string(reply.body["seq"].get<uint64_t>()));
    }
    return reply;
  }

  std::string csrf;  //!< sent as X-CSRF-Token on changes; tests may blank or spoil it
  //! "kavel_sessie=..." as the login set it.
  const std::string& Cookie() const { return cookie_; }
  bool sendCookie = true;

 private:
  httplib::Headers Headers(bool changing = false) const {
    httplib::Headers headers;
    if (sendCookie && !cookie_.empty()) headers.emplace("Cookie", cookie_);
    if (changing && !csrf.empty()) headers.emplace("X-CSRF-Token", csrf);
    return headers;
  }

  static Reply ToReply(const httplib::Result& result) {
    if (!result) return {-1, json(httplib::to_string(result.error()))};
    return {result->status, json::parse(result->body, nullptr, false)};
  }

  httplib::Client client_;
  std::string cookie_;
};

}  // namespace quil::web::testing

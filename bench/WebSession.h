// WebSession: the web host serving one database file on a loopback port, from a thread of the
// benchmark, with one browser session logged in that posts events as the front-end does. The
// database and its user come first; screens the benchmark registers itself are registered before
// the session starts.
#pragma once

#include <httplib.h>

#include <memory>
#include <nlohmann/json.hpp>
#include <stdexcept>
#include <string>
#include <thread>

#include "server/AppServer.h"
#include "server/Users.h"
#include "web/HostApp.h"
#include "web/WebServer.h"

namespace kavel::bench {

class WebSession {
 public:
  WebSession(const std::string& databasePath, const std::string& login,
             const std::string& password) {
    quil::web::WebServerOptions options;
    options.connect = [databasePath](const quil::User& user) -> std::unique_ptr<quil::IAppServer> {
      return quil::server::AppServer::Open(databasePath, user.id);
    };
    options.users = [databasePath] { return quil::server::OpenUserDirectory(databasePath); };
    options.appFactory = quil::web::HostAppFactory();
    server_ = std::make_unique<quil::web::WebServer>(options);
    const int port = server_->Bind("127.0.0.1", 0);
    thread_ = std::thread([this] { server_->Serve(); });
    client_ = std::make_unique<httplib::Client>("127.0.0.1", port);
    client_->set_keep_alive(true);
    client_->set_tcp_nodelay(true);  // as browsers do
    const nlohmann::json credentials = {{"login", login}, {"password", password}};
    auto answer = client_->Post("/api/login", credentials.dump(), "application/json");
    if (!answer || answer->status != 200) {
      Stop();
      throw std::runtime_error("the benchmark session could not log in");
    }
    const std::string cookie = answer->get_header_value("Set-Cookie");
    headers_ = {{"Cookie", cookie.substr(0, cookie.find(';'))},
                {"X-CSRF-Token", nlohmann::json::parse(answer->body)["csrf"].get<std::string>()}};
  }
  ~WebSession() { Stop(); }
  WebSession(const WebSession&) = delete;
  WebSession& operator=(const WebSession&) = delete;

  //! One event round trip; the answer, or null when the server did not answer.
  nlohmann::json Event(const nlohmann::json& event) {
    auto answer = client_->Post("/api/event", headers_, event.dump(), "application/json");
    lastBytes_ = answer ? answer->body.size() : 0;
    return answer ? nlohmann::json::parse(answer->body) : nlohmann::json();
  }
  //! The size of the last answer in bytes.
  size_t LastBytes() const { return lastBytes_; }

 private:
  void Stop() {
    if (!thread_.joinable()) return;
    server_->Stop();
    thread_.join();
  }

  std::unique_ptr<quil::web::WebServer> server_;
  std::thread thread_;
  std::unique_ptr<httplib::Client> client_;
  httplib::Headers headers_;
  size_t lastBytes_ = 0;
};

}  // namespace kavel::bench

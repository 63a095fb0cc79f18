#include "web/WebServer.h"

#include <httplib.h>
#include <sys/socket.h>

#include <atomic>
#include <charconv>
#include <chrono>
#include <filesystem>
#include <iostream>
#include <limits>
#include <stdexcept>
#include <thread>

#include "host/base/Errors.h"
#include "host/base/Strings.h"

namespace quil::web {

namespace {

using nlohmann::json;

constexpr const char* kCookie = "kavel_sessie";
constexpr size_t kMaxBody = 1 << 20;
constexpr const char* kBusyText = "Te veel aanmeldingen tegelijk; probeer het zo meteen opnieuw.";

void Reply(httplib::Response& res, int status, const json& body) {
  res.status = status;
  res.set_content(body.dump(), "application/json; charset=utf-8");
}

void Fail(httplib::Response& res, int status, const std::string& message) {
  Reply(res, status, {{"error", EchoText(message, kMaxMessageBytes)}});
}

std::string CookieValue(const httplib::Request& req, std::string_view name) {
  const std::string header = req.get_header_value("Cookie");
  size_t pos = 0;
  while (pos < header.size()) {
    size_t end = header.find(';', pos);
    if (end == std::string::npos) end = header.size();
    std::string_view part(header.data() + pos, end - pos);
    while (!part.empty() && part.front() == ' ') part.remove_prefix(1);
    if (part.size() > name.size() && part.substr(0, name.size()) == name &&
        part[name.size()] == '=') {
      return std::string(part.substr(name.size() + 1));
    }
    pos = end + 1;
  }
  return "";
}

//! The media type is application/json exactly (any case), with parameters or without.
bool IsJson(const httplib::Request& req) {
  const std::string header = req.get_header_value("Content-Type");
  std::string_view type(header);
  type = type.substr(0, type.find(';'));
  while (!type.empty() && (type.back() == ' ' || type.back() == '\t')) type.remove_suffix(1);
  return SameText(type, "application/json");
}

std::string SessionCookie(const std::string& value, bool secure) {
  return std::string(kCookie) + "=" + value + "; Path=/; HttpOnly; SameSite=Strict" +
         (secure ? "; Secure" : "");
}

//! Every number in the body is a whole number within the range of int: the browser sends no
//! other, and one out of range must never reach an event wrapped or clamped.
bool NumbersInRange(const json& value) {
  if (value.is_number_unsigned()) {
    return value.get<uint64_t>() <= static_cast<uint64_t>(std::numeric_limits<int>::max());
  }
  if (value.is_number_integer()) {
    const int64_t number = value.get<int64_t>();
    return number >= std::numeric_limits<int>::min() && number <= std::numeric_limits<int>::max();
  }
  if (value.is_number()) return false;
  if (value.is_structured()) {
    for (const json& item : value) {
      if (!NumbersInRange(item)) return false;
    }
  }
  return true;
}

json UserJson(const User& user) {
  return {{"login", user.login}, {"name", user.name}};
}

}  // namespace

struct WebServer::Impl {
  explicit Impl(WebServerOptions opts)
      : options(std::move(opts)),
        sessions(options.connect, options.appFactory, options.limits),
        throttle(options.loginLimits, options.loginClock),
        addressThrottle(options.addressLimits, options.loginClock) {
    if (!options.appFactory) throw std::logic_error("WebServer needs an app factory");
    if (!options.connect || !options.users) {
      throw std::logic_error("WebServer needs the application server's doors");
    }
    const int threads = options.threads;
    http.new_task_queue = [threads] { return new httplib::ThreadPool(threads); };
    http.set_payload_max_length(kMaxBody);
    // Answers are small and go out at once; waiting for the next packet costs 40 ms a round trip.
    http.set_tcp_nodelay(true);
    // The listening socket: SO_REUSEADDR for a quick restart, but not the library's SO_REUSEPORT,
    // which would let a second server take the same port.
    http.set_socket_options([this](socket_t sock) {
      int yes = 1;
      setsockopt(sock, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
      listenSocket = sock;
    });
    http.set_default_headers({
        {"X-Content-Type-Options", "nosniff"},
        {"X-Frame-Options", "DENY"},
        {"Referrer-Policy", "no-referrer"},
        {"Content-Security-Policy",
         "default-src 'self'; img-src 'self' data:; frame-ancestors 'none'; base-uri 'none'; "
         "form-action 'self'"},
    });
    // A decoded NUL would end the file name early: "/app.js%00.html" must not serve app.js.
    http.set_pre_routing_handler([](const httplib::Request& req, httplib::Response& res) {
      if (req.path.find('\0') == std::string::npos)
        return httplib::Server::HandlerResponse::Unhandled;
      Fail(res, 400, "Ongeldig pad");
      return httplib::Server::HandlerResponse::Handled;
    });
    if (!options.staticDir.empty() && !http.set_mount_point("/", options.staticDir)) {
      throw std::runtime_error("De map met de webbestanden bestaat niet: " + options.staticDir);
    }
    auto api = [this](const httplib::Request& req, httplib::Response& res) { Api(req, res); };
    const char* pattern = R"(/api(/.*)?)";
    http.Get(pattern, api);
    http.Post(pattern, api);
    http.Put(pattern, api);
    http.Delete(pattern, api);
    http.Patch(pattern, api);
  }

  void Api(const httplib::Request& req, httplib::Response& res) {
    res.set_header("Cache-Control", "no-store");
    const std::string name = req.path.size() > 5 ? req.path.substr(5) : "";
    const bool changing = req.method != "GET" && req.method != "HEAD";
    try {
      if (changing && !IsJson(req)) {
        return Fail(res, 415, "Verwacht een JSON-verzoek (Content-Type: application/json)");
      }
      if (name == "login") {
        if (req.method != "POST") return Fail(res, 405, "Gebruik POST");
        return Login(req, res);
      }
      auto session = sessions.Find(CookieValue(req, kCookie));
      if (!session) return Fail(res, 401, "Niet aangemeld");
      if (changing && !session->CheckCsrf(req.get_header_value("X-CSRF-Token"))) {
        return Fail(res, 403, "Ongeldig of ontbrekend CSRF-token");
      }
      if (req.method == "GET") {
        if (name == "session") return SessionInfo(*session, res);
        if (name == "state") return State(*session, res);
        if (name == "wait") return Wait(*session, req, res);
        return Query(*session, name, req, res);
      }
      if (req.method == "POST") {
        if (name == "logout") {
          sessions.End(session->Id());
          res.set_header("Set-Cookie", SessionCookie("", options.secureCookie) + "; Max-Age=0");
          return Reply(res, 200, json::object());
        }
        if (name == "event" || name == "answer") {
          json body = json::parse(req.body, nullptr, false);
          if (!body.is_object()) return Fail(res, 400, "Het verzoek is geen JSON-object");
          if (!NumbersInRange(body)) {
            return Fail(res, 400,
                        "Het verzoek bevat een getal dat geen geheel getal binnen bereik is");
          }
          if (name == "event") return Posted(*session, session->PostEvent(std::move(body)), res);
          if (!body.contains("dialog") || !body["dialog"].is_number_integer()) {
            return Fail(res, 400, "Het antwoord noemt geen dialoog");
          }
          const int64_t dialog = body["dialog"].get<int64_t>();
          json answer = body.value("answer", json::object());
          return Posted(*session, session->PostAnswer(dialog, std::move(answer)), res);
        }
      }
      Fail(res, 404, "Onbekende opdracht: " + req.method + " " + req.path);
    } catch (const EClientError& error) {
      Fail(res, 400, error.what());
    } catch (const BadRequest& error) {
      Fail(res, 400, error.what());
    } catch (const UnknownQuery&) {
      Fail(res, 404, "Onbekende opdracht: " + req.method + " " + req.path);
    } catch (const std::exception& error) {
      std::cerr << "kavel: " << req.method << " " << req.path << ": " << error.what() << "\n";
      Fail(res, 500, std::string("Interne fout: ") + error.what());
    }
  }

  void Login(const httplib::Request& req, httplib::Response& res) {
    json body = json::parse(req.body, nullptr, false);
    if (!body.is_object() || !body.contains("login") || !body["login"].is_string() ||
        !body.contains("password") || !body["password"].is_string()) {
      return Fail(res, 400, "Geef een gebruikersnaam en een wachtwoord");
    }
    const std::string login = body["login"].get<std::string>();
    // Refused before the password is looked at, and the same for a name that does not exist.
    // The address first: a flood under many names must not hold the password checks.
    LoginThrottle::Attempt fromAddress = addressThrottle.Begin(req.remote_addr);
    if (fromAddress.Busy()) return Fail(res, 429, kBusyText);
    if (!fromAddress.Admitted()) return Fail(res, 429, addressThrottle.RefusalText());
    LoginThrottle::Attempt attempt = throttle.Begin(login);
    if (!attempt.Admitted()) return Fail(res, 429, throttle.RefusalText());
    std::optional<User> user;
    user = options.users()->Authenticate(login, body["password"].get<std::string>());
    if (!user) {
      attempt.Failed();
      fromAddress.Failed();
      return Fail(res, 401, "Onbekende gebruiker of verkeerd wachtwoord");
    }
    attempt.Succeeded();
    fromAddress.Succeeded();
    // A login replaces the session this browser had.
    if (auto old = CookieValue(req, kCookie); !old.empty()) sessions.End(old);
    auto session = sessions.Create(*user);
    res.set_header("Set-Cookie", SessionCookie(session->Id(), options.secureCookie));
    Reply(res, 200,
          {{"csrf", session->CsrfToken()}, {"user", UserJson(*user)}, {"notice", options.notice}});
  }

  void SessionInfo(Session& session, httplib::Response& res) {
    Reply(res, 200,
          {{"csrf", session.CsrfToken()},
           {"user", UserJson(session.GetUser())},
           {"notice", options.notice}});
  }

  void Posted(Session& session, uint64_t seq, httplib::Response& res) {
    if (seq == 0) return Fail(res, 401, "De sessie is beëindigd");
    Outcome(session, seq, res);
  }

  void Outcome(Session& session, uint64_t seq, httplib::Response& res,
               std::chrono::milliseconds budget) {
    SessionWorker::Rest rest;
    switch (session.Worker().WaitForRest(seq, budget, rest)) {
      case SessionWorker::WaitResult::Stopped:
        return Fail(res, 401, "De sessie is beëindigd");
      case SessionWorker::WaitResult::Busy:
        return Reply(res, 200,
                     {{"seq", seq}, {"busy", true}, {"progress", session.Worker().Progress()}});
      case SessionWorker::WaitResult::Rested:
        return Reply(res, 200,
                     {{"seq", rest.seq},
                      {"busy", false},
                      {"state", rest.state.value("state", json::object())},
                      {"dialog", rest.state.value("dialog", json())}});
    }
  }

  void Outcome(Session& session, uint64_t seq, httplib::Response& res) {
    Outcome(session, seq, res, options.restBudget);
  }

  void State(Session& session, httplib::Response& res) {
    // The state changes only by tasks: the rest after the last one posted is the current state.
    // Nothing is posted, so looking does not count as an answer to a waiting question.
    Outcome(session, session.Worker().LastPosted(), res);
  }

  void Wait(Session& session, const httplib::Request& req, httplib::Response& res) {
    uint64_t seq = 0;
    const std::string text = req.get_param_value("seq");
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), seq);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) {
      return Fail(res, 400, "Geef het volgnummer (seq) van de opdracht");
    }
    Outcome(session, seq, res, options.pollBudget);
  }

  void Query(Session& session, const std::string& name, const httplib::Request& req,
             httplib::Response& res) {
    json args = json::object();
    for (const auto& [key, value] : req.params) args[key] = value;
    auto result = session.Query(name, std::move(args), options.queryBudget);
    if (!result) return Fail(res, 503, "De sessie is bezig; probeer het zo meteen opnieuw");
    Reply(res, 200, *result);
  }

  WebServerOptions options;
  SessionManager sessions;
  LoginThrottle throttle;
  LoginThrottle addressThrottle;
  httplib::Server http;
  //! Serve and Stop meet through these: a Stop that comes before the library started listening
  //! would otherwise be lost, and the listening thread would never end.
  std::atomic<bool> serving{false};
  std::atomic<bool> stopped{false};
  std::string address;
  int port = 0;
  int listenSocket = -1;
};

WebServer::WebServer(WebServerOptions options)
    : impl_(std::make_unique<Impl>(std::move(options))) {}

WebServer::~WebServer() {
  Stop();
}

int WebServer::Bind(const std::string& address, int port) {
  int bound = port;
  if (port == 0) {
    bound = impl_->http.bind_to_any_port(address);
  } else if (!impl_->http.bind_to_port(address, port)) {
    bound = -1;
  }
  if (bound <= 0) {
    throw std::runtime_error("Kan niet luisteren op " + address + ":" + std::to_string(port));
  }
  // The library listens with a backlog of 5; a burst of browsers connecting at once overflows it
  // and the kernel drops the connections beyond it. Listening again only raises the backlog.
  if (impl_->listenSocket >= 0) ::listen(impl_->listenSocket, SOMAXCONN);
  impl_->address = address;
  impl_->port = bound;
  return bound;
}

void WebServer::Serve() {
  impl_->serving = true;
  if (!impl_->stopped) impl_->http.listen_after_bind();
  impl_->serving = false;
}

void WebServer::Stop() {
  impl_->stopped = true;
  // A Serve past its check is about to listen: wait until it does, so that stop reaches it.
  while (impl_->serving && !impl_->http.is_running()) {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  impl_->http.stop();
  // Requests waiting for a session's rest return at once.
  impl_->sessions.EndAll();
}

SessionManager& WebServer::Sessions() {
  return impl_->sessions;
}

std::string FindStaticDir(const std::string& given, const std::string& programPath) {
  namespace fs = std::filesystem;
  std::error_code ec;
  if (!given.empty()) return given;
#ifdef KAVEL_WEB_STATIC_DIR
  if (fs::is_directory(KAVEL_WEB_STATIC_DIR, ec)) return KAVEL_WEB_STATIC_DIR;
#endif
  const fs::path beside = fs::path(programPath).parent_path() / "static";
  if (fs::is_directory(beside, ec)) return beside.string();
  return "";
}

}  // namespace quil::web

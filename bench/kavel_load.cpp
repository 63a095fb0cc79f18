// kavel_load: many browser sessions editing the same list through two `kavel serve` processes
// on one database, speaking the browser protocol (JSON over HTTP) as the front-end does.
//
//   kavel_load KAVEL_BINARY DATABASE [SESSIONS] [EDITS_PER_SESSION]
//
// DATABASE is a demo database (a file, or a postgresql:// URL made with `kavel init-db --demo`);
// the user admin gets the password "admin1". Each session logs in on one of the two processes in
// turn, opens the absence codes of the first institution (given the standard codes first when it
// has none) and, EDITS times, moves to one of the
// codes, types a description of its own and posts it. A post refused with "Record werd intussen
// gewijzigd door een andere gebruiker" is answered, its change undone and the list refreshed. At
// the end the program checks that nothing was lost: per code, every accepted post started from the
// value the previous accepted post left, and the last one is what the database holds. It prints
// requests per second and the latency of the requests (p50, p99). Not run by the tests.
#include <httplib.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <iostream>
#include <map>
#include <mutex>
#include <nlohmann/json.hpp>
#include <string>
#include <thread>
#include <vector>

#include "server/Users.h"
#include "server/db/Database.h"

namespace {

using nlohmann::json;
using Clock = std::chrono::steady_clock;

constexpr const char* kRefusal = "Record werd intussen gewijzigd door een andere gebruiker";

struct Stats {
  std::mutex mutex;
  std::vector<double> latenciesMs;
  int accepted = 0, refused = 0, errors = 0;
  std::string firstError;
  //! Per code (record number): accepted posts as (value seen before, value posted).
  std::map<int, std::vector<std::pair<std::string, std::string>>> chains;
};

const json* FindBy(const json& node, const char* key, const std::string& value) {
  if (node.is_object()) {
    if (node.contains(key) && node[key].is_string() && node[key] == value) return &node;
    for (const auto& [name, child] : node.items()) {
      if (const json* found = FindBy(child, key, value)) return found;
    }
  } else if (node.is_array()) {
    for (const json& child : node) {
      if (const json* found = FindBy(child, key, value)) return found;
    }
  }
  return nullptr;
}

class Session {
 public:
  Session(int port, Stats& stats) : client_("127.0.0.1", port), stats_(stats) {
    client_.set_read_timeout(60, 0);
    client_.set_keep_alive(true);
    client_.set_tcp_nodelay(true);
  }

  bool Login() {
    auto result = client_.Post(
        "/api/login", json{{"login", "admin"}, {"password", "admin1"}}.dump(), "application/json");
    if (!result || result->status != 200) return false;
    std::string cookie = result->get_header_value("Set-Cookie");
    cookie_ = cookie.substr(0, cookie.find(';'));
    csrf_ = json::parse(result->body).value("csrf", "");
    return true;
  }

  json Send(const json& event, const char* path = "/api/event") {
    auto start = Clock::now();
    httplib::Headers headers{{"Cookie", cookie_}, {"X-CSRF-Token", csrf_}};
    auto result = client_.Post(path, headers, event.dump(), "application/json");
    json body = result ? json::parse(result->body, nullptr, false) : json();
    while (result && result->status == 200 && body.value("busy", false)) {
      result = client_.Get(("/api/wait?seq=" + std::to_string(body["seq"].get<uint64_t>())).c_str(),
                           headers);
      body = result ? json::parse(result->body, nullptr, false) : json();
    }
    double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    std::lock_guard lock(stats_.mutex);
    stats_.latenciesMs.push_back(ms);
    if (!result || result->status != 200) {
      ++stats_.errors;
      if (stats_.firstError.empty()) {
        stats_.firstError = result ? std::to_string(result->status) + " " + result->body
                                   : httplib::to_string(result.error());
      }
      return json();
    }
    return body;
  }

  //! Opens the codes once; an institution without codes gets the standard ones.
  void Prepare() {
    if (!Login()) return Fail("login");
    json opened = Send({{"type", "open"}, {"class", "TVWOAfwezigheidsCodesForm"}});
    if (opened.contains("dialog") && opened["dialog"].is_object()) {
      Send({{"dialog", opened["dialog"]["id"]}, {"answer", {{"result", 6}}}}, "/api/answer");
    }
  }

  void Run(int session, int edits, int codes) {
    if (!Login()) return Fail("login");
    json opened = Send({{"type", "open"}, {"class", "TVWOAfwezigheidsCodesForm"}});
    const json* form = FindBy(opened, "class", "TVWOAfwezigheidsCodesForm");
    if (form == nullptr || !form->contains("id"))
      return Fail("open: " + opened.dump().substr(0, 300));
    const json id = (*form)["id"];
    for (int edit = 0; edit < edits; ++edit) {
      const int recNo = 1 + (session * 7 + edit * 3) % codes;
      json moved = Send(
          {{"type", "move"}, {"form", id}, {"source", "DSAfwezigheidscodes"}, {"recNo", recNo}});
      const json* editor = FindBy(moved, "name", "EdtOmschrijving");
      if (editor == nullptr) return Fail("no editor");
      const std::string seen = editor->value("value", "");
      const std::string value = "s" + std::to_string(session) + "e" + std::to_string(edit);
      Send({{"type", "value"}, {"form", id}, {"control", "EdtOmschrijving"}, {"value", value}});
      json posted = Send({{"type", "command"},
                          {"form", id},
                          {"source", "DSAfwezigheidscodes"},
                          {"command", "post"}});
      if (posted.contains("dialog") && posted["dialog"].is_object()) {
        const std::string text = posted["dialog"].value("text", "");
        Send({{"dialog", posted["dialog"]["id"]}, {"answer", {{"result", 1}}}}, "/api/answer");
        Send({{"type", "command"},
              {"form", id},
              {"source", "DSAfwezigheidscodes"},
              {"command", "cancel"}});
        Send({{"type", "command"},
              {"form", id},
              {"source", "DSAfwezigheidscodes"},
              {"command", "cancelUpdates"}});
        Send({{"type", "command"},
              {"form", id},
              {"source", "DSAfwezigheidscodes"},
              {"command", "refresh"}});
        std::lock_guard lock(stats_.mutex);
        if (text.find(kRefusal) != std::string::npos) {
          ++stats_.refused;
        } else {
          ++stats_.errors;
          if (stats_.firstError.empty()) stats_.firstError = "dialog: " + text;
        }
        continue;
      }
      std::lock_guard lock(stats_.mutex);
      ++stats_.accepted;
      stats_.chains[recNo].emplace_back(seen, value);
    }
  }

 private:
  void Fail(const std::string& what) {
    std::lock_guard lock(stats_.mutex);
    ++stats_.errors;
    if (stats_.firstError.empty()) stats_.firstError = what;
  }

  httplib::Client client_;
  Stats& stats_;
  std::string cookie_, csrf_;
};

pid_t StartServer(const std::string& kavel, const std::string& db, int port) {
  pid_t child = fork();
  if (child == 0) {
    std::string portText = std::to_string(port);
    freopen("/dev/null", "w", stdout);
    execl(kavel.c_str(), kavel.c_str(), "serve", "--db", db.c_str(), "--port", portText.c_str(),
          static_cast<char*>(nullptr));
    _exit(127);
  }
  httplib::Client probe("127.0.0.1", port);
  for (int i = 0; i < 200; ++i) {
    if (probe.Get("/")) return child;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  std::cerr << "kavel serve on port " << port << " did not start\n";
  exit(1);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::cerr << "usage: kavel_load KAVEL_BINARY DATABASE [SESSIONS] [EDITS]\n";
    return 2;
  }
  const std::string kavel = argv[1], location = argv[2];
  const int sessions = argc > 3 ? std::stoi(argv[3]) : 50;
  const int edits = argc > 4 ? std::stoi(argv[4]) : 20;

  // The screen opens on the first institution in code order.
  const std::string codesSql =
      "SELECT VAC_OMSCHRIJVING FROM VWOAFWEZIGHEIDSCODE WHERE VAC_INSTELLING_FK = "
      "(SELECT IS_ID FROM INSTELLING ORDER BY IS_CODE LIMIT 1) ORDER BY VAC_CODE";
  quil::server::UserStore(quil::server::OpenDatabase(location)).SetPassword("admin", "admin1");

  const int basePort = 20000 + getpid() % 20000;
  pid_t first = StartServer(kavel, location, basePort);
  pid_t second = StartServer(kavel, location, basePort + 1);

  Stats warmUp;
  Session(basePort, warmUp).Prepare();
  int codes = 0;
  std::map<int, std::string> initial;
  {
    auto db = quil::server::OpenDatabase(location);
    auto stmt = db->Prepare(codesSql);
    while (stmt->Step()) initial[++codes] = std::string(stmt->ColumnText(0));
  }
  if (codes == 0 || warmUp.errors != 0) {
    std::cerr << "no absence codes to edit: " << warmUp.firstError << "\n";
    kill(first, SIGTERM);
    kill(second, SIGTERM);
    return 2;
  }

  Stats stats;
  auto start = Clock::now();
  std::vector<std::thread> threads;
  for (int s = 0; s < sessions; ++s) {
    threads.emplace_back([&, s] { Session(basePort + s % 2, stats).Run(s, edits, codes); });
  }
  for (auto& thread : threads) thread.join();
  double seconds = std::chrono::duration<double>(Clock::now() - start).count();

  kill(first, SIGTERM);
  kill(second, SIGTERM);
  waitpid(first, nullptr, 0);
  waitpid(second, nullptr, 0);

  // Nothing lost: per code, the accepted posts form one chain from the first value to the last.
  int lost = 0;
  {
    auto db = quil::server::OpenDatabase(location);
    auto stmt = db->Prepare(codesSql);
    int recNo = 0;
    while (stmt->Step()) {
      ++recNo;
      std::vector<std::pair<std::string, std::string>> posts = stats.chains[recNo];
      std::string value = initial[recNo];
      while (!posts.empty()) {
        auto next = std::find_if(posts.begin(), posts.end(),
                                 [&](const auto& post) { return post.first == value; });
        if (next == posts.end()) break;
        value = next->second;
        posts.erase(next);
      }
      lost += static_cast<int>(posts.size());
      if (value != stmt->ColumnText(0)) ++lost;
    }
  }

  std::vector<double>& l = stats.latenciesMs;
  std::sort(l.begin(), l.end());
  auto pct = [&](double p) { return l.empty() ? 0.0 : l[static_cast<size_t>(p * (l.size() - 1))]; };
  std::printf(
      "%s: %d sessions x %d edits on two processes: %zu requests in %.1f s = %.0f req/s, "
      "p50 %.1f ms, p99 %.1f ms; posts accepted %d, refused as changed %d, errors %d, lost %d\n",
      quil::server::IsPostgresUrl(location) ? "PostgreSQL" : "SQLite", sessions, edits, l.size(),
      seconds, l.size() / seconds, pct(0.5), pct(0.99), stats.accepted, stats.refused, stats.errors,
      lost);
  if (!stats.firstError.empty()) std::printf("first error: %s\n", stats.firstError.c_str());
  return stats.errors == 0 && lost == 0 ? 0 : 1;
}

#include "server/davinci/DavinciSim.h"

#include <httplib.h>

#include <atomic>
#include <cctype>
#include <cstdio>
#include <map>
#include <mutex>
#include <nlohmann/json.hpp>
#include <optional>
#include <stdexcept>
#include <thread>

#include "host/data/DavinciCalls.h"
#include "server/davinci/DavinciProtocol.h"

namespace quil::server {

namespace {

using Json = nlohmann::json;
using davinci::CallAction;
using davinci::ObjectType;

struct Answer {
  int status = 200;
  std::string body;
};

Answer Refusal(int status, const char* code, const std::string& text) {
  return {status, Json{{"code", code}, {"melding", text}}.dump()};
}

bool AllDigits(std::string_view text) {
  if (text.empty()) return false;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

bool IsDate(const Json& value) {
  if (!value.is_string()) return false;
  const std::string text = value.get<std::string>();
  if (text.size() != 10 || text[4] != '-' || text[7] != '-') return false;
  if (!AllDigits(text.substr(0, 4)) || !AllDigits(text.substr(5, 2)) ||
      !AllDigits(text.substr(8, 2))) {
    return false;
  }
  const int month = std::stoi(text.substr(5, 2)), day = std::stoi(text.substr(8, 2));
  return month >= 1 && month <= 12 && day >= 1 && day <= 31;
}

//! "HH:MM" or "HH:MM:SS" as "HH:MM:SS"; "" when it is neither.
std::string TimeOfDay(const Json& value) {
  if (!value.is_string()) return "";
  std::string text = value.get<std::string>();
  if (text.size() == 5) text += ":00";
  if (text.size() != 8 || text[2] != ':' || text[5] != ':') return "";
  if (!AllDigits(text.substr(0, 2)) || !AllDigits(text.substr(3, 2)) ||
      !AllDigits(text.substr(6, 2)) || text.substr(0, 2) > "23" || text.substr(3, 2) > "59") {
    return "";
  }
  return text;
}

const Json& Member(const Json& object, const char* name) {
  static const Json none;
  auto it = object.find(name);
  return it == object.end() ? none : *it;
}

//! The rules of the service, checked in this order; nothing when the call is well-formed.
std::optional<Answer> BreaksRule(const Json& call, ObjectType object, CallAction action) {
  const Json& school = Member(call, "school");
  if (!school.is_string() || school.get<std::string>().size() != 6 ||
      !AllDigits(school.get<std::string>())) {
    return Refusal(422, "DV-004", "Het instellingsnummer van de school ontbreekt of is ongeldig");
  }
  const Json& davinciId = Member(call, "davinciId");
  const bool known = davinciId.is_string() && !davinciId.get<std::string>().empty();
  if (action == CallAction::Aanmelden && known) {
    return Refusal(422, "DV-010",
                   "Het object is al aangemeld (Davinci-id " + davinciId.get<std::string>() + ")");
  }
  if (action != CallAction::Aanmelden && !known) {
    return Refusal(422, "DV-011", "Het object is nog niet aangemeld bij Davinci");
  }
  if (action == CallAction::Annuleren) return std::nullopt;
  const Json& data = Member(call, "gegevens");
  switch (object) {
    case ObjectType::Les: {
      if (!IsDate(Member(data, "datum"))) {
        return Refusal(422, "DV-101", "De les heeft geen geldige datum");
      }
      const std::string from = TimeOfDay(Member(data, "van")), to = TimeOfDay(Member(data, "tot"));
      if (from.empty() || to.empty()) {
        return Refusal(422, "DV-102", "De les heeft geen geldig begin- en einduur");
      }
      if (to <= from) {
        return Refusal(422, "DV-103", "Het einduur van de les ligt niet na het beginuur");
      }
      return std::nullopt;
    }
    case ObjectType::OpleidingsVariant:
    case ObjectType::ModuleVariant:
    case ObjectType::Klas: {
      const Json &from = Member(data, "begindatum"), &to = Member(data, "einddatum");
      if (!IsDate(from) || !IsDate(to)) {
        return Refusal(422, "DV-201", "De begin- of einddatum ontbreekt of is ongeldig");
      }
      if (to.get<std::string>() < from.get<std::string>()) {
        return Refusal(422, "DV-202", "De einddatum ligt voor de begindatum");
      }
      return std::nullopt;
    }
    case ObjectType::Cursist: {
      const Json& number = Member(data, "rijksregisternummer");
      if (!number.is_string() || number.get<std::string>().size() != 11 ||
          !AllDigits(number.get<std::string>())) {
        return Refusal(422, "DV-301", "Het rijksregisternummer van de cursist is ongeldig");
      }
      return std::nullopt;
    }
    case ObjectType::Registreeroverdracht:
    case ObjectType::Attest:
    case ObjectType::Participatie:
      return std::nullopt;
  }
  return std::nullopt;
}

}  // namespace

struct DavinciSim::Impl {
  httplib::Server server;
  std::thread thread;
  std::atomic<bool> stopping{false};
  mutable std::mutex mutex;
  DavinciSimOptions options;
  DavinciSimCounts counts;
  std::map<int64_t, Answer> answers;  //!< by call id
  long issued = 0;                    //!< Davinci ids handed out

  //! Waits the configured delay, in short steps so that Stop is not held up.
  void Delay() {
    std::chrono::milliseconds delay;
    {
      std::lock_guard<std::mutex> lock(mutex);
      delay = options.delay;
    }
    const auto until = std::chrono::steady_clock::now() + delay;
    while (!stopping && std::chrono::steady_clock::now() < until) {
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
  }

  Answer Handle(const std::string& body) {
    {
      std::lock_guard<std::mutex> lock(mutex);
      ++counts.received;
    }
    Delay();
    std::lock_guard<std::mutex> lock(mutex);
    if (options.storing) {
      ++counts.failed;
      return Refusal(503, "DV-503", "Davinci is tijdelijk niet beschikbaar");
    }
    const Json call = Json::parse(body, nullptr, false);
    if (!call.is_object()) {
      return Refusal(400, "DV-001", "Het bericht is geen geldig JSON-object");
    }
    const Json& id = Member(call, "oproepId");
    if (!id.is_number_integer() || id.get<int64_t>() <= 0) {
      return Refusal(400, "DV-002", "oproepId ontbreekt of is geen positief geheel getal");
    }
    if (auto seen = answers.find(id.get<int64_t>()); seen != answers.end()) return seen->second;
    Answer answer = Judge(call);
    (answer.status == 200 ? counts.accepted : counts.refused)++;
    answers.emplace(id.get<int64_t>(), answer);
    return answer;
  }

  Answer Judge(const Json& call) {
    const Json& type = Member(call, "soort");
    const int soort = type.is_number_integer() ? type.get<int>() : 0;
    const ObjectType object = davinci::ObjectOfCall(soort);
    const CallAction action = davinci::ActionOfCall(soort);
    if (ObjectName(object).empty() || ActionName(action).empty()) {
      return Refusal(422, "DV-003", "Onbekende soort oproep " + std::to_string(soort));
    }
    if (!Member(call, "gegevens").is_object()) {
      return Refusal(400, "DV-005", "De gegevens van het object ontbreken");
    }
    if (auto refusal = BreaksRule(call, object, action)) return *refusal;
    const Json& known = Member(call, "davinciId");
    std::string davinciId = known.is_string() ? known.get<std::string>() : "";
    ++issued;
    if (davinciId.empty()) {
      char text[32];
      std::snprintf(text, sizeof text, "DV%c-%06ld",
                    static_cast<char>(std::toupper(ObjectName(object)[0])), issued);
      davinciId = text;
    }
    return {
        200,
        Json{{"davinciId", davinciId}, {"concurrencyToken", "T" + std::to_string(issued)}}.dump()};
  }
};

DavinciSim::DavinciSim(DavinciSimOptions options) : impl_(std::make_unique<Impl>()) {
  impl_->options = options;
  Impl& impl = *impl_;
  // Enough threads that a slow answer does not hold up the calls of other senders.
  impl.server.new_task_queue = [] { return new httplib::ThreadPool(8); };
  impl.server.Post(kCallsPath, [&impl](const httplib::Request& req, httplib::Response& res) {
    Answer answer = impl.Handle(req.body);
    res.status = answer.status;
    res.set_content(answer.body, "application/json");
  });
  impl.server.Post(
      "/sim/instellingen", [this](const httplib::Request& req, httplib::Response& res) {
        const Json settings = Json::parse(req.body, nullptr, false);
        if (!settings.is_object()) {
          res.status = 400;
          return;
        }
        if (settings.contains("storing") && settings["storing"].is_boolean()) {
          SetStoring(settings["storing"].get<bool>());
        }
        if (settings.contains("vertragingMs") && settings["vertragingMs"].is_number_integer()) {
          SetDelay(std::chrono::milliseconds(settings["vertragingMs"].get<long>()));
        }
        res.set_content("{}", "application/json");
      });
  impl.server.Get("/sim/status", [this](const httplib::Request&, httplib::Response& res) {
    const DavinciSimCounts counts = Counts();
    std::lock_guard<std::mutex> lock(impl_->mutex);
    res.set_content(Json{{"ontvangen", counts.received},
                         {"aanvaard", counts.accepted},
                         {"geweigerd", counts.refused},
                         {"storingen", counts.failed},
                         {"storing", impl_->options.storing},
                         {"vertragingMs", impl_->options.delay.count()}}
                        .dump(),
                    "application/json");
  });
}

DavinciSim::~DavinciSim() {
  Stop();
}

int DavinciSim::Bind(const std::string& address, int port) {
  if (port == 0) {
    const int bound = impl_->server.bind_to_any_port(address);
    if (bound < 0) throw std::runtime_error("Kan niet luisteren op " + address);
    return bound;
  }
  if (!impl_->server.bind_to_port(address, port)) {
    throw std::runtime_error("Kan niet luisteren op " + address + ":" + std::to_string(port));
  }
  return port;
}

void DavinciSim::Serve() {
  impl_->server.listen_after_bind();
}

void DavinciSim::Start() {
  impl_->thread = std::thread([this] { Serve(); });
  // Stop must find it running, or it would not reach the listening thread.
  while (!impl_->server.is_running()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

void DavinciSim::Stop() {
  impl_->stopping = true;
  impl_->server.stop();
  if (impl_->thread.joinable()) impl_->thread.join();
}

void DavinciSim::SetStoring(bool storing) {
  std::lock_guard<std::mutex> lock(impl_->mutex);
  impl_->options.storing = storing;
}

void DavinciSim::SetDelay(std::chrono::milliseconds delay) {
  std::lock_guard<std::mutex> lock(impl_->mutex);
  impl_->options.delay = delay;
}

DavinciSimCounts DavinciSim::Counts() const {
  std::lock_guard<std::mutex> lock(impl_->mutex);
  return impl_->counts;
}

}  // namespace quil::server

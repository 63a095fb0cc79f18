// The call message, posted as JSON to <endpoint>/oproepen:
//
//   {"oproepId": 17,                 WC_ID; Davinci answers a repeated id as it did the first time
//    "soort": 301,                   WC_CALLTYPE
//    "object": "les", "actie": "aanmelden",   the same, in words
//    "school": "100001",             SC_INSTELLINGSNUMMER of the call's school
//    "davinciId": "DVL-000012",      ID_DAVINCIID, null before Davinci gave one
//    "concurrencyToken": "T12",      ID_DAVINCICONCURRENCYTOKEN, null when none
//    "gegevens": {...}}              WC_DATA as it stands (an empty object when none)
//
// Answers:
//   200 {"davinciId": "...", "concurrencyToken": "..."}       accepted
//   400 / 422 {"code": "DV-102", "melding": "..."}             refused: breaks a rule
//   404 / 409 / 401 / 403 (same body)                         refused: unknown object, changed
//                                                             meanwhile, not authorised
//   408, 429, 5xx (same body when there is one)               failed: tried again later
#include "server/davinci/DavinciProtocol.h"

#include <nlohmann/json.hpp>
#include <stdexcept>

namespace quil::server {

namespace {

using davinci::CallAction;
using davinci::ObjectType;
using Json = nlohmann::json;

std::string Reason(const Json& answer, int httpStatus) {
  std::string code = answer.is_object() && answer.contains("code") && answer["code"].is_string()
                         ? answer["code"].get<std::string>()
                         : "HTTP " + std::to_string(httpStatus);
  std::string text =
      answer.is_object() && answer.contains("melding") && answer["melding"].is_string()
          ? answer["melding"].get<std::string>()
          : std::string("geen toelichting");
  return code + ": " + text;
}

std::string Member(const Json& answer, const char* name) {
  return answer.is_object() && answer.contains(name) && answer[name].is_string()
             ? answer[name].get<std::string>()
             : std::string();
}

}  // namespace

std::string ObjectName(ObjectType type) {
  switch (type) {
    case ObjectType::OpleidingsVariant:
      return "opleidingsvariant";
    case ObjectType::ModuleVariant:
      return "modulevariant";
    case ObjectType::Les:
      return "les";
    case ObjectType::Klas:
      return "klas";
    case ObjectType::Cursist:
      return "cursist";
    case ObjectType::Registreeroverdracht:
      return "registreeroverdracht";
    case ObjectType::Attest:
      return "attest";
    case ObjectType::Participatie:
      return "participatie";
  }
  return "";
}

std::string ActionName(CallAction action) {
  switch (action) {
    case CallAction::Aanmelden:
      return "aanmelden";
    case CallAction::Wijzigen:
      return "wijzigen";
    case CallAction::Annuleren:
      return "annuleren";
  }
  return "";
}

std::string CallMessage(const WaitingCall& call) {
  Json data = Json::object();
  if (!call.data.empty()) {
    data = Json::parse(call.data, nullptr, false);
    if (!data.is_object()) {
      throw std::invalid_argument("De gegevens van de oproep zijn geen geldig JSON-object");
    }
  }
  Json message = {
      {"oproepId", call.id},
      {"soort", call.callType},
      {"object", ObjectName(davinci::ObjectOfCall(call.callType))},
      {"actie", ActionName(davinci::ActionOfCall(call.callType))},
      {"school", call.schoolNumber},
      {"davinciId", call.davinciId.empty() ? Json() : Json(call.davinciId)},
      {"concurrencyToken", call.concurrencyToken.empty() ? Json() : Json(call.concurrencyToken)},
      {"gegevens", std::move(data)}};
  return message.dump();
}

CallOutcome ReadAnswer(int httpStatus, std::string_view body) {
  const Json answer = Json::parse(body, nullptr, false);
  CallOutcome outcome;
  if (httpStatus >= 200 && httpStatus < 300) {
    outcome.kind = CallOutcome::Kind::Accepted;
    outcome.foutcode = davinci::foutcode::kOk;
    outcome.davinciId = Member(answer, "davinciId");
    outcome.concurrencyToken = Member(answer, "concurrencyToken");
    return outcome;
  }
  outcome.error = Reason(answer, httpStatus);
  outcome.kind = CallOutcome::Kind::Refused;
  switch (httpStatus) {
    case 400:
    case 422:
      outcome.foutcode = davinci::foutcode::kRegel;
      return outcome;
    case 404:
      outcome.foutcode = davinci::foutcode::kOnbekend;
      return outcome;
    case 409:
      outcome.foutcode = davinci::foutcode::kConflict;
      return outcome;
    case 401:
    case 403:
      outcome.foutcode = davinci::foutcode::kNietGemachtigd;
      return outcome;
    default:
      // 408, 429, 5xx and anything unexpected: Davinci may take it later.
      outcome.kind = CallOutcome::Kind::Failed;
      outcome.foutcode = davinci::foutcode::kServerfout;
      return outcome;
  }
}

}  // namespace quil::server

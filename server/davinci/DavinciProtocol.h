// DavinciProtocol: the messages between the sender and the registration service (and its
// stand-in). The format is documented once, in DavinciProtocol.cpp.
#pragma once

#include <string>
#include <string_view>

#include "host/data/DavinciCalls.h"
#include "server/davinci/CallQueue.h"

namespace quil::server {

//! The path, under the configured endpoint, that every call is posted to.
inline constexpr const char* kCallsPath = "/oproepen";

//! "opleidingsvariant", "les", ...; "" for a kind the protocol does not know.
std::string ObjectName(davinci::ObjectType type);
//! "aanmelden", "wijzigen", "annuleren"; "" otherwise.
std::string ActionName(davinci::CallAction action);

//! The request body of a call. Throws std::invalid_argument when WC_DATA is not a JSON object.
std::string CallMessage(const WaitingCall& call);

//! Reads Davinci's answer: HTTP status and body.
CallOutcome ReadAnswer(int httpStatus, std::string_view body);

}  // namespace quil::server

// Reading the members of a browser event or query: a member that is missing or of the wrong
// kind makes the request malformed (BadRequest, answered 400 with the message).
#pragma once

#include <nlohmann/json.hpp>
#include <string>

namespace quil::web {

//! The text member `key`.
std::string TextArg(const nlohmann::json& event, const char* key);
//! The whole-number member `key` (a number, or a text holding only one, as query parameters
//! are). A number outside the range of int is malformed, never wrapped or clamped.
int NumberArg(const nlohmann::json& event, const char* key);

}  // namespace quil::web

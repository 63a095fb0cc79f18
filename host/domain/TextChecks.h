// Checks of typed-in text that several screens share.
#pragma once

#include <string>
#include <string_view>

namespace quil {

//! The characters of a field that holds only digits (an address code, a number kept as text).
inline constexpr std::string_view NumericChars = "0123456789";

//! "" when `email` is a usable e-mail address, otherwise the Dutch message that says why not.
//! Accepted: one "@", a local part of letters, digits and .!#$%&'*+/=?^_`{|}~- without a leading,
//! trailing or doubled dot, and a domain of at least two dot-separated labels of letters, digits
//! and hyphens (no hyphen at either end of a label), at most 254 characters in all.
std::string CheckEmail(std::string_view email);

}  // namespace quil

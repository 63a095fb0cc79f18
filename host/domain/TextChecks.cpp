#include "host/domain/TextChecks.h"

#include "host/base/SysUtils.h"

namespace quil {

namespace {

// ASCII only: the process locale must not decide which addresses pass.
bool IsAlnum(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

bool LocalPartOk(std::string_view local) {
  constexpr std::string_view kSpecial = ".!#$%&'*+/=?^_`{|}~-";
  if (local.empty() || local.size() > 64 || local.front() == '.' || local.back() == '.') {
    return false;
  }
  if (local.find("..") != std::string_view::npos) return false;
  for (char c : local) {
    if (!IsAlnum(c) && kSpecial.find(c) == std::string_view::npos) return false;
  }
  return true;
}

bool DomainOk(std::string_view domain) {
  if (domain.empty() || domain.find('.') == std::string_view::npos) return false;
  size_t start = 0;
  while (start <= domain.size()) {
    size_t end = domain.find('.', start);
    if (end == std::string_view::npos) end = domain.size();
    std::string_view label = domain.substr(start, end - start);
    if (label.empty() || label.size() > 63 || label.front() == '-' || label.back() == '-') {
      return false;
    }
    for (char c : label) {
      if (!IsAlnum(c) && c != '-') return false;
    }
    start = end + 1;
  }
  return true;
}

}  // namespace

std::string CheckEmail(std::string_view email) {
  if (email.find_first_of(" \t\r\n") != std::string_view::npos) {
    return Format("Het e-mailadres '%s' mag geen spaties bevatten", email);
  }
  const size_t at = email.find('@');
  if (at == std::string_view::npos || email.find('@', at + 1) != std::string_view::npos) {
    return Format("Het e-mailadres '%s' moet juist één '@' bevatten", email);
  }
  if (email.size() > 254 || !LocalPartOk(email.substr(0, at)) || !DomainOk(email.substr(at + 1))) {
    return Format("'%s' is geen geldig e-mailadres", email);
  }
  return "";
}

}  // namespace quil

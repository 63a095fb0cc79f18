// Departementconst: the words for the codes of the Davinci records, in one place.
//
// `TDavinciUtils::DavinciCallTypeToString` names a call type (WC_CALLTYPE),
// `TDepUtils::StatusString` a call's state (WC_CALLSTATUS), `TDepUtils::FoutcodeString` its
// result (WC_CALLFOUTCODE) and `GetZidezuzoIDStatusdescription` the state of an object at Davinci
// (ID_STATUSOBJECT). The codes themselves are defined in host/data/DavinciCalls.h; the tables
// are listed in docs/davinci-codes.md. A code without a text is named as unknown with the code,
// so a newer server never makes a screen fail. Stateless and thread-safe.
#pragma once

#include <string>
#include <string_view>

#include "host/forms/Dlgdepartementcalls.h"

namespace quil {

struct TDavinciUtils {
  static std::string DavinciCallTypeToString(int callType);
};

struct TDepUtils {
  //! `status` is the one-character code; an empty text (no state yet) gives "".
  static std::string StatusString(std::string_view status);
  //! `foutcode` is the one-character code; an empty text (no attempt yet) gives "".
  static std::string FoutcodeString(std::string_view foutcode);
};

std::string GetZidezuzoIDStatusdescription(int status);

//! The words above, as the calls dialog takes them.
const TDavinciCallTexts& DavinciCallTexts();

}  // namespace quil

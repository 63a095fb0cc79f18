// Modal results and the dialog kinds of the host's message dialogs, as values.
//
// The numbers are the classic ones the screens compare with: MessageDlg answers Yes with 6, No with
// 7 and Cancel with 2.
#pragma once

#include <vector>

namespace quil {

enum class TModalResult {
  mrNone = 0,
  mrOk = 1,
  mrCancel = 2,
  mrAbort = 3,
  mrRetry = 4,
  mrIgnore = 5,
  mrYes = 6,
  mrNo = 7,
  mrAll = 8,
  mrNoToAll = 9,
  mrYesToAll = 10,
  mrClose = 11,
};
using enum TModalResult;

enum class TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };
using enum TMsgDlgType;

//! "warning", "error", "information", "confirmation" or "custom": how transcripts and the
//! browser name a dialog's kind.
const char* DialogTypeName(TMsgDlgType type);

enum class TMsgDlgBtn {
  mbYes,
  mbNo,
  mbOK,
  mbCancel,
  mbAbort,
  mbRetry,
  mbIgnore,
  mbAll,
  mbNoToAll,
  mbYesToAll,
  mbHelp,
  mbClose
};
using enum TMsgDlgBtn;

using TMsgDlgButtons = std::vector<TMsgDlgBtn>;

//! The modal result a button of a message dialog answers with (mbHelp answers nothing).
TModalResult ResultOfButton(TMsgDlgBtn button);
//! Dutch caption of a message dialog button ("Ja", "Nee", "OK", "Annuleren", ...).
const char* ButtonCaption(TMsgDlgBtn button);
//! "Ja", "Nee", "OK", "Annuleren", ... for a result; the number for others.
const char* ModalResultName(TModalResult result);

}  // namespace quil

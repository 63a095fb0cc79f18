#include "host/forms/ModalResult.h"

namespace quil {

const char* DialogTypeName(TMsgDlgType type) {
  switch (type) {
    case mtWarning:
      return "warning";
    case mtError:
      return "error";
    case mtInformation:
      return "information";
    case mtConfirmation:
      return "confirmation";
    case mtCustom:
      return "custom";
  }
  return "custom";
}

TModalResult ResultOfButton(TMsgDlgBtn button) {
  switch (button) {
    case mbYes:
      return mrYes;
    case mbNo:
      return mrNo;
    case mbOK:
      return mrOk;
    case mbCancel:
      return mrCancel;
    case mbAbort:
      return mrAbort;
    case mbRetry:
      return mrRetry;
    case mbIgnore:
      return mrIgnore;
    case mbAll:
      return mrAll;
    case mbNoToAll:
      return mrNoToAll;
    case mbYesToAll:
      return mrYesToAll;
    case mbClose:
      return mrClose;
    case mbHelp:
      return mrNone;
  }
  return mrNone;
}

const char* ButtonCaption(TMsgDlgBtn button) {
  switch (button) {
    case mbYes:
      return "Ja";
    case mbNo:
      return "Nee";
    case mbOK:
      return "OK";
    case mbCancel:
      return "Annuleren";
    case mbAbort:
      return "Afbreken";
    case mbRetry:
      return "Opnieuw";
    case mbIgnore:
      return "Negeren";
    case mbAll:
      return "Alles";
    case mbNoToAll:
      return "Nee op alles";
    case mbYesToAll:
      return "Ja op alles";
    case mbHelp:
      return "Help";
    case mbClose:
      return "Sluiten";
  }
  return "";
}

const char* ModalResultName(TModalResult result) {
  switch (result) {
    case mrNone:
      return "geen";
    case mrOk:
      return "OK";
    case mrCancel:
      return "Annuleren";
    case mrAbort:
      return "Afbreken";
    case mrRetry:
      return "Opnieuw";
    case mrIgnore:
      return "Negeren";
    case mrYes:
      return "Ja";
    case mrNo:
      return "Nee";
    case mrAll:
      return "Alles";
    case mrNoToAll:
      return "Nee op alles";
    case mrYesToAll:
      return "Ja op alles";
    case mrClose:
      return "Sluiten";
  }
  return "?";
}

}  // namespace quil

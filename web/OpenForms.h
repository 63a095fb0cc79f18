// OpenForms: the numbers by which the browser knows a session's open screens and modal dialogs.
//
// A number is given to a form the first time it is asked for and is unique in the session; a
// form that closed is no longer found by it (Prune forgets it). The active screen is the one the
// browser shows in full: the one last opened or activated, else the last one open.
#pragma once

#include <map>
#include <nlohmann/json.hpp>

#include "host/forms/QuilApplication.h"
#include "web/WebDialogs.h"

namespace quil::web {

class OpenForms {
 public:
  OpenForms(TQuilApplication& app, const WebDialogs& dialogs) : app_(app), dialogs_(dialogs) {}

  int IdOf(TQuilForm& form);
  //! The live form numbered by the event's "form"; BadRequest for any other number.
  TQuilForm& FormOf(const nlohmann::json& event);
  bool IsModal(const TQuilForm& form) const;
  //! Forgets the numbers of forms that closed.
  void Prune();

  TQuilDBForm* Active();
  void SetActive(TQuilForm& form) { activeId_ = IdOf(form); }

 private:
  bool IsLive(const TQuilForm* form) const;

  TQuilApplication& app_;
  const WebDialogs& dialogs_;
  std::map<const TQuilForm*, int> ids_;
  int nextId_ = 1;
  int activeId_ = 0;
};

}  // namespace quil::web

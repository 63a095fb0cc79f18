#include "web/OpenForms.h"

#include <algorithm>
#include <string>

#include "web/EventArgs.h"
#include "web/SessionApp.h"

namespace quil::web {

int OpenForms::IdOf(TQuilForm& form) {
  auto [it, added] = ids_.try_emplace(&form, nextId_);
  if (added) ++nextId_;
  return it->second;
}

TQuilForm& OpenForms::FormOf(const nlohmann::json& event) {
  const int id = NumberArg(event, "form");
  for (const auto& [form, formId] : ids_) {
    if (formId == id && IsLive(form)) return *const_cast<TQuilForm*>(form);
  }
  throw BadRequest("scherm " + std::to_string(id) + " is niet open");
}

bool OpenForms::IsModal(const TQuilForm& form) const {
  const auto& modal = dialogs_.ModalForms();
  return std::find(modal.begin(), modal.end(), &form) != modal.end();
}

bool OpenForms::IsLive(const TQuilForm* form) const {
  // `form` may have closed: it is compared, never read.
  auto forms = app_.Forms();
  const auto& modal = dialogs_.ModalForms();
  return std::find(forms.begin(), forms.end(), form) != forms.end() ||
         std::find(modal.begin(), modal.end(), form) != modal.end();
}

void OpenForms::Prune() {
  for (auto it = ids_.begin(); it != ids_.end();) {
    if (IsLive(it->first)) {
      ++it;
    } else {
      if (it->second == activeId_) activeId_ = 0;
      it = ids_.erase(it);
    }
  }
}

TQuilDBForm* OpenForms::Active() {
  auto forms = app_.Forms();
  if (forms.empty()) return nullptr;
  for (TQuilDBForm* form : forms) {
    if (IdOf(*form) == activeId_) return form;
  }
  activeId_ = IdOf(*forms.back());
  return forms.back();
}

}  // namespace quil::web

// The screen classes of the module that can be created, and the classes as the host gets them.
//
// A screen unit's initialisation registers the factory of its class here; the registration unit
// (regkavelmod) then hands each class to the host's form manager with its catalogue definition.
// A class whose unit is not written yet has no factory: the host opens it as an empty screen with
// its definition. A unit whose screen shows a dialog of the module declares that dialog here too,
// with the screen that opens it and the factory that screen creates it with.
#pragma once

#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "host/base/Strings.h"
#include "host/forms/FormManager.h"
#include "host/forms/QuilForm.h"

namespace kavel {

void RegisterScreenClass(std::string_view className, quil::TFormFactory factory);
//! Name, catalogue definition and factory (empty when the screen is not built yet).
quil::TFormClass FormClass(std::string_view className);

//! Declares a dialog a screen of the module shows modally; `factory` prepares it as a screen of
//! class `openerClass` hands it over. Registered with the host together with the screens.
void RegisterDialogClass(std::string_view className, std::string_view openerClass,
                         quil::TDialogFactory factory);
//! The dialogs declared so far, in declaration order.
const std::vector<quil::TDialogClass>& DialogClasses();

//! Creates a dialog that `screen`'s class declared (RegisterDialogClass), through its factory;
//! a logic error when it was not declared as a `TDialog`.
template <class TDialog>
std::unique_ptr<TDialog> CreateDeclaredDialog(quil::TQuilDBForm& screen, std::string_view name) {
  for (const quil::TDialogClass& dialog : DialogClasses()) {
    if (quil::SameText(dialog.ClassName, name) &&
        quil::SameText(dialog.OpenerClass, screen.ClassName())) {
      std::unique_ptr<quil::TQuilForm> form = dialog.Factory(screen);
      if (auto* typed = dynamic_cast<TDialog*>(form.get())) {
        form.release();
        return std::unique_ptr<TDialog>(typed);
      }
    }
  }
  throw std::logic_error("dialog not declared: " + std::string(name));
}

//! The factory of a screen class whose constructor takes the session.
template <class TScreen>
quil::TFormFactory FactoryOf() {
  return [](quil::TQuilApplication& app) -> std::unique_ptr<quil::TQuilDBForm> {
    return std::make_unique<TScreen>(app);
  };
}

}  // namespace kavel

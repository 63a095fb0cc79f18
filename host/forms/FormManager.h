// TFormManager: the host's one register of screen classes, filled by the modules it loads.
//
// A module registers each of its screen classes once per load with RegisterModuleForm: the class
// (name, definition, factory), the module's name, the menu section and the "|"-separated menu
// path whose last element is the entry that opens the screen. Detail screens have an empty
// section and path: they are opened only through a form link or as a default browser. The menu
// tree is built from the registrations, in their order. Class names are found without regard to
// case. Registrations are kept in order and never withdrawn: a module that is unloaded leaves its
// classes registered (the host keeps the module mapped).
//
// A class registered without a factory is a screen that is not built yet: the host opens it as an
// empty screen with its definition and tells the user so.
//
// A module also declares the dialogs its screens show modally (RegisterModuleDialog): the class,
// the screen that opens it and a factory that prepares it as that screen hands it over. The host
// needs them for nothing but knowing them (tests walk them); screens create their dialogs through
// the same factory, so what is declared is what the user gets.
//
// One per process (FormManager()); used from the thread that loads modules, before sessions start.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "host/forms/FormDefinition.h"

namespace quil {

class TQuilApplication;
class TQuilDBForm;
class TQuilForm;

using TFormFactory = std::function<std::unique_ptr<TQuilDBForm>(TQuilApplication&)>;
//! Creates a dialog ready to be shown, as the screen `opener` hands it over.
using TDialogFactory = std::function<std::unique_ptr<TQuilForm>(TQuilDBForm& opener)>;

//! A screen class as the host knows it.
struct TFormClass {
  std::string ClassName;
  TFormDefinition Definition;
  TFormFactory Factory;  //!< empty: not built yet
};

struct TFormRegistration {
  TFormClass FormClass;
  std::string Module;
  std::string Section;
  std::string Path;
};

//! A dialog a module shows modally from one of its screens.
struct TDialogClass {
  std::string ClassName;
  std::string OpenerClass;  //!< the registered screen class that opens it
  TDialogFactory Factory;
  std::string Module;
};

//! A node of the menu: a section, a submenu or (with a class) an entry that opens a screen.
struct TMenuNode {
  std::string Caption;
  std::string FormClass;
  std::vector<TMenuNode> Items;
};

class TFormManager {
 public:
  void RegisterModuleForm(const TFormClass& formClass, std::string_view module,
                          std::string_view section, std::string_view path);
  //! The first registered class of that name, case-insensitive; nullptr when none.
  const TFormClass* FindFormByName(std::string_view className) const;
  int FormClassCount() const { return static_cast<int>(registrations_.size()); }
  const TFormClass& GetFormClass(int index) const { return registrations_.at(index).FormClass; }
  const std::vector<TFormRegistration>& Registrations() const { return registrations_; }
  //! Sections in order of first registration, each with its path tree.
  std::vector<TMenuNode> MenuTree() const;
  void RegisterModuleDialog(TDialogClass dialogClass) {
    dialogs_.push_back(std::move(dialogClass));
  }
  //! The first registered dialog of that name, case-insensitive; nullptr when none.
  const TDialogClass* FindDialogByName(std::string_view className) const;
  const std::vector<TDialogClass>& Dialogs() const { return dialogs_; }
  //! Forgets every registration (tests and a host shutting down).
  void Clear() {
    registrations_.clear();
    dialogs_.clear();
  }

 private:
  std::vector<TFormRegistration> registrations_;
  std::vector<TDialogClass> dialogs_;
};

//! The process's form manager.
TFormManager& FormManager();

//! The menu tree and the detail screens as text, one entry a line:
//!   Schoolstructuur
//!     VWO
//!       Klassen: TVWOKlasForm
//!   Detailschermen
//!     TVWOKlasCPForm
std::string RenderMenu(const TFormManager& manager);

//! Creates a registered screen: by its factory, or as an empty screen when it is not built yet.
std::unique_ptr<TQuilDBForm> CreateFormOfClass(const TFormClass& formClass, TQuilApplication& app);

}  // namespace quil

#include "core/ModuleClasses.h"

#include <map>
#include <string>

#include "core/ScreenCatalogue.h"
#include "host/base/Strings.h"

namespace kavel {

namespace {

//! By upper-case class name; filled by the units' initialisations while the module loads.
std::map<std::string, quil::TFormFactory>& Factories() {
  static std::map<std::string, quil::TFormFactory> factories;
  return factories;
}

std::vector<quil::TDialogClass>& Dialogs() {
  static std::vector<quil::TDialogClass> dialogs;
  return dialogs;
}

}  // namespace

void RegisterDialogClass(std::string_view className, std::string_view openerClass,
                         quil::TDialogFactory factory) {
  Dialogs().push_back(
      {std::string(className), std::string(openerClass), std::move(factory), std::string()});
}

const std::vector<quil::TDialogClass>& DialogClasses() {
  return Dialogs();
}

void RegisterScreenClass(std::string_view className, quil::TFormFactory factory) {
  Factories()[quil::UpperCaseAscii(className)] = std::move(factory);
}

quil::TFormClass FormClass(std::string_view className) {
  quil::TFormClass formClass;
  formClass.Definition = ScreenDefinition(className);
  formClass.ClassName = formClass.Definition.ClassName;
  auto found = Factories().find(quil::UpperCaseAscii(className));
  if (found != Factories().end()) formClass.Factory = found->second;
  return formClass;
}

}  // namespace kavel

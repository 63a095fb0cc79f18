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

}  // namespace

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

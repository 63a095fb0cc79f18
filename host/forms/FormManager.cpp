#include "host/forms/FormManager.h"

#include "host/base/Strings.h"
#include "host/base/SysUtils.h"
#include "host/forms/QuilForm.h"

namespace quil {

namespace {

std::vector<std::string> SplitPath(std::string_view path) {
  std::vector<std::string> parts;
  size_t start = 0;
  while (true) {
    size_t bar = path.find('|', start);
    parts.emplace_back(path.substr(start, bar == std::string_view::npos ? bar : bar - start));
    if (bar == std::string_view::npos) return parts;
    start = bar + 1;
  }
}

TMenuNode& ChildNamed(std::vector<TMenuNode>& items, const std::string& caption) {
  for (TMenuNode& node : items) {
    if (node.Caption == caption && node.FormClass.empty()) return node;
  }
  items.push_back({caption, "", {}});
  return items.back();
}

void RenderNode(const TMenuNode& node, int depth, std::string& out) {
  out += std::string(2 * depth, ' ') + node.Caption;
  if (!node.FormClass.empty()) out += ": " + node.FormClass;
  out += "\n";
  for (const TMenuNode& child : node.Items) RenderNode(child, depth + 1, out);
}

//! What the host opens for a registered class whose screen is not built yet: the class's
//! definition on an empty screen, and a plain word to the user.
class TEmptyScreenForm : public TQuilDBForm {
 public:
  TEmptyScreenForm(TQuilApplication& app, std::string className)
      : TQuilDBForm(app, std::move(className)) {
    Add<TLabel>("LblNietBeschikbaar").Caption =
        "Dit scherm is nog niet beschikbaar in deze versie.";
  }

  // The data sources the definition names exist, without data, so that its form links open.
  void QuilDBFormCreate() override {
    auto declare = [this](const std::string& name) {
      if (!name.empty() && FindDataSource(name) == nullptr) AddDataSource(name, nullptr);
    };
    declare(MainDataSource);
    for (const TQuilFormLink& link : FormLinks) declare(link.MasterDS);
  }

  void QuilDBFormShow() override {
    ShowMessage(
        Format("Het scherm '%s' is nog niet beschikbaar in deze versie; het wordt leeg "
               "geopend.",
               Caption.empty() ? ClassName() : Caption));
  }
};

}  // namespace

void TFormManager::RegisterModuleForm(const TFormClass& formClass, std::string_view module,
                                      std::string_view section, std::string_view path) {
  registrations_.push_back(
      {formClass, std::string(module), std::string(section), std::string(path)});
}

const TFormClass* TFormManager::FindFormByName(std::string_view className) const {
  for (const TFormRegistration& registration : registrations_) {
    if (SameText(registration.FormClass.ClassName, className)) return &registration.FormClass;
  }
  return nullptr;
}

const TDialogClass* TFormManager::FindDialogByName(std::string_view className) const {
  for (const TDialogClass& dialog : dialogs_) {
    if (SameText(dialog.ClassName, className)) return &dialog;
  }
  return nullptr;
}

std::vector<TMenuNode> TFormManager::MenuTree() const {
  std::vector<TMenuNode> sections;
  for (const TFormRegistration& registration : registrations_) {
    if (registration.Path.empty()) continue;
    std::vector<TMenuNode>* level = &ChildNamed(sections, registration.Section).Items;
    std::vector<std::string> parts = SplitPath(registration.Path);
    for (size_t i = 0; i + 1 < parts.size(); ++i) level = &ChildNamed(*level, parts[i]).Items;
    level->push_back({parts.back(), registration.FormClass.ClassName, {}});
  }
  return sections;
}

TFormManager& FormManager() {
  static TFormManager manager;
  return manager;
}

std::string RenderMenu(const TFormManager& manager) {
  std::string out;
  for (const TMenuNode& section : manager.MenuTree()) RenderNode(section, 0, out);
  std::string details;
  for (const TFormRegistration& registration : manager.Registrations()) {
    if (registration.Path.empty()) details += "  " + registration.FormClass.ClassName + "\n";
  }
  if (!details.empty()) out += "Detailschermen\n" + details;
  return out;
}

std::unique_ptr<TQuilDBForm> CreateFormOfClass(const TFormClass& formClass, TQuilApplication& app) {
  if (formClass.Factory) return formClass.Factory(app);
  return std::make_unique<TEmptyScreenForm>(app, formClass.ClassName);
}

}  // namespace quil

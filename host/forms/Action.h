// TAction: a command of a screen with its enabling rule.
//
// OnUpdate sets the action's state (Enabled, Visible, Checked, Caption) from the screen's data; the
// host runs every update of a form before it shows it and after every event it handles. Execute
// runs the update first and refuses a disabled or hidden action, so a command can never run while
// its rule says no, whatever the renderer shows. Controls bound to an action follow its state.
#pragma once

#include <functional>
#include <string>

namespace quil {

class TAction {
 public:
  using Handler = std::function<void()>;

  explicit TAction(std::string name) : name_(std::move(name)) {}
  TAction(const TAction&) = delete;
  TAction& operator=(const TAction&) = delete;

  const std::string& Name() const { return name_; }
  std::string Caption;
  std::string Hint;
  bool Enabled = true;
  bool Visible = true;
  bool Checked = false;
  std::string Category;
  //! Shown but not done yet (TQuilForm::AddPlaceholderAction): no handler, always disabled.
  bool Placeholder = false;
  Handler OnExecute;
  Handler OnUpdate;

  void Update() {
    if (OnUpdate) OnUpdate();
  }
  //! Updates, then runs OnExecute when the action is enabled and visible; false when refused.
  bool Execute();

 private:
  std::string name_;
};

}  // namespace quil

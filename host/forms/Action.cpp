#include "host/forms/Action.h"

namespace quil {

bool TAction::Execute() {
  Update();
  if (!Enabled || !Visible) return false;
  if (OnExecute) OnExecute();
  return true;
}

}  // namespace quil

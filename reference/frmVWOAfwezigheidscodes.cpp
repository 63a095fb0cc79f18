#include "reference/frmVWOAfwezigheidscodes.h"

namespace kavel::frmVWOAfwezigheidscodes {

void Initialization() {}

}  // namespace kavel::frmVWOAfwezigheidscodes

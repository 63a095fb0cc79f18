#include "reference/frmVWOMaterialen.h"

namespace kavel::frmVWOMaterialen {

void Initialization() {}

}  // namespace kavel::frmVWOMaterialen

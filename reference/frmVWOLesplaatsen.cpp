#include "reference/frmVWOLesplaatsen.h"

namespace kavel::frmVWOLesplaatsen {

void Initialization() {}

}  // namespace kavel::frmVWOLesplaatsen

#include "reference/frmVWOKBIContactpersonen.h"

namespace kavel::frmVWOKBIContactpersonen {

void Initialization() {}

}  // namespace kavel::frmVWOKBIContactpersonen

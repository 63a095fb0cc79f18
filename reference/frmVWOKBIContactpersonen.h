#pragma once

namespace kavel::frmVWOKBIContactpersonen {
void Initialization();
}

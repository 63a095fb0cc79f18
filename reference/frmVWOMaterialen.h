#pragma once

namespace kavel::frmVWOMaterialen {
void Initialization();
}

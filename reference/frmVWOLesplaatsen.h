#pragma once

namespace kavel::frmVWOLesplaatsen {
void Initialization();
}

#pragma once

namespace kavel::frmVWOAfwezigheidscodes {
void Initialization();
}

// regkavelmod: hands the module's screens to the host's form manager.
//
// RegisterForms makes the 41 registrations of the module, in a fixed order: 24 screens with a
// menu entry in section "Schoolstructuur" and 17 detail screens with neither section nor path.
// The unit keeps an initialisation counter so that a module loaded twice registers once; nothing
// is withdrawn at unload.
#pragma once

namespace kavel::regkavelmod {

void RegisterForms();
//! Registers when the counter was 0, and decrements it.
void Initialization();
//! Increments the counter; registrations stay.
void Finalization();
int InitializationCounter();

}  // namespace kavel::regkavelmod

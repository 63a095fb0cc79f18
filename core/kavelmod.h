// The module's entry and exit, exported with C linkage from libkavelmod.so.
//
// The host calls the entry once after loading the library: it runs the initialisation of every
// unit of the module, the screen units first and the registration unit (regkavelmod) last, so
// that every class is creatable before it is registered. The exit runs the finalisations in the
// reverse order. Programs that link the module statically (the tests) call the same functions.
#pragma once

extern "C" {
__attribute__((visibility("default"))) void QuilModuleEntry();
__attribute__((visibility("default"))) void QuilModuleExit();
}

// HostApp: the host's screens as the SessionApp of a web session.
#pragma once

#include "web/SessionApp.h"

namespace quil::web {

//! The app `kavel serve` gives every session.
SessionAppFactory HostAppFactory();

}  // namespace quil::web

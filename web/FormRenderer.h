// FormRenderer: a form as the JSON the front-end draws.
//
// The forms describe themselves (host/forms/FormDescription.h: every control kind adds what it
// shows); this turns a description into JSON one to one: null, flags, numbers and texts as
// themselves, lists as arrays, named properties as objects. The JSON format is documented in
// docs/api.md. Reads the forms only (no handler runs); call it on the session thread.
#pragma once

#include <nlohmann/json.hpp>

#include "host/forms/DBControls.h"
#include "host/forms/Description.h"
#include "host/forms/QuilForm.h"

namespace quil::web {

nlohmann::json ToJson(const TDescription& description);
//! The whole form: caption, actions, sources, links, reports and control tree.
nlohmann::json RenderForm(TQuilForm& form);
//! The rows [top, top + count) of a grid's dataset with its visible columns.
nlohmann::json RenderRows(const TDBGrid& grid, int top, int count);

}  // namespace quil::web

// FormRenderer: a form as the JSON the front-end draws, and nothing more.
//
// The front-end knows no screen: it draws whatever tree it gets. A form renders as its caption,
// its actions (with their enabled state and hints), its data sources (state, current record,
// record count, what the user may do), its form links and reports, and its control tree; each
// control carries the common state (caption, hint, enabled, visible, colour, bound action) and
// what its kind needs (a field editor its field's label, type, size, required and read-only
// flags and value; a check box its state; a lookup its choices; a colour button its colour; the
// municipality chooser the choices that match its search text; ...). Texts of fields are their
// display texts (TField::DisplayTextOf), colours stored in records the host's (ColorToHtml). The
// JSON format is documented in docs/api.md.
//
// Lists are never sent whole: a data grid renders one window of rows (GridWindow), by default the
// page that holds the current record. The window stays where the user put it until the current
// record moves out of it. Choice lists of lookups are cut at kMaxChoices.
//
// Reads the forms only (no handler runs); call it on the session thread.
#pragma once

#include <cstdint>
#include <map>
#include <nlohmann/json.hpp>
#include <string>

#include "host/data/ClientDataSet.h"
#include "host/forms/DBControls.h"
#include "host/forms/QuilForm.h"

namespace quil::web {

inline constexpr int kDefaultPageSize = 50;
inline constexpr int kMaxPageSize = 500;
inline constexpr int kMaxChoices = 1000;

//! The rows of a grid the browser shows: `count` rows from position `top` (0-based).
struct GridWindow {
  int top = 0;
  int count = kDefaultPageSize;
  int lastRecNo = -1;  //!< the current record at the last render; a move re-centres the window
};

//! The windows of one form's grids, by control name (upper case).
using GridWindows = std::map<std::string, GridWindow>;

//! The whole form: caption, actions, sources, links, reports and control tree.
nlohmann::json RenderForm(TQuilForm& form, GridWindows& windows);
//! The rows [top, top + count) of a grid's dataset with its visible columns.
nlohmann::json RenderRows(const TDBGrid& grid, int top, int count);
//! "#rrggbb" of a control colour (0xRRGGBB, or a system colour in the host's palette); null for
//! clDefault. Colours stored in records go through ColorToHtml (host/forms/Colors.h).
nlohmann::json CssColor(int32_t color);
//! "string", "integer", "largeint", "float", "currency", "boolean", "date", "time", "datetime",
//! "memo", "blob".
const char* FieldTypeKey(FieldType type);
//! "inactive", "browse", "edit", "insert", "calc".
const char* StateName(DataSetState state);

}  // namespace quil::web

// The browser's events on controls of particular kinds, beyond a click and a value (which every
// control takes through the application): ticking an item of a check list, the search text of a
// chooser, the month of a planner, scrolling and double-clicking a grid.
//
// Each runs through the application's event boundary and does nothing on a control the user
// cannot reach; an event on a control of another kind is malformed (BadRequest).
#pragma once

#include <nlohmann/json.hpp>
#include <string>

#include "host/forms/QuilApplication.h"

namespace quil::web {

//! {"index", "checked"} on a TCheckListBox.
void CheckItem(TQuilApplication& app, TControl& control, const nlohmann::json& event);
//! Narrows the choices of a search control or of the municipality chooser.
void SearchChoices(TQuilApplication& app, TControl& control, const std::string& text);
//! {"year", "month"} on a TPlanner.
void ShowMonth(TQuilApplication& app, TControl& control, const nlohmann::json& event);
//! {"top", "count"?} on a TDBGrid: which rows it shows (no handler runs).
void ScrollGrid(TControl& control, const nlohmann::json& event);
//! {"recNo"} on a TDBGrid: moves to the record and runs the grid's OnDblClick. On a TPlanner:
//! {"date": "dd/mm/yyyy"} double-clicks that day, {"item": index} one of its items.
void DblClickGrid(TQuilApplication& app, TControl& control, const nlohmann::json& event);
//! {"op": "create", "date": "dd/mm/yyyy"} or {"op": "delete", "item": index} on a TPlanner
//! that offers it.
void PlannerItem(TQuilApplication& app, TControl& control, const nlohmann::json& event);

}  // namespace quil::web

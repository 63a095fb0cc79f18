// A form as a description (Description.h): what a renderer needs to draw it and nothing more.
//
// A form describes its class, caption, actions (with their enabled state and hints), and, for a
// data screen, its data sources (state, current record, record count, what the user may do),
// its form links and reports; then its control tree. Each control carries the state every
// control has (name, kind, caption, hint, enabled, visible, colour, bound action) and what its
// kind adds (TControl::Describe). Texts of fields are their display texts
// (TField::DisplayTextOf), colours stored in records the host's (ColorToHtml).
//
// No handler runs; call it on the session's thread. A grid brings its window of rows up to its
// current record while it is described.
#pragma once

#include "host/forms/Description.h"

namespace quil {

class TControl;
class TQuilForm;

//! The whole form: class, caption, read-only flag, focus, actions, sources, links, reports and
//! controls.
TDescription DescribeForm(TQuilForm& form);
//! One control with its children.
TDescription DescribeControl(TControl& control);

}  // namespace quil

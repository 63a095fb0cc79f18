// TListFilter: the text filter of a choice list as the structure screens offer it: a filter text,
// a toggle that switches the filter on and off, and a filter format with "%s" where the text
// goes, e.g. "(VOM_CODE LIKE '%%%s%%') OR (UPPER(VOM_OMSCHRIJVING) LIKE UPPER('%%%s%%'))".
//
// The toggle can only be on while there is text: it is disabled while the text is empty and
// switched off when the text becomes empty. Every change of the text or of the toggle applies the
// filter again; so does reopening the list (Apply). A quote in the text is doubled, so the user's
// text is always a text in the filter and never breaks it.
//
// Borrows the list, the editor and the action of its screen; lives on the session's UI thread.
#pragma once

#include <string>
#include <string_view>

#include "host/data/ClientDataSet.h"
#include "host/forms/Action.h"
#include "host/forms/Controls.h"

namespace kavel {

//! The format with every "%s" replaced by the text (quotes doubled) and "%%" by "%".
std::string FillFilterFormat(std::string_view format, std::string_view text);

class TListFilter {
 public:
  //! Wires the editor's OnChange and the action's handlers; the action's caption stays the
  //! screen's.
  TListFilter(quil::TQuilClientDataSet& list, quil::TEdit& edit, quil::TAction& toggle,
              std::string format);

  //! Filters the list as text and toggle say (all rows while the toggle is off).
  void Apply();
  //! The filter expression now in force; "" for none.
  std::string Expression() const;
  //! Switches the toggle on when there is text (Enter in the filter field).
  void SwitchOn();
  //! Reopens the list on another provider and filters it again. With an institution, the list
  //! is one of that institution's (its IS_ID parameter is the institution's current IS_ID).
  void Reopen(const std::string& provider, quil::TDataSource* institution);

 private:
  quil::TQuilClientDataSet& list_;
  quil::TEdit& edit_;
  quil::TAction& toggle_;
  std::string format_;
};

}  // namespace kavel

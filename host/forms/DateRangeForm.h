// TDateRangeForm: the host's dialog that asks for a period, a first and a last day.
//
// The caller sets the caption and the two dates (index 0 the first day, 1 the last), shows it
// modally and reads the dates back after mrOk. OK refuses an empty date and a first day after
// the last one, and keeps the dialog open; a period of one day is accepted. Used on the session's
// UI thread only.
#pragma once

#include "host/base/DateTime.h"
#include "host/forms/QuilForm.h"

namespace quil {

class TDateRangeForm : public TQuilForm {
 public:
  explicit TDateRangeForm(TQuilApplication& app);

  //! index 0: the first day, 1: the last day; another index is a programming error.
  void SetDatum(int index, TDateTime date);
  TDateTime GetDatum(int index) const;

  TDateEdit& EVan;
  TDateEdit& ETot;
  TButton& BOK;
  TButton& BCancel;

 private:
  TDateEdit& Edit(int index) const;
  void CheckPeriod();
};

}  // namespace quil

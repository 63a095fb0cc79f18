// TVWOSelectIngopleidingForm: the choice of one organised programme variant, from a copy of a
// list the caller prepared (the variants of a class's location whose period overlaps the
// class's). The user searches on the variant code or description and picks one; OK takes the
// picked variant, and the caller reads its id (-1 when none was taken).
//
// A plain modal dialog: the caller creates it, calls Init, shows it and reads GetCIOID. It owns
// its copy of the list and its own track type list. Used on the session's UI thread only.
#pragma once

#include "host/data/CachedClientDataSet.h"
#include "host/forms/DBControls.h"
#include "host/forms/QuilForm.h"

namespace kavel {

class TVWOSelectIngopleidingForm : public quil::TQuilForm {
 public:
  explicit TVWOSelectIngopleidingForm(quil::TQuilApplication& app);

  //! Connects the lists to the data module and copies the records `source` shows (its filter
  //! applied) into the dialog's list, with the source's filter text; nothing is chosen yet.
  void Init(quil::TDMQuil& dataModule, quil::TQuilClientDataSet& source);
  void SetCIOD(int id) { cioId_ = id; }
  int GetCIOID() const { return cioId_; }

  quil::TQuilClientDataSet CDSVWOIngOpleidingen;
  quil::TVWOParamsClientDataset CDSVWOTrajectType;
  quil::TDataSource DSVWOIngOpleidingen;
  quil::TSearchControl& SCOpleiding;
  quil::TDBGrid& GridOpleidingen;
  quil::TButton& BOK;
  quil::TButton& BCancel;

 private:
  void OKClick();

  int cioId_ = -1;
};

}  // namespace kavel

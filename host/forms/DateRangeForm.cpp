#include "host/forms/DateRangeForm.h"

#include <stdexcept>
#include <string>

namespace quil {

namespace {

constexpr const char* kDatumLeeg = "Gelieve beide datums in te vullen";
constexpr const char* kVanNaTot = "De begindatum moet voor de einddatum liggen";

}  // namespace

TDateRangeForm::TDateRangeForm(TQuilApplication& app)
    : TQuilForm(app, "TDateRangeForm"),
      EVan(Add<TDateEdit>("EVan")),
      ETot(Add<TDateEdit>("ETot")),
      BOK(Add<TButton>("BOK")),
      BCancel(Add<TButton>("BCancel")) {
  Caption = "Periode";
  EVan.Caption = "&Van";
  ETot.Caption = "&Tot";
  BOK.Caption = "OK";
  BOK.Default = true;
  BOK.ModalResult = mrOk;
  BOK.OnClick = [this] { CheckPeriod(); };
  BCancel.Caption = "Annuleren";
  BCancel.Cancel = true;
  BCancel.ModalResult = mrCancel;
}

TDateEdit& TDateRangeForm::Edit(int index) const {
  if (index == 0) return EVan;
  if (index == 1) return ETot;
  throw std::logic_error("TDateRangeForm: no date " + std::to_string(index));
}

void TDateRangeForm::SetDatum(int index, TDateTime date) {
  Edit(index).SetDate(date);
}

TDateTime TDateRangeForm::GetDatum(int index) const {
  return Edit(index).Date();
}

void TDateRangeForm::CheckPeriod() {
  if (EVan.Date().value == 0 || ETot.Date().value == 0) {
    SetFocus(EVan.Date().value == 0 ? EVan : ETot);
    throw EClientError(kDatumLeeg);
  }
  if (EVan.Date() > ETot.Date()) {
    SetFocus(ETot);
    throw EClientError(kVanNaTot);
  }
}

}  // namespace quil

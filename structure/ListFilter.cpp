#include "structure/ListFilter.h"

namespace kavel {

using namespace quil;

std::string FillFilterFormat(std::string_view format, std::string_view text) {
  std::string quoted;
  for (char c : text) {
    quoted += c;
    if (c == '\'') quoted += '\'';
  }
  std::string out;
  for (size_t i = 0; i < format.size(); ++i) {
    if (format[i] == '%' && i + 1 < format.size() && format[i + 1] == 's') {
      out += quoted;
      ++i;
    } else if (format[i] == '%' && i + 1 < format.size() && format[i + 1] == '%') {
      out += '%';
      ++i;
    } else {
      out += format[i];
    }
  }
  return out;
}

TListFilter::TListFilter(TQuilClientDataSet& list, TEdit& edit, TAction& toggle, std::string format)
    : list_(list), edit_(edit), toggle_(toggle), format_(std::move(format)) {
  edit_.OnChange = [this] {
    if (edit_.Text().empty()) toggle_.Checked = false;
    Apply();
  };
  toggle_.OnExecute = [this] {
    toggle_.Checked = !toggle_.Checked && !edit_.Text().empty();
    Apply();
  };
  toggle_.OnUpdate = [this] { toggle_.Enabled = !edit_.Text().empty(); };
}

std::string TListFilter::Expression() const {
  if (!toggle_.Checked || edit_.Text().empty()) return "";
  return FillFilterFormat(format_, edit_.Text());
}

void TListFilter::Apply() {
  if (list_.Active()) list_.MaybeApplyFilter(Expression());
}

void TListFilter::Reopen(const std::string& provider, TDataSource* institution) {
  list_.Close();
  list_.SetProvName(provider);
  list_.GetParams().Clear();
  list_.FetchParams();
  if (institution != nullptr) {
    list_.ParamByName("IS_ID").value = institution->DataSet()->FieldByName("IS_ID").Value();
  }
  list_.Open();
  Apply();
}

void TListFilter::SwitchOn() {
  if (edit_.Text().empty()) return;
  toggle_.Checked = true;
  Apply();
}

}  // namespace kavel

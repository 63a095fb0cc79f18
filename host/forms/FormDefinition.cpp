#include "host/forms/FormDefinition.h"

namespace quil {

namespace {

void Inherit(std::string& own, const std::string& base) {
  if (own.empty()) own = base;
}

template <class T>
void Inherit(std::vector<T>& own, const std::vector<T>& base) {
  if (own.empty()) own = base;
}

}  // namespace

TFormDefinition MergeDefinition(const TFormDefinition& own, const TFormDefinition& base) {
  TFormDefinition out = own;
  Inherit(out.Caption, base.Caption);
  Inherit(out.TabCaption, base.TabCaption);
  Inherit(out.Group, base.Group);
  Inherit(out.MainDataSource, base.MainDataSource);
  Inherit(out.DefaultBrowserForm, base.DefaultBrowserForm);
  Inherit(out.FormLinks, base.FormLinks);
  Inherit(out.ReportDefs, base.ReportDefs);
  Inherit(out.FieldsToParams, base.FieldsToParams);
  Inherit(out.ParamsToReportParams, base.ParamsToReportParams);
  if (out.HelpContext == 0) out.HelpContext = base.HelpContext;
  return out;
}

std::pair<std::string, std::string> SplitNamePair(const std::string& pair) {
  size_t eq = pair.find('=');
  if (eq == std::string::npos) return {pair, pair};
  return {pair.substr(0, eq), pair.substr(eq + 1)};
}

}  // namespace quil

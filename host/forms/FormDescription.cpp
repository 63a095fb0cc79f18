#include "host/forms/FormDescription.h"

#include <set>

#include "host/data/DataSource.h"
#include "host/forms/Action.h"
#include "host/forms/QuilForm.h"

namespace quil {

namespace {

TDescription DescribeSource(TQuilForm& form, TDataSource& source, bool main) {
  TDescription out;
  out.Set("name", source.Name);
  out.Set("main", main);
  out.Set("enabled", source.Enabled);
  TQuilClientDataSet* dataset = source.DataSet();
  if (dataset == nullptr) {
    out.Set("state", StateName(DataSetState::Inactive));
    return out;
  }
  out.Set("state", StateName(dataset->State()));
  out.Set("dataset", dataset->Name);
  out.Set("readOnly", dataset->ReadOnly || form.IsReadOnly());
  if (dataset->Active()) {
    out.Set("recNo", dataset->RecNo());
    out.Set("count", dataset->RecordCount());
    out.Set("modified", dataset->Modified());
    out.Set("changeCount", dataset->ChangeCount());
    out.Set("canInsert", Safely([&] { return form.AllowInsert(*dataset); }, false));
    out.Set("canEdit", Safely([&] { return form.AllowEdit(*dataset); }, false));
    out.Set("canDelete", Safely([&] { return form.AllowDelete(*dataset); }, false));
  }
  return out;
}

void DescribeScreen(TQuilDBForm& screen, TDescription& out) {
  out.Set("tab", screen.TabCaption.empty() ? screen.Caption : screen.TabCaption);
  out.Set("group", screen.Group);
  out.Set("rights", screen.Rights());
  TDataSource* main = screen.MainDataSourcePtr();
  TDescription sources = TDescription::List{};
  for (const auto& source : screen.DataSources()) {
    sources.Add(DescribeSource(screen, *source, source.get() == main));
  }
  out.Set("sources", std::move(sources));
  TDescription links = TDescription::List{};
  for (size_t i = 0; i < screen.FormLinks.size(); ++i) {
    TDescription link;
    link.Set("index", static_cast<int>(i));
    link.Set("caption", screen.FormLinks[i].DisplayName);
    links.Add(std::move(link));
  }
  out.Set("links", std::move(links));
  TDescription reports = TDescription::List{};
  for (size_t i = 0; i < screen.ReportDefs.size(); ++i) {
    const TReportDef& report = screen.ReportDefs[i];
    if (!report.Visible) continue;
    TDescription shown;
    shown.Set("index", static_cast<int>(i));
    shown.Set("caption", report.DisplayName);
    shown.Set("default", report.DefaultReport);
    reports.Add(std::move(shown));
  }
  out.Set("reports", std::move(reports));
}

}  // namespace

TDescription DescribeControl(TControl& control) {
  TDescription out;
  out.Set("name", control.Name());
  out.Set("kind", control.ClassName());
  out.Set("caption", control.DisplayCaption());
  out.Set("hint", control.Hint);
  out.Set("enabled", control.Enabled);
  out.Set("visible", control.Visible);
  out.Set("color", ControlColor(control.Color));
  if (control.Action != nullptr) out.Set("action", control.Action->Name());
  control.Describe(out);
  TDescription children;
  for (TControl* child : control.Children()) children.Add(DescribeControl(*child));
  if (!children.IsNull()) out.Set("children", std::move(children));
  return out;
}

TDescription DescribeForm(TQuilForm& form) {
  TDescription out;
  out.Set("class", form.ClassName());
  out.Set("caption", form.Caption);
  out.Set("readOnly", form.IsReadOnly());
  out.Set("focus", form.ActiveControl != nullptr ? TDescription(form.ActiveControl->Name())
                                                 : TDescription());

  std::set<const TAction*> bound;
  for (const auto& control : form.Controls()) {
    if (control->Action != nullptr) bound.insert(control->Action);
  }
  TDescription actions = TDescription::List{};
  for (const auto& action : form.Actions()) {
    TDescription shown;
    shown.Set("name", action->Name());
    shown.Set("caption", action->Caption);
    shown.Set("hint", action->Hint);
    shown.Set("enabled", action->Enabled);
    shown.Set("visible", action->Visible);
    shown.Set("checked", action->Checked);
    shown.Set("category", action->Category);
    shown.Set("bound", bound.count(action.get()) > 0);
    actions.Add(std::move(shown));
  }
  out.Set("actions", std::move(actions));

  if (auto* screen = dynamic_cast<TQuilDBForm*>(&form)) DescribeScreen(*screen, out);

  TDescription controls = TDescription::List{};
  for (TControl* control : form.TopLevelControls()) controls.Add(DescribeControl(*control));
  out.Set("controls", std::move(controls));
  return out;
}

}  // namespace quil

#include "web/ControlEvents.h"

#include <optional>

#include "host/data/DataSource.h"
#include "host/forms/DBControls.h"
#include "host/forms/SelectGemeenteFrame.h"
#include "web/EventArgs.h"
#include "web/SessionApp.h"

namespace quil::web {

void CheckItem(TQuilApplication& app, TControl& control, const nlohmann::json& event) {
  auto* list = dynamic_cast<TCheckListBox*>(&control);
  if (list == nullptr) throw BadRequest("geen keuzelijst");
  const int index = NumberArg(event, "index");
  const bool checked = event.value("checked", false);
  app.Run([&] {
    if (!control.Reachable() || index < 0 || index >= static_cast<int>(list->Items().size())) {
      return;
    }
    list->ClickCheck(index, checked);
  });
}

void SearchChoices(TQuilApplication& app, TControl& control, const std::string& text) {
  auto* search = dynamic_cast<TSearchControl*>(&control);
  auto* frame = dynamic_cast<TSelectGemeenteFrame*>(&control);
  if (search == nullptr && frame == nullptr) throw BadRequest("geen zoekveld");
  app.Run([&] {
    if (!control.Reachable()) return;
    if (search != nullptr) search->Search(text);
    if (frame != nullptr) frame->Search(text);
  });
}

void ShowMonth(TQuilApplication& app, TControl& control, const nlohmann::json& event) {
  const int year = NumberArg(event, "year");
  const int month = NumberArg(event, "month");
  auto* planner = dynamic_cast<TPlanner*>(&control);
  if (planner == nullptr || month < 1 || month > 12) throw BadRequest("geen kalender");
  app.Run([&] {
    if (control.Reachable()) planner->ShowMonth(year, month);
  });
}

void ScrollGrid(TControl& control, const nlohmann::json& event) {
  auto* grid = dynamic_cast<TDBGrid*>(&control);
  if (grid == nullptr) throw BadRequest("geen raster");
  const int top = NumberArg(event, "top");
  std::optional<int> count;
  if (event.contains("count")) count = NumberArg(event, "count");
  // Out of range is malformed, not clamped.
  if (top < 0 || (count && (*count < 1 || *count > kMaxPageSize))) {
    throw BadRequest("venster buiten bereik");
  }
  if (!grid->Showing()) return;  // a hidden grid shows no rows
  grid->ScrollTo(top, count);
}

namespace {

//! A double click on a day ("date": dd/mm/yyyy) or on one of its items ("item": index).
void DblClickPlanner(TQuilApplication& app, TPlanner& planner, const nlohmann::json& event) {
  if (event.contains("item")) {
    const int index = NumberArg(event, "item");
    if (index < 0 || index >= static_cast<int>(planner.Items.size())) {
      throw BadRequest("geen item van de kalender");
    }
    app.Run([&] {
      if (planner.Reachable()) planner.DblClickItem(index);
    });
    return;
  }
  TDateTime date;
  if (!TryStrToDate(TextArg(event, "date"), date)) throw BadRequest("geen datum");
  app.Run([&] {
    if (planner.Reachable()) planner.DblClickDay(date);
  });
}

}  // namespace

void DblClickGrid(TQuilApplication& app, TControl& control, const nlohmann::json& event) {
  if (auto* planner = dynamic_cast<TPlanner*>(&control))
    return DblClickPlanner(app, *planner, event);
  const int recNo = NumberArg(event, "recNo");
  auto* grid = dynamic_cast<TDBGrid*>(&control);
  if (grid == nullptr) throw BadRequest("geen raster");
  app.Run([&] {
    TQuilClientDataSet* dataset = grid->DataSource ? grid->DataSource->DataSet() : nullptr;
    if (!control.Reachable() || dataset == nullptr || !dataset->Active()) return;
    if (recNo >= 1 && recNo <= dataset->RecordCount()) dataset->SetRecNo(recNo);
    if (grid->OnDblClick) grid->OnDblClick();
  });
}

void PlannerItem(TQuilApplication& app, TControl& control, const nlohmann::json& event) {
  auto* planner = dynamic_cast<TPlanner*>(&control);
  if (planner == nullptr) throw BadRequest("geen kalender");
  const std::string op = TextArg(event, "op");
  if (op == "create") {
    TDateTime date;
    if (!TryStrToDate(TextArg(event, "date"), date)) throw BadRequest("geen datum");
    app.Run([&] {
      if (planner->Reachable()) planner->CreateItem(date);
    });
    return;
  }
  if (op != "delete") throw BadRequest("onbekende bewerking van de kalender");
  const int index = NumberArg(event, "item");
  app.Run([&] {
    if (planner->Reachable()) planner->DeleteItem(index);
  });
}

}  // namespace quil::web

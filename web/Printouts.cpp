#include "web/Printouts.h"

#include <algorithm>

#include "host/data/DataSource.h"
#include "host/forms/DBControls.h"
#include "web/FormRenderer.h"
#include "web/SessionApp.h"

namespace quil::web {

namespace {

using nlohmann::json;

//! The main data source as a table: the columns of the grid that shows it (or every visible
//! field) and its records in the current order.
void FillListing(TQuilDBForm& form, json& listing) {
  TDataSource* main = form.MainDataSourcePtr();
  TQuilClientDataSet* dataset = main != nullptr ? main->DataSet() : nullptr;
  if (dataset == nullptr || !dataset->Active()) return;
  const TDBGrid* shown = nullptr;
  for (const auto& control : form.Controls()) {
    auto* grid = dynamic_cast<const TDBGrid*>(control.get());
    if (grid != nullptr && grid->DataSource == main) {
      shown = grid;
      break;
    }
  }
  TDBGrid fallback(form, "__listing", nullptr);  // every visible field, as a grid shows them
  fallback.DataSource = main;
  const TDBGrid& grid = shown != nullptr ? *shown : fallback;
  for (const TColumn& column : grid.VisibleColumns()) {
    listing["columns"].push_back(grid.ColumnTitle(column));
  }
  const int count = dataset->RecordCount();
  json rows = RenderRows(grid, 0, std::min(count, Printouts::kMaxPrintRows));
  for (json& row : rows["rows"]) listing["rows"].push_back(std::move(row["cells"]));
  listing["count"] = count;
  listing["cut"] = count > Printouts::kMaxPrintRows;
}

}  // namespace

void Printouts::Keep(const TPrintRequest& request, TQuilDBForm* form, const std::string& printed) {
  json listing = {{"id", ++count_},
                  {"title", request.report.DisplayName},
                  {"caption", request.caption},
                  {"file", request.report.FileNames},
                  {"printed", printed},
                  {"params", json::array()}};
  for (const auto& [name, value] : request.params.Items()) {
    listing["params"].push_back({{"name", name}, {"value", value}});
  }
  listing["columns"] = json::array();
  listing["rows"] = json::array();
  if (form != nullptr) FillListing(*form, listing);
  kept_.push_back({count_, std::move(listing)});
  if (kept_.size() > kKeptPrints) kept_.erase(kept_.begin());
  last_ = {{"id", count_}, {"title", request.report.DisplayName}};
}

const json& Printouts::Find(int id) const {
  for (const Kept& print : kept_) {
    if (print.id == id) return print.listing;
  }
  throw BadRequest("deze afdruk is niet meer beschikbaar");
}

}  // namespace quil::web

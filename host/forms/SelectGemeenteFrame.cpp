#include "host/forms/SelectGemeenteFrame.h"

#include "host/base/Strings.h"
#include "host/data/CachedClientDataSet.h"
#include "host/data/LikeMatcher.h"
#include "host/forms/Description.h"
#include "host/forms/QuilForm.h"

namespace quil {

namespace {

bool AllDigits(std::string_view text) {
  return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
}

bool ContainsIgnoringCase(const std::string& text, const std::string& foldedPart) {
  return FoldText(text, CaseFold::Upper).find(foldedPart) != std::string::npos;
}

}  // namespace

TSelectGemeenteFrame& TSelectGemeenteFrame::Create(TQuilDBForm& form, std::string name,
                                                   TControl* parent, TDataSource& source,
                                                   std::string dataField) {
  auto& list = form.AddDataSet<TQuilCachedClientDataSet>("CDSSelectGemeente", "DSPSelectGemeente");
  list.IDField = "GM_ID";
  list.ReadOnly = true;
  list.AutoOpen = true;
  list.AddField({"GM_WEERGAVE", FieldType::String}, FieldKind::Calculated);
  list.OnCalcFields = [](TQuilClientDataSet& ds) {
    ds.FieldByName("GM_WEERGAVE")
        .SetAsString(ds.FieldByName("GM_POSTNUMMER").AsString() + " " +
                     ds.FieldByName("GM_DEELGEMEENTE").AsString());
  };
  TDataSource& listSource = form.AddDataSource("DSSelectGemeente", &list);
  auto& frame = form.Add<TSelectGemeenteFrame>(std::move(name), parent);
  frame.DataSource = &source;
  frame.DataField = std::move(dataField);
  OfferList(frame, listSource, "GM_ID", "GM_WEERGAVE");
  frame.Caption = "Gemeente";
  frame.Hint = "Zoek op postnummer of naam van de gemeente";
  return frame;
}

void TSelectGemeenteFrame::Search(std::string_view text) {
  searchText_ = Trim(text);
}

std::vector<TSelectGemeenteFrame::Choice> TSelectGemeenteFrame::Matches(int limit) const {
  std::vector<Choice> choices;
  TQuilClientDataSet* list = ListSource != nullptr ? ListSource->DataSet() : nullptr;
  if (list == nullptr || !list->Active() || limit <= 0) return choices;
  const int id = list->FieldByName("GM_ID").Index();
  const int post = list->FieldByName("GM_POSTNUMMER").Index();
  const int name = list->FieldByName("GM_DEELGEMEENTE").Index();
  const int main = list->FieldByName("GM_HOOFDGEMEENTE").Index();
  const int shown = list->FieldByName("GM_WEERGAVE").Index();
  const bool byPost = AllDigits(searchText_);
  const std::string folded = FoldText(searchText_, CaseFold::Upper);
  for (int position = 0; position < list->RecordCount(); ++position) {
    Row row = list->RowAt(position);
    bool match = searchText_.empty();
    if (!match && byPost) match = row[post].AsString().starts_with(searchText_);
    if (!match && !byPost) {
      match = ContainsIgnoringCase(row[name].AsString(), folded) ||
              ContainsIgnoringCase(row[main].AsString(), folded);
    }
    if (!match) continue;
    choices.push_back({row[id].AsLargeInt(), row[shown].AsString()});
    if (static_cast<int>(choices.size()) == limit) break;
  }
  return choices;
}

void TSelectGemeenteFrame::Describe(TDescription& out) {
  TDBControl::Describe(out);
  const bool bound = Field() != nullptr;
  out.Set("value", bound ? ValueText() : "");
  out.Set("display", bound ? DisplayText() : "");
  out.Set("searchText", SearchText());
  TDescription items = TDescription::List{};
  for (const Choice& choice : Matches(kMaxChoices)) {
    TDescription item;
    item.Set("key", std::to_string(choice.key));
    item.Set("text", choice.text);
    items.Add(std::move(item));
  }
  out.Set("items", std::move(items));
}

}  // namespace quil

#include "host/forms/SelectGemeenteFrame.h"

#include "host/base/Strings.h"
#include "host/data/CachedClientDataSet.h"
#include "host/forms/QuilForm.h"

namespace quil {

namespace {

bool AllDigits(std::string_view text) {
  return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
}

bool ContainsIgnoringCase(const std::string& text, const std::string& upperPart) {
  return UpperCaseAscii(text).find(upperPart) != std::string::npos;
}

}  // namespace

TSelectGemeenteFrame& TSelectGemeenteFrame::Create(TQuilDBForm& form, std::string name,
                                                   TControl* parent, TDataSource& source,
                                                   std::string dataField) {
  auto& list = form.AddDataSet<TQuilCachedClientDataSet>("CDSSelectGemeente", "DSPSelectGemeente");
  list.IDField = "GM_ID";
  list.ReadOnly = true;
  list.AutoOpen = true;
  TDataSource& listSource = form.AddDataSource("DSSelectGemeente", &list);
  auto& frame = form.Add<TSelectGemeenteFrame>(std::move(name), parent);
  frame.DataSource = &source;
  frame.DataField = std::move(dataField);
  frame.ListSource = &listSource;
  frame.KeyField = "GM_ID";
  frame.ListField = "GM_POSTNUMMER;GM_DEELGEMEENTE";
  frame.Caption = "Gemeente";
  frame.Hint = "Zoek op postnummer of naam van de gemeente";
  return frame;
}

std::string TSelectGemeenteFrame::DisplayText() const {
  const TField* field = Field();
  TQuilClientDataSet* list = ListSource != nullptr ? ListSource->DataSet() : nullptr;
  if (field == nullptr || field->IsNull() || list == nullptr || !list->Active()) return "";
  const Variant post = list->Lookup("GM_ID", field->Value(), "GM_POSTNUMMER");
  const Variant name = list->Lookup("GM_ID", field->Value(), "GM_DEELGEMEENTE");
  if (name.IsNull()) return "";
  return post.AsString() + " " + name.AsString();
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
  const bool byPost = AllDigits(searchText_);
  const std::string upper = UpperCaseAscii(searchText_);
  for (int position = 0; position < list->RecordCount(); ++position) {
    Row row = list->RowAt(position);
    const std::string postText = row[post].AsString();
    const std::string nameText = row[name].AsString();
    bool match = searchText_.empty();
    if (!match && byPost) match = postText.rfind(searchText_, 0) == 0;
    if (!match && !byPost) {
      match = ContainsIgnoringCase(nameText, upper) ||
              ContainsIgnoringCase(row[main].AsString(), upper);
    }
    if (!match) continue;
    choices.push_back({row[id].AsLargeInt(), postText + " " + nameText});
    if (static_cast<int>(choices.size()) == limit) break;
  }
  return choices;
}

}  // namespace quil

// TSelectGemeenteFrame: chooses the municipality of an address, by name or by post code.
//
// The frame stores the municipality's key (GM_ID) in a field of a record, like a lookup editor.
// Its list is every municipality (cached list CDSSelectGemeente on provider "DSPSelectGemeente":
// GM_ID, GM_POSTNUMMER, GM_DEELGEMEENTE, GM_HOOFDGEMEENTE), which the frame adds to its form
// with one calculated field, GM_WEERGAVE ("post code municipality"): the text the frame shows for
// the chosen municipality and for every choice, so whoever draws it as a lookup editor shows the
// same. The user narrows the choices with a search text: a text of digits matches post codes that
// start with it, any other text matches names (part or main municipality) that contain it,
// ignoring case (accented letters included). The list itself is never filtered, so the chosen
// municipality always shows.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "host/forms/DBControls.h"

namespace quil {

class TQuilDBForm;

class TSelectGemeenteFrame : public TDBLookupCombo {
 public:
  struct Choice {
    int64_t key;
    std::string text;  //!< "post code municipality"
  };

  using TDBLookupCombo::TDBLookupCombo;
  //! Adds the municipality list (opened with the form's AutoOpen datasets) and the frame, bound
  //! to `dataField` of `source`.
  static TSelectGemeenteFrame& Create(TQuilDBForm& form, std::string name, TControl* parent,
                                      TDataSource& source, std::string dataField);

  const char* ClassName() const override { return "TSelectGemeenteFrame"; }
  void Describe(TDescription& out) override;
  void Search(std::string_view text);
  const std::string& SearchText() const { return searchText_; }
  //! The municipalities that match the search text, at most `limit`, in list order.
  std::vector<Choice> Matches(int limit) const;

 private:
  std::string searchText_;
};

}  // namespace quil

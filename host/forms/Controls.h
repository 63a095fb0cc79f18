// The controls of a screen, as presentation models: no pixels, only what a user sees and does.
//
// A form owns all its controls; each control has a name (unique in its form, found without regard
// to case), a parent (so a form is a tree of panels, group boxes, page controls with tab sheets
// and the controls inside them) and the state every control has (Enabled, Visible, Caption, Hint,
// Color) plus its own. A renderer (the web host) draws any form generically from this tree and
// sends the user's acts back through the application's event boundary: a click (`Click`) or a
// value typed or picked (`SetValueText`, the value as text in the format `ValueText` returns).
//
// Handlers are plain callbacks that the screen sets in its constructor. They react to the user:
// a value handler (OnChange, OnClick of a check box or radio group, OnClickCheck, OnChanging)
// runs when the user's act (`SetValueText`, `Click`, `ClickCheck`) changed the value, never when
// the screen's own code sets it (`SetText`, `SetChecked`, `SetTime` ...): a screen that presets
// its controls or keeps one in step with another does not set off the handlers of what it sets.
// Controls never hold on to listeners of data sources: data-aware controls read their field when
// asked, so they can be destroyed in any order with the data they show.
#pragma once

#include <cstdint>
#include <functional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "host/base/DateTime.h"
#include "host/base/Variant.h"
#include "host/forms/Colors.h"
#include "host/forms/ModalResult.h"

namespace quil {

class TQuilForm;
class TAction;
class TDataSource;
class TDescription;

//! "No colour of its own": the renderer's default for the kind of control.
inline constexpr int32_t clDefault = -1;

class TControl {
 public:
  using Notify = std::function<void()>;

  TControl(TQuilForm& form, std::string name, TControl* parent);
  virtual ~TControl() = default;
  TControl(const TControl&) = delete;
  TControl& operator=(const TControl&) = delete;

  //! The kind of control, "TButton", "TDBGrid", ... (what a renderer switches on).
  virtual const char* ClassName() const = 0;
  const std::string& Name() const { return name_; }
  TControl* Parent() const { return parent_; }
  TQuilForm& Form() const { return form_; }
  const std::vector<TControl*>& Children() const { return children_; }

  bool Enabled = true;
  bool Visible = true;
  std::string Caption;
  std::string Hint;
  int32_t Color = clDefault;  //!< 0xRRGGBB or clDefault
  int Tag = 0;
  //! An action whose caption, hint, enabled, visible and checked state the control follows; a
  //! click executes it.
  TAction* Action = nullptr;

  //! The caption the user sees: Caption, or what the kind of control shows when it has none.
  virtual std::string DisplayCaption() const { return Caption; }
  //! Enabled and visible, and so is every parent: the user can reach it.
  bool Reachable() const;
  //! Visible, and so is every parent: the user sees it (perhaps disabled).
  bool Showing() const;

  //! True for controls the user can type or pick a value in, while they allow it.
  virtual bool AcceptsValue() const { return false; }
  //! The control's value as text (the format of each kind is given with it).
  virtual std::string ValueText() const { return ""; }
  //! Takes the user's value; throws EClientError when the text does not fit the control.
  virtual void SetValueText(std::string_view text);
  //! The user clicks the control. Returns false when the click was refused (a disabled action).
  virtual bool Click();
  //! Adds what this kind of control shows to its description (Description.h); the state every
  //! control has and its children are described by DescribeControl (FormDescription.h). Reads
  //! the control and its data only, except that a control may bring what it shows up to date
  //! (a grid scrolls to its current record).
  virtual void Describe(TDescription& out);

 protected:
  bool RunAction();

 private:
  TQuilForm& form_;
  std::string name_;
  TControl* parent_;
  std::vector<TControl*> children_;
};

// --- containers -----------------------------------------------------------------------------

class TPanel : public TControl {
 public:
  using TControl::TControl;
  const char* ClassName() const override { return "TPanel"; }
};

class TGroupBox : public TControl {
 public:
  using TControl::TControl;
  const char* ClassName() const override { return "TGroupBox"; }
};

//! Two lists side by side, what is available and what is chosen, with the buttons that move
//! records between them in between (the screens of a selection manager). `Available` and
//! `Chosen` are two of its children (a grid or a panel holding one); its other children are
//! the buttons, shown between the two in the order they were added.
class TSelectionPanel : public TControl {
 public:
  using TControl::TControl;
  const char* ClassName() const override { return "TSelectionPanel"; }
  void Describe(TDescription& out) override;
  TControl* Available = nullptr;
  TControl* Chosen = nullptr;
};

class TTabSheet : public TControl {
 public:
  using TControl::TControl;
  const char* ClassName() const override { return "TTabSheet"; }
  void Describe(TDescription& out) override;
  bool TabVisible = true;
};

//! Value: the index of the active page among its tab sheets.
class TPageControl : public TControl {
 public:
  using TControl::TControl;
  const char* ClassName() const override { return "TPageControl"; }
  void Describe(TDescription& out) override;
  std::vector<TTabSheet*> Pages() const;
  int ActivePageIndex() const { return activePage_; }
  TTabSheet* ActivePage() const;
  //! Shows a page (the screen's code: no handler runs).
  void SetActivePageIndex(int index);
  void SetActivePage(TTabSheet& page);
  //! The user's page change: OnChanging may refuse with EAbort or a client error, OnChange
  //! follows.
  Notify OnChanging, OnChange;

  bool AcceptsValue() const override { return true; }
  std::string ValueText() const override;
  void SetValueText(std::string_view text) override;

 private:
  //! Throws EClientError for a page that does not exist or is hidden.
  void CheckPage(int index) const;
  int activePage_ = 0;
};

// --- plain controls -------------------------------------------------------------------------

class TLabel : public TControl {
 public:
  using TControl::TControl;
  const char* ClassName() const override { return "TLabel"; }
  TControl* FocusControl = nullptr;
};

//! A click runs the action (or OnClick); a button with a modal result then closes its dialog
//! with that result. A failed handler leaves the dialog open.
class TButton : public TControl {
 public:
  using TControl::TControl;
  const char* ClassName() const override { return "TButton"; }
  void Describe(TDescription& out) override;
  TModalResult ModalResult = mrNone;
  bool Default = false;  //!< answers the Enter key
  bool Cancel = false;   //!< answers the Escape key
  Notify OnClick;
  bool Click() override;
};

//! Value: "1" ticked, "0" not. A check box bound to an action is the action's toggle: ticking it
//! executes the action when the action's Checked differs, and it shows the action's Checked.
class TCheckBox : public TControl {
 public:
  using TControl::TControl;
  const char* ClassName() const override { return "TCheckBox"; }
  void Describe(TDescription& out) override;
  bool Checked() const { return checked_; }
  void SetChecked(bool checked) { checked_ = checked; }
  //! Runs when the user changed the state.
  Notify OnClick;

  bool AcceptsValue() const override { return true; }
  std::string ValueText() const override { return checked_ ? "1" : "0"; }
  void SetValueText(std::string_view text) override;
  bool Click() override;

 private:
  bool checked_ = false;
};

//! Value: the index of the chosen item, -1 when none.
class TRadioGroup : public TControl {
 public:
  using TControl::TControl;
  const char* ClassName() const override { return "TRadioGroup"; }
  void Describe(TDescription& out) override;
  std::vector<std::string> Items;
  int ItemIndex() const { return itemIndex_; }
  //! Throws EClientError for an index outside -1 .. Items.size() - 1.
  void SetItemIndex(int index);
  //! Runs when the user chose another item.
  Notify OnClick;

  bool AcceptsValue() const override { return true; }
  std::string ValueText() const override;
  void SetValueText(std::string_view text) override;

 private:
  int itemIndex_ = -1;
};

//! Value: the text.
class TEdit : public TControl {
 public:
  using TControl::TControl;
  const char* ClassName() const override { return "TEdit"; }
  void Describe(TDescription& out) override;
  const std::string& Text() const { return text_; }
  void SetText(std::string_view text) { Assign(text); }
  int MaxLength = 0;  //!< 0 = no limit; longer input is cut
  bool ReadOnly = false;
  //! Runs when the user changed the text.
  Notify OnChange;

  bool AcceptsValue() const override { return !ReadOnly; }
  std::string ValueText() const override { return text_; }
  void SetValueText(std::string_view text) override;

 private:
  //! True when the text changed.
  bool Assign(std::string_view text);
  std::string text_;
};

//! Value: the date as dd/mm/yyyy; "" for no date (day 0).
class TDateEdit : public TControl {
 public:
  using TControl::TControl;
  const char* ClassName() const override { return "TDateEdit"; }
  void Describe(TDescription& out) override;
  TDateTime Date() const { return date_; }
  void SetDate(TDateTime date) { date_ = date; }
  //! Runs when the user changed the date.
  Notify OnChange;

  bool AcceptsValue() const override { return true; }
  std::string ValueText() const override;
  void SetValueText(std::string_view text) override;

 private:
  TDateTime date_;
};

//! Value: the time as hh:nn.
class TTimeEdit : public TControl {
 public:
  using TControl::TControl;
  const char* ClassName() const override { return "TTimeEdit"; }
  void Describe(TDescription& out) override;
  TDateTime Time() const { return time_; }
  void SetTime(TDateTime time) { time_ = time; }
  //! Runs when the user changed the time.
  Notify OnChange;

  bool AcceptsValue() const override { return true; }
  std::string ValueText() const override;
  void SetValueText(std::string_view text) override;

 private:
  TDateTime time_;
};

//! A button that shows a stored colour (Colors.h) and lets the user choose another.
//! Value: the colour as "#rrggbb"; the user's choice runs OnChange.
class TColorButton : public TControl {
 public:
  using TControl::TControl;
  const char* ClassName() const override { return "TColorButton"; }
  void Describe(TDescription& out) override;
  TColor SelectedColor() const { return selected_; }
  //! Shows a colour without running OnChange (the screen following its record).
  void SetSelectedColor(TColor color) { selected_ = color; }
  //! The user chooses a colour: OnChange runs when it differs from the one shown.
  void ChooseColor(TColor color);
  Notify OnChange;

  bool AcceptsValue() const override { return true; }
  std::string ValueText() const override { return ColorToHtml(selected_); }
  //! Throws EClientError when the text is not "#rrggbb".
  void SetValueText(std::string_view text) override;

 private:
  TColor selected_ = clWindow;
};

enum class TComboBoxStyle { csDropDown, csDropDownList };

//! Value: the text; with csDropDownList the text must be one of the items.
class TComboBox : public TControl {
 public:
  using TControl::TControl;
  const char* ClassName() const override { return "TComboBox"; }
  void Describe(TDescription& out) override;
  std::vector<std::string> Items;
  TComboBoxStyle Style = TComboBoxStyle::csDropDownList;
  int ItemIndex() const { return itemIndex_; }
  //! Throws EClientError for an index outside -1 .. Items.size() - 1.
  void SetItemIndex(int index) { AssignIndex(index); }
  std::string Text() const;
  //! Runs when the user changed the text or the item.
  Notify OnChange;

  bool AcceptsValue() const override { return true; }
  std::string ValueText() const override { return Text(); }
  void SetValueText(std::string_view text) override;

 private:
  //! True when the item changed.
  bool AssignIndex(int index);
  int itemIndex_ = -1;
  std::string freeText_;
};

//! Value: the indices of the ticked items, comma-separated ("0,2").
class TCheckListBox : public TControl {
 public:
  using TControl::TControl;
  const char* ClassName() const override { return "TCheckListBox"; }
  void Describe(TDescription& out) override;
  void SetItems(std::vector<std::string> items);
  const std::vector<std::string>& Items() const { return items_; }
  bool Checked(int index) const { return checked_.at(index); }
  //! Throws EClientError for an index outside the items.
  void SetChecked(int index, bool checked) { Assign(index, checked); }
  //! The user ticks or unticks one item: OnClickCheck runs when its state changed.
  void ClickCheck(int index, bool checked);
  Notify OnClickCheck;

  bool AcceptsValue() const override { return true; }
  std::string ValueText() const override;
  //! Runs OnClickCheck once for every item whose state changed.
  void SetValueText(std::string_view text) override;

 private:
  //! True when the item's state changed.
  bool Assign(int index, bool checked);
  std::vector<std::string> items_;
  std::vector<bool> checked_;
};

// Lookups (TLookupCombo, TDBLookupCombo and the controls built on them) keep two things apart:
// the choice, the records the list shows now (its filter applied, its master's detail), and what a
// saved key means. A saved key resolves against every record of the ResolveSource when the screen
// gives one (the full list, for choices the server narrows: a detail list, cancelled records left
// out), else of the ListSource with its filter ignored. So a stored value the choice no longer
// offers still shows, and the user can keep it; only another key must be one the list offers.

//! The `listFields` (";"-separated) of the record whose `keyField` is `key`, joined with " - ",
//! from the first of `resolveSource` and `listSource` that holds it (filters ignored); "" when
//! the key is empty or no open list holds it.
std::string LookupDisplayText(TDataSource* resolveSource, TDataSource* listSource,
                              std::string_view keyField, const Variant& key,
                              std::string_view listFields);

//! The key the user chose with `text` ("" for none): the `saved` key when the text names it,
//! else a key the list offers. Throws EClientError when the list is closed or does not offer it.
Variant LookupChoice(TDataSource* listSource, std::string_view keyField, std::string_view text,
                     const Variant& saved);

//! A choice of one record of a list: the key is stored, the list fields are shown.
//! Value: the key as text, "" for none.
class TLookupCombo : public TControl {
 public:
  using TControl::TControl;
  const char* ClassName() const override { return "TLookupCombo"; }
  void Describe(TDescription& out) override;
  TDataSource* ListSource = nullptr;
  //! The full list the chosen key resolves against; the ListSource when none.
  TDataSource* ResolveSource = nullptr;
  std::string KeyField;
  std::string ListFields;  //!< ";"-separated fields shown for a record
  const Variant& KeyValue() const { return keyValue_; }
  void SetKeyValue(const Variant& key) { keyValue_ = key; }
  //! The list fields of the chosen record joined with " - "; "" when none is chosen or found.
  std::string DisplayText() const;
  //! Runs when the user chose another key.
  Notify OnChange;

  bool AcceptsValue() const override { return true; }
  std::string ValueText() const override { return keyValue_.AsString(); }
  //! Throws EClientError when the key is neither the chosen one nor offered by the list.
  void SetValueText(std::string_view text) override;

 private:
  Variant keyValue_;
};

//! A lookup whose list the user narrows with a search text before choosing.
class TSearchControl : public TLookupCombo {
 public:
  using TLookupCombo::TLookupCombo;
  const char* ClassName() const override { return "TSearchControl"; }
  void Describe(TDescription& out) override;
  //! Filter format with one or more %s for the search text, e.g.
  //! "(VOM_CODE LIKE '%%%s%%') OR (UPPER(VOM_OMSCHRIJVING) LIKE UPPER('%%%s%%'))".
  std::string SearchFormat;
  const std::string& SearchText() const { return searchText_; }
  //! Narrows the list (an empty text shows all of it).
  void Search(std::string_view text);

 private:
  std::string searchText_;
};

//! Value: the selected cell as "col,row".
class TStringGrid : public TControl {
 public:
  using TControl::TControl;
  const char* ClassName() const override { return "TStringGrid"; }
  void Describe(TDescription& out) override;
  int ColCount() const { return colCount_; }
  int RowCount() const { return rowCount_; }
  void SetSize(int colCount, int rowCount);
  int FixedCols = 0;
  int FixedRows = 1;
  const std::string& Cell(int col, int row) const;
  void SetCell(int col, int row, std::string text);
  int Col() const { return col_; }
  int Row() const { return row_; }
  void Select(int col, int row);
  Notify OnSelectCell, OnDblClick;

  bool AcceptsValue() const override { return true; }
  std::string ValueText() const override;
  void SetValueText(std::string_view text) override;

 private:
  int colCount_ = 0;
  int rowCount_ = 0;
  int col_ = 0;
  int row_ = 0;
  std::vector<std::string> cells_;  //!< row-major
};

class TProgressBar : public TControl {
 public:
  using TControl::TControl;
  const char* ClassName() const override { return "TProgressBar"; }
  void Describe(TDescription& out) override;
  int Min = 0;
  int Max = 100;
  int Position = 0;
  void StepBy(int delta) { Position += delta; }
};

//! A month view of days with items on them, where the user picks days (a click) or marks and
//! unmarks them through the screen (a double click on a day or on an item).
//! Value: the picked days as dd/mm/yyyy joined with ";"; setting a date clicks that day.
class TPlanner : public TControl {
 public:
  struct Item {
    TDateTime date;
    std::string text;  //!< the caption shown on the day
    int32_t color = clDefault;
    std::vector<std::string> lines;  //!< further lines under the caption
    int64_t tag = -1;                //!< what the item stands for, the screen's own number
  };

  using TControl::TControl;
  const char* ClassName() const override { return "TPlanner"; }
  void Describe(TDescription& out) override;
  int Year() const { return year_; }
  int Month() const { return month_; }
  //! Shows another month; OnMonthChange follows.
  void ShowMonth(int year, int month);
  std::vector<Item> Items;
  const std::set<int>& PickedDays() const { return picked_; }  //!< day numbers (date values)
  bool IsPicked(TDateTime date) const;
  void SetPicked(TDateTime date, bool picked);
  void ClearPicked() { picked_.clear(); }
  //! Toggles the day and runs OnDayClick with it.
  void ClickDay(TDateTime date);
  std::function<void(TDateTime)> OnDayClick;
  //! Runs OnDayDblClick with the day (the screen decides what it means).
  void DblClickDay(TDateTime date);
  std::function<void(TDateTime)> OnDayDblClick;
  //! Runs OnItemDblClick with the index of the item in Items; a client error for no such item.
  void DblClickItem(int index);
  std::function<void(int)> OnItemDblClick;
  Notify OnMonthChange;

  // A month view over a school year (the lesson lists): the months of the school year starting
  // in September of `SchoolYear` are offered as a row of month names, the days carry the week
  // number under `WeekLabel`, and the user may create an item on a day and delete an item when
  // the screen allows it. The names are the screen's; empty lists keep the host's.
  int SchoolYear = 0;                   //!< 0: no school year, any month
  std::vector<std::string> MonthNames;  //!< 12 names, January first
  std::vector<std::string> DayNames;    //!< 7 names, Monday first
  std::string WeekLabel;                //!< "" shows no week numbers
  bool CanCreateItems = false;
  bool CanDeleteItems = false;
  //! Runs OnItemCreate with the day; refused (client error) when items cannot be created.
  void CreateItem(TDateTime date);
  std::function<void(TDateTime)> OnItemCreate;
  //! Runs OnItemDelete with the index; refused when items cannot be deleted or there is none.
  void DeleteItem(int index);
  std::function<void(int)> OnItemDelete;

  bool AcceptsValue() const override { return true; }
  std::string ValueText() const override;
  void SetValueText(std::string_view text) override;

 private:
  int year_ = 2000;
  int month_ = 1;
  std::set<int> picked_;
};

}  // namespace quil

// The published definition of a data screen: what a screen's form definition fixes before any of
// its code runs (captions, grouping, main data source, default master, form links, reports and
// the name mappings the host applies when it hands a record to linked screens and reports).
//
// A definition is plain data. A module keeps the definitions of its screens in one catalogue and
// hands them to the form manager with each registered class; the host applies a definition to a
// new screen right after its constructor. Empty texts and empty lists mean "not set": the value
// the screen's base class gave stays.
#pragma once

#include <string>
#include <vector>

namespace quil {

//! A detail screen that can be opened from the current record of a master screen.
struct TQuilFormLink {
  std::string DetailForm;   //!< class name, matched without regard to case
  std::string DisplayName;  //!< the caption the host shows for the link
  std::string MasterDS;     //!< data source of the master that becomes the detail's master
  bool ReadOnly = false;    //!< open the detail read-only
};

struct TReportDef {
  std::string DisplayName;
  std::string FileNames;  //!< the report definition file the printer loads
  bool DefaultReport = false;
  bool Visible = true;
};

struct TFormDefinition {
  std::string ClassName;
  std::string Unit;
  //! The class whose definition this one extends; unset properties come from it.
  std::string InheritsFrom;
  std::string Caption;
  std::string TabCaption;
  std::string Group;
  std::string MainDataSource;
  std::string DefaultBrowserForm;
  std::vector<TQuilFormLink> FormLinks;
  std::vector<TReportDef> ReportDefs;
  std::vector<std::string> FieldsToParams;        //!< "FIELD=PARAM"
  std::vector<std::string> ParamsToReportParams;  //!< "PARAM=REPORTPARAM"
  bool SaveOnPrint = true;
  bool ReportFields = false;
  int HelpContext = 0;
};

//! `own` completed with every property it leaves unset taken from `base`.
TFormDefinition MergeDefinition(const TFormDefinition& own, const TFormDefinition& base);

//! Splits "A=B" into its two names (B = A when there is no '=').
std::pair<std::string, std::string> SplitNamePair(const std::string& pair);

}  // namespace quil

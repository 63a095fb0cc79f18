// The catalogue of every screen of the module: class names, units, base classes, captions, tab
// captions, groups, main data sources, default browsers, form links, report definitions and the
// name mappings for linked screens and reports.
//
// It is data, kept in four tables in ScreenCatalogue.cpp, and the one place these names and texts
// live: a screen's code never repeats them, the form manager gets each registered class's
// definition from here. An empty text means the property is not set; a screen whose base class is
// itself in the catalogue inherits every property it does not set (TVWOFicheKlasForm takes group,
// main data source, default browser, form links and reports of TVWOKlasForm).
#pragma once

#include <span>
#include <string_view>

#include "host/forms/FormDefinition.h"

namespace kavel {

struct ScreenEntry {
  std::string_view className;
  std::string_view unit;
  std::string_view baseClass;  //!< TQuilDBForm, TQuilForm (a plain modal window) or a screen
  std::string_view caption;
  std::string_view tabCaption;
  std::string_view group;
  std::string_view mainDataSource;
  std::string_view defaultBrowserForm;
  int helpContext;
};

struct FormLinkEntry {
  std::string_view master;
  std::string_view detailForm;
  std::string_view displayName;
  std::string_view masterDS;
};

struct ReportEntry {
  std::string_view screen;
  std::string_view displayName;
  std::string_view fileNames;
  bool defaultReport;
  bool visible;
};

enum class Mapping { FieldsToParams, ParamsToReportParams };

struct ParamMappingEntry {
  std::string_view screen;
  Mapping kind;
  std::string_view pair;  //!< "NAME=NAME"
};

//! The screens in alphabetical order of class name (52 of them).
std::span<const ScreenEntry> ScreenEntries();
//! Form links grouped by master screen, each master's links in their order.
std::span<const FormLinkEntry> FormLinkEntries();
std::span<const ReportEntry> ReportEntries();
std::span<const ParamMappingEntry> ParamMappingEntries();

//! Case-insensitive; nullptr when the module has no such screen.
const ScreenEntry* FindScreenEntry(std::string_view className);
//! The screen's definition with its links, reports and mappings, inheritance resolved. Throws
//! std::logic_error for a class that is not in the catalogue.
quil::TFormDefinition ScreenDefinition(std::string_view className);

}  // namespace kavel

// The lesson recipe: a weekly pattern of lessons from which the server generates the lesson
// moments of a period (job 313).
//
// A recipe (TLesRecept) is an ordered list of rows (TLesReceptItem), one per weekly lesson: its
// weekday, start and end time, pause, number of lesson times and, optionally, a teacher, room and
// lesson place (-1 when the server is to take them from the module variant or the class). The
// display texts travel with the ids so a dialog can show a row without its lists.
//
// LesmomentAsString writes the recipe as the JSON text job 313 reads; the format is documented in
// docs/jobs.md ("The recipe text"). A recipe is a plain value owned by the dialog that edits it;
// rows are held by pointer, so a reference to a row stays valid while rows are added or removed
// elsewhere in the list.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "host/base/Currency.h"
#include "host/base/DateTime.h"

namespace quil {

//! The weekday of a recipe row: 0 = Monday .. 6 = Sunday.
enum class TDag { dgMaandag, dgDinsdag, dgWoensdag, dgDonderdag, dgVrijdag, dgZaterdag, dgZondag };

//! "Maandag" .. "Zondag", the names the recipe's lists show.
const char* DagNaam(TDag dag);
//! The seven names in weekday order.
const std::vector<std::string>& DagNamen();

struct TLesReceptItem {
  std::optional<TDag> Dag;  //!< none only while a new row waits for its editor
  TDateTime Van;            //!< time of day
  TDateTime Tot;            //!< time of day
  int Pauze = 0;            //!< minutes
  Currency Lestijden;       //!< lesson times of 50 minutes
  int LesgeverID = -1;
  std::string Lesgever;  //!< first name, a blank, name
  int LokaalID = -1;
  std::string Lokaal;  //!< code, a blank, description
  int LesplaatsID = -1;
  std::string Lesplaats;  //!< number, a blank, description
  bool Afstand = false;   //!< "Afstands-lesmoment"
};

class TLesRecept {
 public:
  int Count() const { return static_cast<int>(items_.size()); }
  bool IsEmpty() const { return items_.empty(); }
  TLesReceptItem& Item(int index) { return *items_.at(index); }
  const TLesReceptItem& Item(int index) const { return *items_.at(index); }
  //! Appends an empty row and returns it.
  TLesReceptItem& Add();
  void Delete(int index);
  void Clear() { items_.clear(); }

 private:
  std::vector<std::unique_ptr<TLesReceptItem>> items_;
};

//! The recipe as the JSON text job 313 reads. A row without a weekday is a programming error
//! (std::logic_error): the editor accepts no such row.
std::string LesmomentAsString(const TLesRecept& recept);

}  // namespace quil

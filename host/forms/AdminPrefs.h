// AdminPrefs: the working-year preferences of the signed-in user.
//
// The working date (`WerkDatum`, default today) fixes the working year (`WerkJaar`, its school
// year) and that year's bounds; setting the working date recomputes them, all or nothing: a date
// outside the school years the host can reckon with (FirstWerkDatum to LastWerkDatum) is refused
// with a client error and the preferences stay as they were. `WerkJaarID`, the id of the working
// year's SCHOOLJAAR row, is only known to the server (GetSchooljaarID): it stays -1 until the
// session supplies it and returns to -1 whenever the working year changes. A plain value owned by
// the session; not shared between threads.
#pragma once

#include <cstdint>

#include "host/base/DateTime.h"
#include "host/data/AppServer.h"

namespace quil {

class AdminPrefs {
 public:
  //! Light yellow (0xRRGGBB), the background of edit controls whose fields go to Davinci.
  static constexpr int32_t kDefaultDavinciKleur = 0xFFFFC0;

  //! Working date today.
  AdminPrefs();
  //! Throws EClientError when the date is no possible working date.
  explicit AdminPrefs(TDateTime werkDatum);

  //! The first and last working dates: 01/09/0001 and 31/08/9999, the first and last days of
  //! the school years whose bounds (and extended end) are dates.
  static TDateTime FirstWerkDatum();
  static TDateTime LastWerkDatum();
  static bool IsValidWerkDatum(TDateTime werkDatum);
  //! Raises "De werkdatum moet tussen 01/09/0001 en 31/08/9999 liggen" unless IsValidWerkDatum.
  static void CheckWerkDatum(TDateTime werkDatum);

  TDateTime WerkDatum() const { return werkDatum_; }
  //! Also recomputes the working year and its bounds. A date out of range is refused
  //! (CheckWerkDatum) and changes nothing.
  void SetWerkDatum(TDateTime werkDatum);

  int WerkJaar() const { return werkJaar_; }
  //! 1 September of the working year.
  TDateTime StartOfWerkJaar() const { return startOfWerkJaar_; }
  //! 31 August of the year after the working year.
  TDateTime EndOfWerkJaar() const { return endOfWerkJaar_; }
  //! The open end of periods that never close: 31/12/2999.
  static TDateTime EndOfZovive();

  int32_t WerkJaarID() const { return werkJaarID_; }
  void SetWerkJaarID(int32_t id) { werkJaarID_ = id; }

  //! Lesson places of every location in the choice lists, not only those of the class's own.
  bool VWOToonAlleLesplaatsen() const { return vwoToonAlleLesplaatsen_; }
  void SetVWOToonAlleLesplaatsen(bool value) { vwoToonAlleLesplaatsen_ = value; }

  int32_t DavinciKleur() const { return davinciKleur_; }
  void SetDavinciKleur(int32_t rgb) { davinciKleur_ = rgb; }

  //! Ask before a record is deleted.
  bool ConfirmDeletion() const { return confirmDeletion_; }
  void SetConfirmDeletion(bool value) { confirmDeletion_ = value; }

 private:
  TDateTime werkDatum_;
  int werkJaar_ = 0;
  TDateTime startOfWerkJaar_;
  TDateTime endOfWerkJaar_;
  int32_t werkJaarID_ = -1;
  bool vwoToonAlleLesplaatsen_ = false;
  int32_t davinciKleur_ = kDefaultDavinciKleur;
  bool confirmDeletion_ = true;
};

//! The SJ_ID of school year Y's SCHOOLJAAR row (its code is "Y"), from the server's list of
//! school years; -1 when there is none.
int32_t GetSchooljaarID(IAppServer& server, int schooljaar);

}  // namespace quil

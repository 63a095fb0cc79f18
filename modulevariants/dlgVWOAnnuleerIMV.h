// TVWOAnnuleerIMVForm: cancels one organised module variant at Davinci with everything that
// hangs from it, and keeps or deletes the records in the own database.
//
// The module variant screen creates it for its current record, calls Init and shows it
// modally. The dialog lists, per kind of dependent Davinci record, how many there are and how
// many Davinci knows, lets the user choose keep or delete, and then has the server (job 393)
// handle one record per call, in a fixed order of kinds (the module variant itself last), with a
// progress bar for the whole run and one for the kind at hand. Closing it always cleans the job.
//
// The dialog owns its datasets and controls; it lives on the session's UI thread.
#pragma once

#include <array>
#include <string>

#include "host/forms/QuilForm.h"

namespace kavel {

class TVWOAnnuleerIMVForm : public quil::TQuilDBForm {
 public:
  explicit TVWOAnnuleerIMVForm(quil::TQuilApplication& app);

  //! Keeps the module variant's identity, shows its texts and loads its Davinci records.
  void Init(int imvId, int scId, int isId, const std::string& afkorting, const std::string& code,
            const std::string& omschrijving, quil::TDMQuil& dataModule);

  //! One kind of dependent record, in the order they are processed.
  struct Groep {
    const char* naam;   //!< shown in the progress text
    const char* label;  //!< shown in the counts
    int idType;         //!< ID_TYPE of its rows
    int callType;       //!< the call type job 393 gets
  };
  static const std::array<Groep, 6> kGroepen;

  quil::TQuilClientDataSet& CDSSelectIMVAnnulatieData;
  std::array<quil::TQuilClientDataSet*, 6> CDSGroepen{};

  quil::TLabel& LblAfkorting;
  quil::TLabel& LblCode;
  quil::TLabel& LblOmschrijving;
  quil::TGroupBox& GBRecords;
  //! Per group a row (label, Davinci, Quil) and the totals as the last row.
  quil::TStringGrid& SGAantallen;
  quil::TGroupBox& GBKeuze;
  quil::TCheckBox& CBBehouden;
  quil::TCheckBox& CBVerwijderen;
  quil::TProgressBar& PBTotaal;
  quil::TProgressBar& PBSub;
  quil::TAction& AExecute;
  quil::TButton& BtnStart;
  quil::TButton& BtnSluiten;

  int JobID() const { return jobId_; }

  void QuilDBFormClose(quil::TCloseAction& action) override;

 private:
  void LoadData();
  void Run();

  int imvId_ = 0;
  int scId_ = 0;
  int isId_ = 0;
  int jobId_ = -1;
  bool controlsEnabled_ = true;
};

}  // namespace kavel

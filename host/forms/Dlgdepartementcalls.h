// TDepartementCallsDialog: the Davinci communication of one object, as the host shows it.
//
// The caller sets the header (SetHeader: a format with %s and its values) and the calls to list
// (InitData: the session's data module, a provider that lists the Davinci calls of one object,
// and a key text that selects the object), then shows the dialog modally. The list shows the
// object's calls newest first: when made, type, state, result in words, first and last attempt,
// sender, error text, and the object's id and state at Davinci. The action AOpnieuwVersturen
// marks the current call, when it was refused or ran out of attempts, to be sent again.
//
// The key text is a list of pairs NAME=digits joined by commas, without blanks; every name must
// be a parameter of the provider and each parameter is given once. Anything else is refused
// with a client error before anything is asked of the server, so a key never reaches SQL.
//
// The dialog sits below the host's domain helpers, so the words for the codes are handed in
// (TDavinciCallTexts; host/domain/Departementconst.h has the host's). Used on the session's UI
// thread only.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "host/forms/DBControls.h"
#include "host/forms/QuilForm.h"

namespace quil {

class TDMQuil;

//! How the dialog names the codes of a call.
struct TDavinciCallTexts {
  std::function<std::string(int)> callType;
  std::function<std::string(std::string_view)> status;
  std::function<std::string(std::string_view)> foutcode;
  std::function<std::string(int)> objectStatus;
};

//! One NAME=id pair of a key text.
struct TCallsKeyPair {
  std::string name;  //!< as the provider spells its parameter
  int64_t id = 0;

  bool operator==(const TCallsKeyPair&) const = default;
};

//! Reads a key text strictly against the provider's parameter names (matched without regard to
//! case); raises a client error naming what is wrong.
std::vector<TCallsKeyPair> ParseCallsKey(std::string_view keyText, std::string_view provider,
                                         const std::vector<std::string>& allowedNames);

class TDepartementCallsDialog : public TQuilForm {
 private:
  // Declared before the public references below, which point into them.
  TDavinciCallTexts texts_;
  std::unique_ptr<TDataSource> dsCalls_;
  std::unique_ptr<TQuilClientDataSet> cdsCalls_;

 public:
  TDepartementCallsDialog(TQuilApplication& app, TDavinciCallTexts texts);
  ~TDepartementCallsDialog() override;

  //! The header: `format` with each %s replaced by the next value.
  void SetHeader(std::string_view format, const std::vector<std::string>& values);
  //! Lists the calls that `provider` gives for the object `keyText` selects.
  void InitData(TDMQuil& dataModule, std::string_view provider, std::string_view keyText);

  //! Whether the dialog is centred on the screen (the host's default) or placed by the host.
  bool CenterOnScreen = true;

  TLabel& LHeader;
  TDBGrid& GridCalls;
  TButton& BOpnieuwVersturen;
  TButton& BSluiten;
  TAction& AOpnieuwVersturen;
  TDataSource& DSCalls;
  //! The list; nullptr until InitData.
  TQuilClientDataSet* CDSCalls() const { return cdsCalls_.get(); }

 private:
  void AOpnieuwVersturenExecute();
  void AOpnieuwVersturenUpdate();
  void CalcCallFields(TQuilClientDataSet& calls);
};

}  // namespace quil

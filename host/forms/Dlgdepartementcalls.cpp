#include "host/forms/Dlgdepartementcalls.h"

#include "host/base/ScopeExit.h"
#include "host/base/Strings.h"
#include "host/base/SysUtils.h"
#include "host/data/DMQuil.h"
#include "host/data/DavinciCalls.h"

namespace quil {

namespace {

//! Longest decimal text that always fits a 64-bit id.
constexpr size_t kMaxIdDigits = 18;

bool IsNameChar(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
}

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

std::string Joined(const std::vector<std::string>& names) {
  std::string out;
  for (const std::string& name : names) {
    if (!out.empty()) out += ", ";
    out += name;
  }
  return out;
}

template <class T>
T& Captioned(T& control, const char* caption) {
  control.Caption = caption;
  return control;
}

}  // namespace

std::vector<TCallsKeyPair> ParseCallsKey(std::string_view keyText, std::string_view provider,
                                         const std::vector<std::string>& allowedNames) {
  const std::string key(keyText), prov(provider);
  auto refuse = [&](const std::string& why) {
    RaiseClientError("Ongeldige sleutel '%s' voor %s: %s", key, prov, why);
  };
  std::vector<TCallsKeyPair> pairs;
  size_t start = 0;
  while (true) {
    size_t end = keyText.find(',', start);
    if (end == std::string_view::npos) end = keyText.size();
    const std::string_view pair = keyText.substr(start, end - start);
    const size_t eq = pair.find('=');
    const std::string_view name = pair.substr(0, eq == std::string_view::npos ? 0 : eq);
    const std::string_view digits =
        eq == std::string_view::npos ? std::string_view() : pair.substr(eq + 1);
    bool wellFormed = !name.empty() && !digits.empty() && digits.size() <= kMaxIdDigits;
    for (char c : name) wellFormed = wellFormed && IsNameChar(c);
    for (char c : digits) wellFormed = wellFormed && IsDigit(c);
    if (!wellFormed) {
      refuse(
          Format("'%s' is geen paar NAAM=nummer (paren gescheiden door een komma, zonder "
                 "spaties)",
                 std::string(pair)));
    }
    const std::string* allowed = nullptr;
    for (const std::string& candidate : allowedNames) {
      if (SameText(candidate, name)) allowed = &candidate;
    }
    if (allowed == nullptr) {
      refuse(Format("'%s' is geen sleutelveld (toegelaten: %s)", std::string(name),
                    Joined(allowedNames)));
    }
    for (const TCallsKeyPair& earlier : pairs) {
      if (earlier.name == *allowed) refuse(Format("'%s' komt meer dan eens voor", *allowed));
    }
    int64_t id = 0;
    for (char c : digits) id = id * 10 + (c - '0');
    pairs.push_back({*allowed, id});
    if (end == keyText.size()) break;
    start = end + 1;
  }
  for (const std::string& name : allowedNames) {
    bool given = false;
    for (const TCallsKeyPair& pair : pairs) given = given || pair.name == name;
    if (!given) refuse(Format("'%s' ontbreekt", name));
  }
  return pairs;
}

TDepartementCallsDialog::TDepartementCallsDialog(TQuilApplication& app, TDavinciCallTexts texts)
    : TQuilForm(app, "TDepartementCallsDialog"),
      texts_(std::move(texts)),
      dsCalls_(std::make_unique<TDataSource>(nullptr, "DSCalls")),
      LHeader(Add<TLabel>("LHeader")),
      GridCalls(Add<TDBGrid>("GridCalls")),
      BOpnieuwVersturen(Add<TButton>("BOpnieuwVersturen")),
      BSluiten(Captioned(Add<TButton>("BSluiten"), "Sluiten")),
      AOpnieuwVersturen(AddAction(
          "AOpnieuwVersturen", "Opnieuw versturen", [this] { AOpnieuwVersturenExecute(); },
          [this] { AOpnieuwVersturenUpdate(); })),
      DSCalls(*dsCalls_) {
  Caption = "Davinci communicatie";
  AOpnieuwVersturen.Hint = "De gekozen geweigerde of mislukte oproep opnieuw laten versturen";
  BOpnieuwVersturen.Action = &AOpnieuwVersturen;
  // The dialog only shows: closing it chooses nothing.
  BSluiten.ModalResult = mrCancel;
  BSluiten.Cancel = true;
  BSluiten.Default = true;
  GridCalls.DataSource = &DSCalls;
  GridCalls.Columns = {{"WC_AANMAAKOP", "Aangemaakt op"},
                       {"SOORT", "Soort"},
                       {"STATUS", "Status"},
                       {"RESULTAAT", "Resultaat"},
                       {"WC_EERSTECALL", "Eerste poging"},
                       {"WC_LAATSTECALL", "Laatste poging"},
                       {"WC_POGINGEN", "Pogingen"},
                       {"VERZENDER", "Verzender"},
                       {"WC_FOUT", "Fout"},
                       {"ID_DAVINCIID", "Davinci-id"},
                       {"STATUSOBJECT", "Status bij Davinci"}};
}

TDepartementCallsDialog::~TDepartementCallsDialog() {
  // The data source must not point at a dataset that is already gone.
  DSCalls.SetDataSet(nullptr);
}

void TDepartementCallsDialog::SetHeader(std::string_view format,
                                        const std::vector<std::string>& values) {
  std::vector<Variant> args(values.begin(), values.end());
  LHeader.Caption = FormatV(format, args);
  Caption = LHeader.Caption;
}

void TDepartementCallsDialog::InitData(TDMQuil& dataModule, std::string_view provider,
                                       std::string_view keyText) {
  const Params declared = dataModule.Server().FetchParams(provider);
  std::vector<std::string> names;
  for (const TParam& param : declared) names.push_back(param.name);
  const std::vector<TCallsKeyPair> key = ParseCallsKey(keyText, provider, names);

  DSCalls.SetDataSet(nullptr);
  cdsCalls_ = std::make_unique<TQuilClientDataSet>(&dataModule, "CDSCalls");
  TQuilClientDataSet& calls = *cdsCalls_;
  calls.SetProvName(provider);
  calls.IDField = "WC_ID";
  calls.ChangedByField = "WC_VERANDERDDOOR";
  calls.ChangedOnField = "WC_VERANDERDOP";
  for (const auto& [name, size] :
       {std::pair{"SOORT", 60}, std::pair{"STATUS", 40}, std::pair{"RESULTAAT", 80},
        std::pair{"VERZENDER", 80}, std::pair{"STATUSOBJECT", 40}}) {
    calls.AddField({.name = name, .type = FieldType::String, .size = size}, FieldKind::Calculated);
  }
  calls.OnCalcFields = [this](TQuilClientDataSet& ds) { CalcCallFields(ds); };
  Params& params = calls.GetParams();
  for (const TCallsKeyPair& pair : key) {
    params.Add(pair.name, declared.Find(pair.name)->type).value = Variant(pair.id);
  }
  DSCalls.SetDataSet(&calls);
  calls.Open();
}

void TDepartementCallsDialog::CalcCallFields(TQuilClientDataSet& calls) {
  const TField& status = calls.FieldByName("WC_CALLSTATUS");
  const TField& objectStatus = calls.FieldByName("ID_STATUSOBJECT");
  calls.FieldByName("SOORT").SetAsString(
      texts_.callType(static_cast<int>(calls.FieldByName("WC_CALLTYPE").AsInteger())));
  calls.FieldByName("STATUS").SetAsString(texts_.status(status.AsString()));
  calls.FieldByName("RESULTAAT")
      .SetAsString(texts_.foutcode(calls.FieldByName("WC_CALLFOUTCODE").AsString()));
  calls.FieldByName("VERZENDER")
      .SetAsString(std::string(Trim(calls.FieldByName("PS_VOORNAAM").AsString() + " " +
                                    calls.FieldByName("PS_NAAM").AsString())));
  calls.FieldByName("STATUSOBJECT")
      .SetAsString(objectStatus.IsNull()
                       ? std::string()
                       : texts_.objectStatus(static_cast<int>(objectStatus.AsInteger())));
}

void TDepartementCallsDialog::AOpnieuwVersturenUpdate() {
  const TQuilClientDataSet* calls = cdsCalls_.get();
  const std::string status = calls != nullptr && calls->Active() && !calls->IsEmpty()
                                 ? calls->FieldByName("WC_CALLSTATUS").AsString()
                                 : std::string();
  AOpnieuwVersturen.Enabled = status.size() == 1 && davinci::MayBeMarkedAgain(status[0]);
}

void TDepartementCallsDialog::AOpnieuwVersturenExecute() {
  TQuilClientDataSet& calls = *cdsCalls_;
  // A refused apply (the sender changed the call meanwhile) must not leave the list showing a
  // change the server does not have.
  bool stored = false;
  ScopeExit undo([&calls, &stored] {
    if (stored) return;
    if (calls.State() == DataSetState::Edit) calls.Cancel();
    calls.CancelUpdates();
  });
  calls.Edit();
  calls.FieldByName("WC_CALLSTATUS").SetAsString(std::string(1, davinci::status::kOpnieuw));
  calls.FieldByName("WC_POGINGEN").SetAsInteger(0);
  calls.FieldByName("WC_VOLGENDEPOGING").Clear();
  calls.Post();
  stored = true;
}

}  // namespace quil

#include "planning/frmVWOCheckLesmomenten.h"

#include "core/ModuleClasses.h"
#include "host/base/SchoolYear.h"
#include "host/data/FieldDeclarations.h"
#include "host/forms/AdminPrefs.h"

namespace kavel {

using namespace quil;

namespace {

constexpr int kJobCheckLestijden = 320;

// The bounds of the lesson-time check, and the colours of the rows outside them (stored
// colours, blue-green-red).
const Currency kOndergrens = Currency(92);
const Currency kBovengrens = Currency(100);
constexpr TColor kKleurTeWeinig = 0x0000FF;
constexpr TColor kKleurTeVeel = 0x4080FF;

constexpr const char* kRijKleur = "RIJKLEUR";

}  // namespace

TVWOCheckAantalLesmomentenForm::TVWOCheckAantalLesmomentenForm(TQuilApplication& app)
    : TQuilDBForm(app, "TVWOCheckAantalLesmomentenForm"),
      CDSResultaat(AddDataSet("CDSResultaat", "DSPBrowseVWOCheckLestijden")),
      DSResultaat(AddDataSource("DSResultaat", &CDSResultaat)),
      PnlSelectie(Add<TPanel>("PnlSelectie")),
      LCInstelling(Add<TLookupCombo>("LCInstelling", &PnlSelectie)),
      DEBegin(Add<TDateEdit>("DEBegin", &PnlSelectie)),
      DEEinde(Add<TDateEdit>("DEEinde", &PnlSelectie)),
      BtnOphalen(Add<TButton>("BtnOphalen", &PnlSelectie)),
      GridResultaat(Add<TDBGrid>("GridResultaat")),
      AFetch(AddAction(
          "AFetch", "&Ophalen", [this] { AFetchExecute(); }, [this] { AFetchUpdate(); })),
      job_(*this, kJobCheckLestijden) {
  MainDataSource = "DSResultaat";
  LCInstelling.Caption = "Instelling";
  LCInstelling.KeyField = "IS_ID";
  LCInstelling.ListFields = "IS_CODE;SC_INSTELLINGSNUMMER;IS_NAAMGEBRUIKER";
  LCInstelling.OnChange = [this] { LCInstellingChange(); };
  DEBegin.Caption = "Klas start tussen";
  DEEinde.Caption = "en";
  BtnOphalen.Action = &AFetch;
  BtnOphalen.Default = true;

  DeclareFields(
      CDSResultaat,
      {DataField("J_ID", "Jobdata id").Required().Hidden(), DataField("VKL_ID", "Klas id").Hidden(),
       DataField("IMV_ID", "Ingerichte module variant id").Hidden(),
       DataField("VOM_ID", "Module id").Hidden(), DataField("VKL_CODE", "Code klas"),
       DataField("VKL_OMSCHRIJVING", "Omschrijving klas"), DataField("VOM_OMSCHRIJVING", "Module"),
       DataField("IMV_TOTAALUREN", "Totaal uren").Format("0.00"),
       DataField("IMV_VEREISTEUREN", "Vereiste uren").Format("0.00"),
       DataField("IMV_PERCENTAGE", "Percentage").Format("0.00"),
       DataField("IMV_NOGTEPLANNEN", "Nog te plannen").Format("0.00"),
       DataField("IMV_LESVAN", "Les van"), DataField("IMV_LESTOT", "Les tot"),
       DataField("IMV_REGISTRATIEMOMENT", "Registratiemoment"),
       DataField("IMV_LESTIJDENAFSTANDSONDERWIJS", "Lestijden afstandsonderwijs"),
       DataField("VMV_LESTIJDENORGANISATIE", "Lestijden organisatie"),
       DataField("IMV_AFGELASTOP", "Afgelast op"),
       CalculatedField(kRijKleur, "Kleur", FieldType::Integer).Hidden()});
  CDSResultaat.OnCalcFields = [this](TQuilClientDataSet&) { CDSResultaatCalcFields(); };
  job_.AddRowsList(CDSResultaat);

  GridResultaat.DataSource = &DSResultaat;
  GridResultaat.RowColorField = kRijKleur;
  GridResultaat.Columns = {{"IMV_TOTAALUREN", "", 10},
                           {"IMV_VEREISTEUREN", "", 10},
                           {"IMV_PERCENTAGE", "%", 8},
                           {"IMV_NOGTEPLANNEN", "", 10},
                           {"VKL_CODE", "", 12},
                           {"VKL_OMSCHRIJVING", "", 30},
                           {"VOM_OMSCHRIJVING", "", 30},
                           {"IMV_LESVAN", "", 12},
                           {"IMV_LESTOT", "", 12},
                           {"IMV_REGISTRATIEMOMENT", "", 12},
                           {"IMV_LESTIJDENAFSTANDSONDERWIJS", "", 10},
                           {"VMV_LESTIJDENORGANISATIE", "", 10},
                           {"IMV_AFGELASTOP", "", 12}};
}

void TVWOCheckAantalLesmomentenForm::QuilDBFormCreate() {
  const TDateTime werkDatum = AdminPrefs().WerkDatum();
  DEBegin.SetDate(GetSchooljaarStartFrom(werkDatum));
  DEEinde.SetDate(GetSchooljaarEndFrom(werkDatum));
}

void TVWOCheckAantalLesmomentenForm::QuilDBFormSetMasterBrowser(TDataSource* master) {
  LCInstelling.ListSource = master;
}

void TVWOCheckAantalLesmomentenForm::QuilDBFormGetPrintParams(const std::string& reportFile,
                                                              TPrintParams& params) {
  (void)reportFile;
  params.SetValue("IS_ID", std::to_string(instellingId_));
  params.SetValue("JobID", std::to_string(job_.JobID()));
}

void TVWOCheckAantalLesmomentenForm::LCInstellingChange() {
  const Variant& key = LCInstelling.KeyValue();
  instellingId_ = key.IsNull() ? -1 : key.AsInteger();
}

void TVWOCheckAantalLesmomentenForm::AFetchUpdate() {
  AFetch.Enabled = instellingId_ != -1 && DEBegin.Date().value > 0 &&
                   DEEinde.Date().value >= DEBegin.Date().value;
}

void TVWOCheckAantalLesmomentenForm::AFetchExecute() {
  CursorGuard cursor(Application(), TCursor::crHourGlass);
  job_.Fill(JobData{{Variant(instellingId_), Variant(-1), Variant(DEBegin.Date()),
                     Variant(DEEinde.Date())}},
            TJobFill::Execute);
  BtnOphalen.Default = false;
}

void TVWOCheckAantalLesmomentenForm::CDSResultaatCalcFields() {
  TField& percentage = CDSResultaat.FieldByName("IMV_PERCENTAGE");
  TField& kleur = CDSResultaat.FieldByName(kRijKleur);
  if (percentage.IsNull()) {
    kleur.Clear();
  } else if (percentage.AsCurrency() < kOndergrens) {
    kleur.SetAsInteger(kKleurTeWeinig);
  } else if (percentage.AsCurrency() > kBovengrens) {
    kleur.SetAsInteger(kKleurTeVeel);
  } else {
    kleur.Clear();
  }
}

namespace frmVWOCheckLesmomenten {

void Initialization() {
  RegisterScreenClass("TVWOCheckAantalLesmomentenForm",
                      FactoryOf<TVWOCheckAantalLesmomentenForm>());
}

}  // namespace frmVWOCheckLesmomenten

}  // namespace kavel

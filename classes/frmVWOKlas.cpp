#include "classes/frmVWOKlas.h"

#include <cstdint>
#include <initializer_list>

#include "classes/dlgVWOSelecteerINGOpleiding.h"
#include "core/ModuleClasses.h"
#include "host/base/ScopeExit.h"
#include "host/base/SysUtils.h"
#include "host/data/DMQuil.h"
#include "host/data/FieldDeclarations.h"
#include "host/data/Guards.h"
#include "host/domain/Admtypes.h"
#include "host/domain/DavinciCommunicatie.h"
#include "host/domain/Departementconst.h"
#include "host/forms/AdminPrefs.h"
#include "host/forms/DateRangeForm.h"
#include "host/forms/Dlgdepartementcalls.h"
#include "planning/dlgVWOLesmomentUitRecept.h"
#include "planning/vwochecks.h"

namespace kavel {

using namespace quil;

namespace {

// Bits of VWK_FLAGS.
constexpr int kBitInschrijvenMag = 11;
constexpr int kFlagsInstelling = 0x200000;  //!< a new class when the institution has IS_FLAGS 2
constexpr int kBitNooitMelden = 25;
constexpr int kBitAfgelast = 26;
constexpr int kBitHeeftAfgelasteIMV = 27;
constexpr int kBitStages = 28;
constexpr int kBitTramvo = 29;
//! Bit 0 of the class list's Tag: the module variant screen is marking the class, no checks.
constexpr int kTagGeenControle = 1;

// Host job types.
constexpr int kJobKlasMemo = 328;
constexpr int kJobLokaalNaarLessen = 351;
constexpr int kJobLesdagen = 352;
constexpr int kJobAantalLeerlingen = 373;

//! The database parameter that shows the two "(class)" reports.
constexpr const char* kClassRapportenParam = "CLASSRAPPORTEN";

constexpr const char* kPeriodeCaptions[7] = {
    "School&jaar", "1&ste semester",      "2&de semester",     "&Huidig",
    "&Periode",    "&Volgend schooljaar", "V&orig schooljaar",
};

constexpr const char* kNooitMeldenVraag =
    "Klas niet melden kan nadien niet meer afgevinkt worden.\r\nEr zullen voor de cursisten en "
    "loopbanen nooit gegevens opgestuurd worden.\r\nBent u zeker?";
constexpr const char* kVanVoorTot = "De \"van datum\" moet voor de \"tot datum\" liggen.";
constexpr const char* kLabelNietGevonden = "Kon label \"%s\" niet vinden.";
constexpr const char* kLokaalGekopieerd =
    "Standaard lokaal is met succes gekopieerd naar de lessen";
constexpr const char* kReedsGekoppeld = "De ingerichte opleiding is reeds gekoppeld aan de klas";
constexpr const char* kNietKlaar =
    "Er zijn nog opleidingen aan de klas gekoppeld die nog niet klaar zijn voor Davinci \r"
    "Controleer de ingerichte opleidingen";
constexpr const char* kAndereDavinciVestiging =
    "Davinci vestigingsplaats nummer mag niet gewijzigd worden\r\nindien er al opleidingen aan de "
    "klas gekoppeld zijn.";
constexpr const char* kVestigingOpleiding =
    "Er zijn ingerichte opleidingsvarianten aan de klas gekoppeld \rwaarvan de vestigingsplaats "
    "niet overeenkomt met de vestiging van de klas.";

std::string DateText(TDateTime date) {
  return FormatDateTime("dd/mm/yyyy", date);
}

bool HasBit(int64_t flags, int bit) {
  return ((flags >> bit) & 1) != 0;
}

}  // namespace

TVWOKlasForm::TVWOKlasForm(TQuilApplication& app) : TVWOKlasForm(app, "TVWOKlasForm") {}

TVWOKlasForm::TVWOKlasForm(TQuilApplication& app, std::string className)
    : TQuilDBForm(app, std::move(className)),
      CDSVWOKlas(AddDataSet("CDSVWOKlas", "DSPVWOKlas")),
      CDSSelectVestiging(AddDataSet("CDSSelectVestiging", "DSPSelectVPPerIS")),
      CDSFilterVestiging(AddDataSet("CDSFilterVestiging")),
      CDSSelectLokaal(AddDataSet("CDSSelectLokaal", "DSPSelectLokaalPerIS")),
      CDSSelectLesplaats(AddDataSet("CDSSelectLesplaats", "DSPSelectVWOLesplaats")),
      CDSLesgevers(AddDataSet("CDSLesgevers", "DSPSelectHuidigPersoneelInDienst")),
      CDSSelectOpenKlas(AddDataSet("CDSSelectOpenKlas", "DSPSelectVWOOpenKlas")),
      CDS_OmschrLabel(AddDataSet<TInstellingParamClientDataset>("CDS_OmschrLabel")),
      CDSVrijParam{},
      CDSGetlesTijden(AddDataSet("CDSGetlesTijden", "DSPVWOGetGeplandeKlasLesTijden")),
      CDSDaVinciCommunicatie(AddDataSet("CDSDaVinciCommunicatie", "DSPDavinciKlasIMVLes")),
      CDSKlasIngModuleVar(AddDataSet("CDSKlasIngModuleVar", "DSPSelectVWOKlasIngModVar")),
      CDSKlasOpleidingen(AddDataSet("CDSKlasOpleidingen", "DSPVWOKlasOpleidingen")),
      CDSINGVWOOpleidingen(AddDataSet<TQuilCachedClientDataSet>("CDSINGVWOOpleidingen",
                                                                "DSPSelectIngVWOOpleidingsVarVP")),
      CDSVWOTrajectType(AddDataSet<TVWOParamsClientDataset>("CDSVWOTrajectType")),
      CDSSearchCursusNr(AddDataSet("CDSSearchCursusNr", "DSPVWOZoekCursusNR")),
      DSVWOKlas(AddDataSource("DSVWOKlas", &CDSVWOKlas)),
      DSSelectVestiging(AddDataSource("DSSelectVestiging", &CDSSelectVestiging)),
      DSFilterVestiging(AddDataSource("DSFilterVestiging", &CDSFilterVestiging)),
      DSSelectLokaal(AddDataSource("DSSelectLokaal", &CDSSelectLokaal)),
      DSSelectLesplaats(AddDataSource("DSSelectLesplaats", &CDSSelectLesplaats)),
      DSLesgevers(AddDataSource("DSLesgevers", &CDSLesgevers)),
      DSSelectOpenKlas(AddDataSource("DSSelectOpenKlas", &CDSSelectOpenKlas)),
      DSVrijParam{},
      DSKlasOpleidingen(AddDataSource("DSKlasOpleidingen", &CDSKlasOpleidingen)),
      DSINGVWOOpleidingen(AddDataSource("DSINGVWOOpleidingen", &CDSINGVWOOpleidingen)),
      PnlTop(Add<TPanel>("PnlTop")),
      LTitel(Add<TLabel>("LTitel", &PnlTop)),
      LCFilterVestiging(Add<TLookupCombo>("LCFilterVestiging", &PnlTop)),
      sbSearch(Add<TButton>("sbSearch", &PnlTop)),
      BtnCopyKlas(Add<TButton>("BtnCopyKlas", &PnlTop)),
      GridKlassen(Add<TDBGrid>("GridKlassen")),
      PCKlas(Add<TPageControl>("PCKlas")),
      TSFiche(Add<TTabSheet>("TSFiche", &PCKlas)),
      TSOpleidingen(Add<TTabSheet>("TSOpleidingen", &PCKlas)),
      TSMemo(Add<TTabSheet>("TSMemo", &PCKlas)),
      TSVrijeVelden(Add<TTabSheet>("TSVrijeVelden", &PCKlas)),
      TSVrijeParameters(Add<TTabSheet>("TSVrijeParameters", &PCKlas)),
      EdtCode(Add<TDBEdit>("EdtCode", &TSFiche)),
      EdtOmschrijving(Add<TDBEdit>("EdtOmschrijving", &TSFiche)),
      LCVestiging(Add<TDBLookupCombo>("LCVestiging", &TSFiche)),
      LCLokaal(Add<TDBLookupCombo>("LCLokaal", &TSFiche)),
      EdtVan(Add<TDBEdit>("EdtVan", &TSFiche)),
      EdtTot(Add<TDBEdit>("EdtTot", &TSFiche)),
      EdtMaxLeerlingen(Add<TDBEdit>("EdtMaxLeerlingen", &TSFiche)),
      LCOpenKlas(Add<TDBLookupCombo>("LCOpenKlas", &TSFiche)),
      CBInschrijvenMag(Add<TDBCheckBox>("CBInschrijvenMag", &TSFiche)),
      CBNooitMelden(Add<TDBCheckBox>("CBNooitMelden", &TSFiche)),
      CBStages(Add<TDBCheckBox>("CBStages", &TSFiche)),
      CBTramvo(Add<TDBCheckBox>("CBTramvo", &TSFiche)),
      CBAfgelast(Add<TDBCheckBox>("CBAfgelast", &TSFiche)),
      CBHeeftAfgelasteIMV(Add<TDBCheckBox>("CBHeeftAfgelasteIMV", &TSFiche)),
      GridOpleidingen(Add<TDBGrid>("GridOpleidingen", &TSOpleidingen)),
      SBNew(Add<TButton>("SBNew", &TSOpleidingen)),
      SBDelete(Add<TButton>("SBDelete", &TSOpleidingen)),
      EdtKalenderOmschrijving(Add<TDBEdit>("EdtKalenderOmschrijving", &TSMemo)),
      AMemoFromlesmoment(AddAction(
          "AMemoFromlesmoment", "Memo lesuren (LM)", [this] { AMemoFromlesmomentExecute(); },
          [this] { AMemoFromlesmoment.Enabled = Browsing(); })),
      ALesmomentRecept(AddAction(
          "ALesmomentRecept", "Lessen uit r&ecept", [this] { ALesmomentReceptExecute(); },
          [this] { ALesmomentRecept.Enabled = Browsing() && Bruikbaar(); })),
      ACheckLestijden(AddAction(
          "ACheckLestijden", "Lestijden &nagaan", [this] { ACheckLestijdenExecute(); },
          [this] { ACheckLestijden.Enabled = Browsing(); })),
      ALesdagen(AddAction(
          "ALesdagen", "Les&dagen nagaan", [this] { ALesdagenExecute(); },
          [this] { ALesdagen.Enabled = Browsing(); })),
      AKalender(AddPlaceholderAction("AKalender", "Ingave via &kalender...")),
      ACopyLokaal(AddAction(
          "ACopyLokaal", "&Lokaal kopiëren naar lessen zonder lokaal", [this] { CopyLokaal(0); },
          [this] {
            ACopyLokaal.Enabled = CDSVWOKlas.Active() && !CDSVWOKlas.IsEmpty() &&
                                  !CDSVWOKlas.FieldByName("VWK_STANDAARDLOKAAL_FK").IsNull() &&
                                  Bruikbaar();
          })),
      ACopyLokaalToAll(AddAction(
          "ACopyLokaalToAll", "Lokaal kopiëren naar alle lessen", [this] { CopyLokaal(1); },
          [this] { ACopyLokaalToAll.Enabled = ACopyLokaal.Enabled; })),
      ACalcIMVAantalLeerlingen(AddAction(
          "ACalcIMVAantalLeerlingen", "&Herberekenen aantal leerlingen",
          [this] { ACalcIMVAantalLeerlingenExecute(); },
          [this] { ACalcIMVAantalLeerlingen.Enabled = Browsing(); })),
      ACommDavinci(AddAction(
          "ACommDavinci", "&Davinci communicatie", [this] { ACommDavinciExecute(); },
          [this] { ACommDavinci.Enabled = DavinciRechten(); })),
      ACommDavinciCursist(AddAction(
          "ACommDavinciCursist", "Davinci communicatie &Cursisten",
          [this] { ACommDavinciCursistExecute(); },
          [this] { ACommDavinciCursist.Enabled = DavinciRechten(); })),
      ACopyKlas(AddPlaceholderAction("ACopyKlas", "Klas Kopieren")),
      ANewKlasOpleiding(AddAction(
          "ANewKlasOpleiding", "+", [this] { ANewKlasOpleidingExecute(); },
          [this] { ANewKlasOpleiding.Enabled = CDSKlasOpleidingen.Active() && Browsing(); })),
      ADeleteKlasOpleiding(AddAction(
          "ADeleteKlasOpleiding", "-", [this] { ADeleteKlasOpleidingExecute(); },
          [this] {
            ADeleteKlasOpleiding.Enabled =
                CDSKlasOpleidingen.Active() && !CDSKlasOpleidingen.IsEmpty();
          })),
      AZoekCursus(AddAction(
          "AZoekCursus", "&Cursusnummer zoeken", [this] { AZoekCursusExecute(); },
          [this] { AZoekCursus.Enabled = CDSVWOKlas.Active() && PnlTop.Visible; })),
      APeriode{},
      AAfgelast{} {
  for (int n = 0; n < 5; ++n) {
    const std::string suffix = std::to_string(n + 1);
    CDSVrijParam[n] =
        &AddDataSet<TInstellingParamClientDataset>("CDS_VWK_VRIJPARAM" + suffix + "_FKP");
    CDSVrijParam[n]->SetParamType("KLVP" + suffix);
    DSVrijParam[n] = &AddDataSource("DS_VWK_VRIJPARAM" + suffix + "_FKP", CDSVrijParam[n]);
  }
  for (int kind = 0; kind < 7; ++kind) {
    APeriode[kind] = &AddAction(
        "APeriode" + std::to_string(kind), kPeriodeCaptions[kind],
        [this, kind] { PeriodeExecute(kind); },
        [this, kind] {
          APeriode[kind]->Checked = periode_ == kind;
          APeriode[kind]->Visible = PnlTop.Visible;
        });
    APeriode[kind]->Category = "Periode";
  }
  const char* afgelastCaptions[2] = {"Niet afgelast", "Afgelast"};
  for (int filter = 0; filter < 2; ++filter) {
    AAfgelast[filter] = &AddAction(
        "AAfgelast" + std::to_string(filter), afgelastCaptions[filter],
        [this, filter] { AfgelastExecute(filter); },
        [this, filter] {
          AAfgelast[filter]->Checked = afgelast_ == filter;
          AAfgelast[filter]->Visible = PnlTop.Visible;
          AAfgelast[filter]->Enabled = CDSVWOKlas.Active();
        });
    AAfgelast[filter]->Category = "Periode";
  }
  for (TAction* action : {&AMemoFromlesmoment, &ALesmomentRecept, &ACheckLestijden, &ALesdagen,
                          &AKalender, &ACopyLokaal, &ACopyLokaalToAll, &ACalcIMVAantalLeerlingen}) {
    action->Category = "Lessenrooster";
  }
  ALesmomentRecept.Hint = "Lesmomenten aanmaken uit recept";
  ACheckLestijden.Hint = "Aantal ingerichte lestijden controleren";
  AMemoFromlesmoment.Hint = "Klas KAL memo aanmaken uit lesmomenten";
  ACopyLokaal.Hint =
      "Kopieer het standaard lokaal naar de lessen waarvoor het lokaal niet ingevuld is.";
  ACopyKlas.Hint = "Klas kopiëren";
  AZoekCursus.Hint = "Davinci cursuscode zoeken";
  ANewKlasOpleiding.Hint = "Ingerichte opleiding koppelen";
  ADeleteKlasOpleiding.Hint = "Gekoppelde opleiding verwijderen";

  // The classes.
  TQuilClientDataSet& klas = CDSVWOKlas;
  klas.IDField = "VWK_ID";
  klas.ChangedByField = "VWK_VERANDERDDOOR";
  klas.ChangedOnField = "VWK_VERANDERDOP";
  klas.StatusFields = "VWK_CODE;VWK_OMSCHRIJVING";
  klas.Description = "Lijst VWO Klassen";
  klas.SetSortFields("VWK_CODE");
  klas.GetParams().Add("IS_ID", FieldType::Integer);
  klas.GetParams().Add("BEGINDATUM", FieldType::Date);
  klas.GetParams().Add("EINDDATUM", FieldType::Date);
  DeclareFields(
      klas, {DataField("VWK_ID", "Klas ID").Hidden(),
             DataField("VWK_CODE", "Klas code"),
             DataField("VWK_OMSCHRIJVING", "Omschrijving"),
             DataField("VWK_VESTIGINGSPLAATS_FK", "&Vestiging"),
             DataField("VWK_STANDAARDLOKAAL_FK", "Standaard &lokaal"),
             DataField("VWK_VAN", "Les van"),
             DataField("VWK_TOT", "Les tot"),
             DataField("VWK_MAXLEERLINGEN", "M&ax. cursisten"),
             DataField("VWK_VWOOPENKLAS_FK", "&Open klas"),
             DataField("VWK_FLAGS", "Vlaggen").Hidden(),
             DataField("VWK_KALENDEROMSCHRIJVING", "Memo inschrijvingsbewijs"),
             DataField("VWK_VRIJVELD1", "Vrij veld 1"),
             DataField("VWK_VRIJVELD2", "Vrij veld 2"),
             DataField("VWK_VRIJVELD3", "Vrij veld 3"),
             DataField("VWK_VRIJVELD4", "Vrij veld 4"),
             DataField("VWK_VRIJVELD5", "Vrij veld 5"),
             DataField("VWK_VRIJDATUM1", "Vrije datum 1"),
             DataField("VWK_VRIJDATUM2", "Vrije datum 2"),
             DataField("VWK_VRIJDATUM3", "Vrije datum 3"),
             DataField("VWK_VRIJDATUM4", "Vrije datum 4"),
             DataField("VWK_VRIJPARAM1_FKP", "Vrije parameter 1"),
             DataField("VWK_VRIJPARAM2_FKP", "Vrije parameter 2"),
             DataField("VWK_VRIJPARAM3_FKP", "Vrije parameter 3"),
             DataField("VWK_VRIJPARAM4_FKP", "Vrije parameter 4"),
             DataField("VWK_VRIJPARAM5_FKP", "Vrije parameter 5"),
             DataField("VP_VWOVESTIGINGSPLAATS_FK", "Davinci vestigingsplaats").Hidden(),
             LookupField("VP_CODE", "Vestiging", "VWK_VESTIGINGSPLAATS_FK", CDSSelectVestiging,
                         "VP_ID", "VP_CODE"),
             LookupField("VP_OMSCHRIJVING", "Vestiging naam", "VWK_VESTIGINGSPLAATS_FK",
                         CDSSelectVestiging, "VP_ID", "VP_NAAM"),
             LookupField("VP_ID", "Vestiging ID", "VWK_VESTIGINGSPLAATS_FK", CDSSelectVestiging,
                         "VP_ID", "VP_ID", FieldType::Integer)
                 .Hidden(),
             LookupField("LK_CODE", "Lokaal", "VWK_STANDAARDLOKAAL_FK", CDSSelectLokaal, "LK_ID",
                         "LK_CODE"),
             LookupField("LK_OMSCHRIJVING", "Lokaal omschrijving", "VWK_STANDAARDLOKAAL_FK",
                         CDSSelectLokaal, "LK_ID", "LK_OMSCHRIJVING"),
             LookupField("LK_ID", "Lokaal ID", "VWK_STANDAARDLOKAAL_FK", CDSSelectLokaal, "LK_ID",
                         "LK_ID", FieldType::Integer)
                 .Hidden(),
             BitField("VWK_AFGELAST", "Afgelast", "VWK_FLAGS", kBitAfgelast),
             BitField("VWK_HEEFTAFGELASTEIMV", "Heeft afgelaste modulevarianten", "VWK_FLAGS",
                      kBitHeeftAfgelasteIMV),
             BitField("VWK_INSCHRIJVENMAG", "&Inschrijven mag", "VWK_FLAGS", kBitInschrijvenMag),
             BitField("VWK_NOOITMELDEN", "Klas nooit &melden", "VWK_FLAGS", kBitNooitMelden),
             BitField("VWK_STAGES", "Stages mogelijk (klas tonen in dimonascherm)", "VWK_FLAGS",
                      kBitStages),
             BitField("VWK_TRAMVO", "Klas synchroniseren met Tramvo", "VWK_FLAGS", kBitTramvo)});
  klas.AfterOpen = [this](TQuilClientDataSet&) { KlasAfterOpen(); };
  klas.AfterScroll = [this](TQuilClientDataSet&) { KlasAfterScroll(); };
  klas.BeforeInsert = [this](TQuilClientDataSet&) { KlasBeforeInsert(); };
  klas.OnNewRecord = [this](TQuilClientDataSet&) { KlasNewRecord(); };
  klas.AfterInsert = [this](TQuilClientDataSet&) { KlasAfterInsert(); };
  klas.BeforePost = [this](TQuilClientDataSet&) { KlasBeforePost(); };
  klas.AfterPost = [this](TQuilClientDataSet&) { KlasAfterPost(); };
  klas.AfterCancel = [this](TQuilClientDataSet&) { KlasAfterCancel(); };
  klas.FieldByName("VWK_VESTIGINGSPLAATS_FK").OnChange = [this](TField& f) { VestigingChange(f); };
  klas.FieldByName("VWK_STANDAARDLOKAAL_FK").OnChange = [this](TField& f) {
    StandaardLokaalChange(f);
  };
  // A check box writes its bit through its own field.
  for (const char* name :
       {"VWK_FLAGS", "VWK_INSCHRIJVENMAG", "VWK_NOOITMELDEN", "VWK_STAGES", "VWK_TRAMVO"}) {
    klas.FieldByName(name).OnChange = [this](TField&) {
      FlagsChange(CDSVWOKlas.FieldByName("VWK_FLAGS"));
    };
  }

  // The lists of the institution.
  CDSSelectVestiging.ReadOnly = true;
  CDSSelectVestiging.GetParams().Add("IS_ID", FieldType::Integer);
  CDSSelectVestiging.AfterOpen = [this](TQuilClientDataSet&) { VestigingenAfterOpen(); };
  CDSSelectLokaal.ReadOnly = true;
  CDSSelectLokaal.GetParams().Add("IS_ID", FieldType::Integer);
  CDSSelectLesplaats.ReadOnly = true;
  CDSSelectLesplaats.GetParams().Add("IS_ID", FieldType::Integer);
  CDSSelectLesplaats.AfterOpen = [this](TQuilClientDataSet&) { ApplyLesplaatsFilter(); };
  CDSLesgevers.ReadOnly = true;
  CDSLesgevers.GetParams().Add("IS_ID", FieldType::Integer);
  CDSLesgevers.GetParams().Add("WERKDATUM", FieldType::Date);
  CDSLesgevers.BeforeOpen = [this](TQuilClientDataSet&) {
    if (CDSVWOKlas.Active() && !CDSVWOKlas.IsEmpty()) {
      CDSLesgevers.ParamByName("WERKDATUM")
          .SetAsDate(CDSVWOKlas.FieldByName("VWK_VAN").AsDateTime());
    }
  };
  CDSSelectOpenKlas.ReadOnly = true;
  CDSSelectOpenKlas.GetParams().Add("IS_ID", FieldType::Integer);
  CDSSelectOpenKlas.GetParams().Add("BEGINDATUM", FieldType::Date);
  CDSSelectOpenKlas.GetParams().Add("EINDDATUM", FieldType::Date);
  CDS_OmschrLabel.SetParamType("KLVVC");
  CDS_OmschrLabel.AfterOpen = [this](TQuilClientDataSet&) { OmschrLabelAfterOpen(); };
  CDSGetlesTijden.ReadOnly = true;
  CDSGetlesTijden.GetParams().Add("VWK_ID", FieldType::Integer);
  CDSDaVinciCommunicatie.ReadOnly = true;
  CDSDaVinciCommunicatie.GetParams().Add("VWK_ID", FieldType::Integer);
  CDSKlasIngModuleVar.ReadOnly = true;
  CDSKlasIngModuleVar.GetParams().Add("VWK_ID", FieldType::Integer);
  CDSSearchCursusNr.ReadOnly = true;
  CDSSearchCursusNr.GetParams().Add("IMV_ID", FieldType::Integer);
  CDSSearchCursusNr.GetParams().Add("IS_ID", FieldType::Integer);

  // The programme variants linked to the class, and those of its location.
  CDSVWOTrajectType.SetParamType("VWTT");
  TQuilClientDataSet& links = CDSKlasOpleidingen;
  links.IDField = "VKO_ID";
  links.ChangedByField = "VKO_VERANDERDDOOR";
  links.ChangedOnField = "VKO_VERANDERDOP";
  links.GetParams().Add("VWK_ID", FieldType::Integer);
  links.SetMasterdataSource(&DSVWOKlas);
  DeclareFields(
      links,
      {DataField("VOO_CODE", "Code"), DataField("VOO_OMSCHRIJVING", "Opleiding"),
       LookupField("VOO_TRAJECT", "Traject", "VOO_TRAJECT_FK", CDSVWOTrajectType, "P_ID", "P_CODE"),
       BitField("duaal", "Duaal", "CIO_FLAGS", 0), DataField("CIO_VAN", "Van"),
       DataField("CIO_TOT", "Tot"), DataField("CIO_DAVINCIKLAAR", "Klaar voor Davinci")});
  CDSINGVWOOpleidingen.GetParams().Add("VP_ID", FieldType::Integer);
  CDSINGVWOOpleidingen.SetMasterdataSource(&DSVWOKlas);

  // The top panel: title, location filter, course search, copy.
  PnlTop.Caption = "Klassen";
  LTitel.Caption = "Klassen";
  LCFilterVestiging.Caption = "Filter vestiging";
  LCFilterVestiging.ListSource = &DSFilterVestiging;
  LCFilterVestiging.KeyField = "VP_ID";
  LCFilterVestiging.ListFields = "VP_CODE;VP_NAAM";
  LCFilterVestiging.OnChange = [this] {
    const Variant key = LCFilterVestiging.KeyValue();
    vestigingFilter_ = key.IsNull() ? -1 : key.AsInteger();
    ApplyListFilter();
  };
  sbSearch.Action = &AZoekCursus;
  BtnCopyKlas.Action = &ACopyKlas;

  GridKlassen.DataSource = &DSVWOKlas;
  GridKlassen.Columns = {{"VWK_CODE", "", 15},
                         {"VWK_OMSCHRIJVING", "", 40},
                         {"VP_CODE", "", 5},
                         {"VWK_VAN", "", 10},
                         {"VWK_TOT", "", 10},
                         {"LK_CODE", "", 8},
                         {"VWK_MAXLEERLINGEN", "Max.", 5},
                         {"VWK_AFGELAST", "", 4}};

  // The pages.
  TSFiche.Caption = "&Fiche";
  TSOpleidingen.Caption = "Opleidingen";
  TSMemo.Caption = "Memo inschrijvingsbewijs";
  TSVrijeVelden.Caption = "Vrije velden";
  TSVrijeParameters.Caption = "Vrije parameters";
  PCKlas.OnChanging = [this] { PCKlasChanging(); };
  PCKlas.OnChange = [this] { PCKlasChange(); };

  BindField(EdtCode, DSVWOKlas, "VWK_CODE", "Klas &code");
  BindField(EdtOmschrijving, DSVWOKlas, "VWK_OMSCHRIJVING", "&Omschrijving");
  BindField(LCVestiging, DSVWOKlas, "VWK_VESTIGINGSPLAATS_FK");
  OfferList(LCVestiging, DSSelectVestiging, "VP_ID", "VP_CODE;VP_NAAM");
  BindField(LCLokaal, DSVWOKlas, "VWK_STANDAARDLOKAAL_FK");
  OfferList(LCLokaal, DSSelectLokaal, "LK_ID", "LK_CODE;LK_OMSCHRIJVING");
  BindField(EdtVan, DSVWOKlas, "VWK_VAN");
  BindField(EdtTot, DSVWOKlas, "VWK_TOT");
  BindField(EdtMaxLeerlingen, DSVWOKlas, "VWK_MAXLEERLINGEN");
  BindField(LCOpenKlas, DSVWOKlas, "VWK_VWOOPENKLAS_FK");
  OfferList(LCOpenKlas, DSSelectOpenKlas, "VOK_ID", "VOK_CODE;VOK_OMSCHRIJVING");
  BindField(CBInschrijvenMag, DSVWOKlas, "VWK_INSCHRIJVENMAG");
  BindField(CBNooitMelden, DSVWOKlas, "VWK_NOOITMELDEN");
  BindField(CBStages, DSVWOKlas, "VWK_STAGES");
  BindField(CBTramvo, DSVWOKlas, "VWK_TRAMVO");
  BindField(CBAfgelast, DSVWOKlas, "VWK_AFGELAST").ReadOnly = true;
  BindField(CBHeeftAfgelasteIMV, DSVWOKlas, "VWK_HEEFTAFGELASTEIMV").ReadOnly = true;

  GridOpleidingen.DataSource = &DSKlasOpleidingen;
  GridOpleidingen.Columns = {{"VOO_CODE", "", 8},     {"VOO_OMSCHRIJVING", "", 40},
                             {"VOO_TRAJECT", "", 10}, {"duaal", "", 4},
                             {"CIO_VAN", "", 10},     {"CIO_TOT", "", 10}};
  SBNew.Action = &ANewKlasOpleiding;
  SBDelete.Action = &ADeleteKlasOpleiding;

  BindField(EdtKalenderOmschrijving, DSVWOKlas, "VWK_KALENDEROMSCHRIJVING");

  // The free fields: a label per field, named as the institution's captions name them.
  for (int n = 1; n <= 5; ++n) {
    auto& label = Add<TLabel>("VELD" + std::to_string(n), &TSVrijeVelden);
    auto& edit = Add<TDBEdit>("EdtVrijVeld" + std::to_string(n), &TSVrijeVelden);
    BindField(edit, DSVWOKlas, "VWK_VRIJVELD" + std::to_string(n));
    label.Caption = "Vrij veld " + std::to_string(n);
    label.FocusControl = &edit;
  }
  for (int n = 1; n <= 4; ++n) {
    auto& label = Add<TLabel>("DAT" + std::to_string(n), &TSVrijeVelden);
    auto& edit = Add<TDBEdit>("EdtVrijDatum" + std::to_string(n), &TSVrijeVelden);
    BindField(edit, DSVWOKlas, "VWK_VRIJDATUM" + std::to_string(n));
    label.Caption = "Vrije datum " + std::to_string(n);
    label.FocusControl = &edit;
  }
  for (int n = 1; n <= 5; ++n) {
    auto& label = Add<TLabel>("PARM" + std::to_string(n), &TSVrijeParameters);
    auto& combo = Add<TDBLookupCombo>("LCVrijParam" + std::to_string(n), &TSVrijeParameters);
    BindField(combo, DSVWOKlas, "VWK_VRIJPARAM" + std::to_string(n) + "_FKP");
    combo.ListSource = DSVrijParam[n - 1];
    combo.KeyField = "P_ID";
    combo.ListField = "P_CODE;P_OMSCHRIJVING";
    label.Caption = "Vrije parameter " + std::to_string(n);
    label.FocusControl = &combo;
  }
}

// --- screen events ----------------------------------------------------------------------------

void TVWOKlasForm::QuilDBFormInitDataModule() {
  classReports_ = GetConnection().GetQuilDBParams().Get(kClassRapportenParam).AsBoolean();
}

void TVWOKlasForm::QuilDBFormCreate() {
  for (TReportDef& report : ReportDefs) {
    if (report.DisplayName.find("(class)") != std::string::npos) report.Visible = classReports_;
  }
  EdtCode.Color = AdminPrefs().DavinciKleur();
  SetDateParams();
}

void TVWOKlasForm::QuilDBFormShow() {
  PCKlas.SetActivePage(TSFiche);
}

void TVWOKlasForm::QuilDBFormSetMasterBrowser(TDataSource* master) {
  instelling_ = FindDataSourceWithField(master, "IS_ID");
  if (instelling_ == nullptr) RaiseClientError("Instelling niet gevonden");
  TDataSource* school = FindDataSourceWithField(master, "SC_ID");
  if (school == nullptr) RaiseClientError("School niet gevonden");
  schoolField_ = &school->DataSet()->FieldByName("SC_ID");
  afgelast_ = afNietAfgelast;
  vestigingGewijzigd_ = false;
  LinkToMaster(CDSVWOKlas);
  OpenLists();
}

void TVWOKlasForm::OpenLists() {
  for (TQuilClientDataSet* list :
       {&CDSSelectLokaal, &CDSSelectVestiging, &CDSSelectLesplaats, &CDSLesgevers,
        &CDSSelectOpenKlas, static_cast<TQuilClientDataSet*>(&CDS_OmschrLabel)}) {
    list->SetMasterdataSource(instelling_);
  }
  for (TInstellingParamClientDataset* list : CDSVrijParam) list->SetMasterdataSource(instelling_);
  CDSSelectVestiging.Open();
  CDSSelectLokaal.Open();
  CDSSelectLesplaats.Open();
  CDSSelectOpenKlas.Open();
  CDS_OmschrLabel.Open();
  for (TInstellingParamClientDataset* list : CDSVrijParam) list->Open();
  CDSVWOTrajectType.Open();
  CDSVWOKlas.Open();
}

void TVWOKlasForm::QuilDBFormSaveSettings(TSettingsFile& settings) {
  settings.WriteInteger("Other", "Options", options_);
  SavePeriode(settings, periode_, periodeVan_, periodeTot_);
}

void TVWOKlasForm::QuilDBFormRestoreSettings(TSettingsFile& settings) {
  options_ = static_cast<int>(settings.ReadInteger("Other", "Options", 0));
  int kind = periode_;
  TDateTime van = periodeVan_, tot = periodeTot_;
  RestorePeriode(settings, kind, van, tot);
  if (kind != periode_ || van != periodeVan_ || tot != periodeTot_) {
    periode_ = kind;
    periodeVan_ = van;
    periodeTot_ = tot;
    SetDateParams();
  }
  if (CDSVWOKlas.Active()) {
    CDSVWOKlas.Close();
    CDSVWOKlas.Open();
  }
}

void TVWOKlasForm::QuilDBFormGetPrintParams(const std::string& reportFile, TPrintParams& params) {
  (void)reportFile;
  params.SetValue("VP_ID", std::to_string(vestigingFilter_));
  params.SetValue("Begindatum", DateText(beginDatum_));
  params.SetValue("EindDatum", DateText(eindDatum_));
}

void TVWOKlasForm::QuilDBFormCanEdit(TQuilClientDataSet& dataset, bool& allow) {
  if (&dataset == &CDSVWOKlas && PCKlas.ActivePage() == &TSOpleidingen) allow = false;
  if (&dataset == &CDSKlasOpleidingen) allow = false;
}

void TVWOKlasForm::QuilDBFormCanInsert(TQuilClientDataSet& dataset, bool& allow) {
  // Links come and go through "+" and "-".
  if (&dataset == &CDSKlasOpleidingen) allow = false;
  if (&dataset == &CDSVWOKlas && PCKlas.ActivePage() == &TSOpleidingen) allow = false;
}

void TVWOKlasForm::QuilDBFormCanDelete(TQuilClientDataSet& dataset, bool& allow) {
  if (&dataset == &CDSVWOKlas) allow = allow && magVerwijderen_;
  if (&dataset == &CDSKlasOpleidingen) allow = false;
}

// --- period and filters -----------------------------------------------------------------------

void TVWOKlasForm::SetKlassenPeriode(int kind) {
  periode_ = kind;
  SetDateParams();
}

void TVWOKlasForm::SetDateParams() {
  const quil::AdminPrefs& prefs = AdminPrefs();
  const int werkJaar = prefs.WerkJaar();
  switch (periode_) {
    case kpSchooljaar:
      beginDatum_ = prefs.StartOfWerkJaar();
      eindDatum_ = prefs.EndOfWerkJaar();
      break;
    case kpSemester1:
      beginDatum_ = prefs.StartOfWerkJaar();
      eindDatum_ = EncodeDate(werkJaar + 1, 1, 31);
      break;
    case kpSemester2:
      beginDatum_ = EncodeDate(werkJaar + 1, 2, 1);
      eindDatum_ = prefs.EndOfWerkJaar();
      break;
    case kpHuidig:
      beginDatum_ = prefs.WerkDatum();
      eindDatum_ = prefs.WerkDatum();
      break;
    case kpPeriode:
      beginDatum_ = periodeVan_;
      eindDatum_ = periodeTot_;
      break;
    case kpVolgendSchooljaar:
      beginDatum_ = IncYear(prefs.StartOfWerkJaar(), 1);
      eindDatum_ = IncYear(prefs.EndOfWerkJaar(), 1);
      break;
    case kpVorigSchooljaar:
      beginDatum_ = IncYear(prefs.StartOfWerkJaar(), -1);
      eindDatum_ = IncYear(prefs.EndOfWerkJaar(), -1);
      break;
    default:
      break;
  }
  for (TQuilClientDataSet* list : {&CDSSelectOpenKlas, &CDSVWOKlas}) {
    const bool wasOpen = list->Active();
    list->Close();
    list->ParamByName("BEGINDATUM").SetAsDate(beginDatum_);
    list->ParamByName("EINDDATUM").SetAsDate(eindDatum_);
    if (wasOpen) list->Open();
  }
  UpdateTitel();
}

void TVWOKlasForm::UpdateTitel() {
  LTitel.Caption =
      beginDatum_ == eindDatum_
          ? Format("Klassen op datum %s", FormatDateTime("dd/mm/yyy", beginDatum_))
          : Format("Klassen gedurende periode %s tot %s", FormatDateTime("dd/mm/yyy", beginDatum_),
                   FormatDateTime("dd/mm/yyy", eindDatum_));
}

void TVWOKlasForm::PeriodeExecute(int kind) {
  if (kind == kpPeriode) {
    auto dialog = std::make_unique<TDateRangeForm>(Application());
    dialog->Caption = "Klassen in periode";
    dialog->SetDatum(0, beginDatum_);
    dialog->SetDatum(1, eindDatum_);
    if (dialog->ShowModal() != mrOk) return;
    periodeVan_ = dialog->GetDatum(0);
    periodeTot_ = dialog->GetDatum(1);
  }
  SetKlassenPeriode(kind);
}

void TVWOKlasForm::AfgelastExecute(int filter) {
  afgelast_ = filter;
  ApplyListFilter();
}

void TVWOKlasForm::ApplyListFilter() {
  if (!CDSVWOKlas.Active() || enkeleKlas_) return;
  std::string text;
  if (vestigingFilter_ >= 0) text = Format("VWK_VESTIGINGSPLAATS_FK=%d", vestigingFilter_);
  if (!text.empty()) text += " AND ";
  text += afgelast_ == afNietAfgelast ? "(VWK_AFGELAST = FALSE)" : "(VWK_AFGELAST = True)";
  CDSVWOKlas.SetFiltered(false);
  CDSVWOKlas.SetFilter(text);
  CDSVWOKlas.SetFiltered(true);
}

void TVWOKlasForm::ApplyLokaalFilter(int vpId) {
  std::string text;
  if (vpId > 0) {
    if (AdminPrefs().VWOToonAlleLesplaatsen()) {
      const Variant davinci =
          CDSSelectVestiging.Lookup("VP_ID", Variant(vpId), "VP_VWOVESTIGINGSPLAATS_FK");
      text = Format("(VP_VWOVESTIGINGSPLAATS_FK=%d)", davinci.AsInteger());
    } else {
      text = Format("(LK_VESTIGINGSPLAATS_FK=%d)", vpId);
    }
  }
  if (CDSSelectLokaal.Active()) CDSSelectLokaal.MaybeApplyFilter(text);
}

void TVWOKlasForm::ApplyLesplaatsFilter() {
  if (!CDSSelectLesplaats.Active()) return;
  CDSSelectLesplaats.SetFiltered(false);
  std::string text;
  if (CDSVWOKlas.Active() && !CDSVWOKlas.IsEmpty()) {
    const TField& davinci = CDSVWOKlas.FieldByName("VP_VWOVESTIGINGSPLAATS_FK");
    const TField& vestiging = CDSVWOKlas.FieldByName("VWK_VESTIGINGSPLAATS_FK");
    if (AdminPrefs().VWOToonAlleLesplaatsen()) {
      if (!davinci.IsNull()) text = "(VP_VWOVESTIGINGSPLAATS_FK = " + davinci.AsString() + ")";
    } else if (!vestiging.IsNull()) {
      text = "(VP_ID = " + vestiging.AsString() + ")";
    }
  }
  CDSSelectLesplaats.SetFilter(text);
  CDSSelectLesplaats.SetFiltered(!text.empty());
}

// --- the class list ---------------------------------------------------------------------------

void TVWOKlasForm::KlasAfterOpen() {
  afgelast_ = afNietAfgelast;
  ApplyListFilter();
}

void TVWOKlasForm::KlasAfterScroll() {
  if (CDSVWOKlas.State() == DataSetState::Insert) return;
  UpdateNooitMelden();
  UpdateMagVerwijderen();
  ApplyLesplaatsFilter();
  ApplyLokaalFilter(
      CDSVWOKlas.IsEmpty() ? 0 : CDSVWOKlas.FieldByName("VWK_VESTIGINGSPLAATS_FK").AsInteger());
}

void TVWOKlasForm::UpdateNooitMelden() {
  // Once stored, a class that is never reported stays so.
  const bool stored = CDSVWOKlas.Active() && !CDSVWOKlas.IsEmpty() &&
                      CDSVWOKlas.State() != DataSetState::Insert &&
                      HasBit(CDSVWOKlas.FieldByName("VWK_FLAGS").AsLargeInt(), kBitNooitMelden);
  CBNooitMelden.Enabled = !stored;
}

void TVWOKlasForm::UpdateMagVerwijderen() {
  magVerwijderen_ = false;
  CDSDaVinciCommunicatie.Close();
  if (!CDSVWOKlas.Active() || CDSVWOKlas.IsEmpty()) return;
  CDSDaVinciCommunicatie.ParamByName("VWK_ID").SetAsInteger(KlasID());
  CDSDaVinciCommunicatie.Open();
  magVerwijderen_ = CDSDaVinciCommunicatie.IsEmpty();
}

void TVWOKlasForm::KlasBeforeInsert() {
  PCKlas.SetActivePage(TSFiche);
}

void TVWOKlasForm::KlasNewRecord() {
  if (instelling_ != nullptr) {
    CDSVWOKlas.FieldByName("VWK_INSTELLING_FK")
        .SetValue(instelling_->DataSet()->FieldByName("IS_ID").Value());
  }
}

void TVWOKlasForm::KlasAfterInsert() {
  TField& flags = CDSVWOKlas.FieldByName("VWK_FLAGS");
  if (flags.IsNull()) {
    TField* isFlags =
        instelling_ != nullptr ? instelling_->DataSet()->FindField("IS_FLAGS") : nullptr;
    const bool standaard = isFlags != nullptr && (isFlags->AsInteger() & 2) != 0;
    flags.SetAsInteger(standaard ? kFlagsInstelling : 0);
  }
  CBNooitMelden.Enabled = true;
}

void TVWOKlasForm::VestigingChange(TField& field) {
  oudeVestiging_ = field.OldValue().AsInteger();
  nieuweVestiging_ = field.AsInteger();
  vestigingGewijzigd_ = true;
  ApplyLokaalFilter(nieuweVestiging_);
}

void TVWOKlasForm::StandaardLokaalChange(TField& field) {
  if (CDSVWOKlas.State() != DataSetState::Insert || field.IsNull()) return;
  const Variant plaatsen = CDSSelectLokaal.Lookup("LK_ID", field.Value(), "LK_PLAATSEN");
  if (plaatsen.AsInteger() > 0) {
    CDSVWOKlas.FieldByName("VWK_MAXLEERLINGEN").SetAsInteger(plaatsen.AsInteger());
  }
}

void TVWOKlasForm::KlasBeforePost() {
  TQuilClientDataSet& klas = CDSVWOKlas;
  if (vestigingGewijzigd_) CheckVestigingWijziging();
  TField& flags = klas.FieldByName("VWK_FLAGS");
  if (HasBit(flags.AsLargeInt(), kBitNooitMelden) && CBNooitMelden.Enabled) {
    const int antwoord = QuestionDlg("Klas nooit melden", kNooitMeldenVraag, TMsgDlgType::mtWarning,
                                     {{6, "Ja"}, {2, "Neen"}}, 2);
    if (antwoord == 2) klas.FieldByName("VWK_NOOITMELDEN").SetAsBoolean(false);
  }
  if (klas.FieldByName("VWK_VAN").AsDateTime() > klas.FieldByName("VWK_TOT").AsDateTime()) {
    SetFocus(EdtVan);
    RaiseClientError(kVanVoorTot);
  }
  ApplyLokaalFilter(0);
}

void TVWOKlasForm::KlasAfterPost() {
  vestigingGewijzigd_ = false;
  UpdateNooitMelden();
  ApplyLokaalFilter(CDSVWOKlas.FieldByName("VWK_VESTIGINGSPLAATS_FK").AsInteger());
}

void TVWOKlasForm::KlasAfterCancel() {
  vestigingGewijzigd_ = false;
}

void TVWOKlasForm::FlagsChange(TField& field) {
  if ((CDSVWOKlas.Tag & kTagGeenControle) != 0) return;
  const int64_t flags = field.AsLargeInt();
  if (HasBit(flags, kBitInschrijvenMag) && !HasBit(flags, kBitNooitMelden)) CheckInschrijven();
}

void TVWOKlasForm::VestigingenAfterOpen() {
  CopyDataToDataset(CDSSelectVestiging, CDSFilterVestiging);
}

void TVWOKlasForm::OmschrLabelAfterOpen() {
  for (CDS_OmschrLabel.First(); !CDS_OmschrLabel.Eof(); CDS_OmschrLabel.Next()) {
    const std::string code = std::string(Trim(CDS_OmschrLabel.FieldByName("P_CODE").AsString()));
    TLabel* label = nullptr;
    for (TTabSheet* page : {&TSVrijeVelden, &TSVrijeParameters}) {
      for (TControl* child : page->Children()) {
        auto* candidate = dynamic_cast<TLabel*>(child);
        if (candidate != nullptr && SameText(candidate->Name(), code)) label = candidate;
      }
      if (label != nullptr) break;
    }
    if (label == nullptr) RaiseClientError(kLabelNietGevonden, code);
    label->Caption = CDS_OmschrLabel.FieldByName("P_Omschrijving").AsString();
    if (label->FocusControl != nullptr) label->FocusControl->Caption = label->Caption;
  }
}

// --- programme variants -----------------------------------------------------------------------

void TVWOKlasForm::PCKlasChanging() {
  if (CDSVWOKlas.Active() && CDSVWOKlas.State() != DataSetState::Browse) Abort();
}

void TVWOKlasForm::PCKlasChange() {
  if (PCKlas.ActivePage() == &TSOpleidingen) {
    OpenOpleidingen();
  } else {
    CloseOpleidingen();
  }
}

void TVWOKlasForm::OpenIngOpleidingen() {
  if (!CDSINGVWOOpleidingen.Active()) CDSINGVWOOpleidingen.Open();
}

void TVWOKlasForm::OpenOpleidingen() {
  if (!CDSVWOKlas.Active()) return;
  OpenIngOpleidingen();
  CDSKlasOpleidingen.Open();
}

void TVWOKlasForm::CloseOpleidingen() {
  CDSKlasOpleidingen.Close();
  CDSINGVWOOpleidingen.Close();
}

void TVWOKlasForm::CheckInschrijven() {
  OpenIngOpleidingen();
  CDSKlasOpleidingen.Open();
  CDSKlasOpleidingen.DisableControls();
  ScopeExit restore([this] {
    CDSKlasOpleidingen.Close();
    CDSKlasOpleidingen.EnableControls();
  });
  for (CDSKlasOpleidingen.First(); !CDSKlasOpleidingen.Eof(); CDSKlasOpleidingen.Next()) {
    const std::string klaar = CDSKlasOpleidingen.FieldByName("CIO_DAVINCIKLAAR").AsString();
    if (!klaar.empty() && klaar == "+") continue;
    CDSVWOKlas.FieldByName("VWK_INSCHRIJVENMAG").SetAsBoolean(false);
    RaiseClientError(kNietKlaar);
  }
}

void TVWOKlasForm::CheckVestigingWijziging() {
  OpenIngOpleidingen();
  CDSKlasOpleidingen.Close();
  CDSKlasOpleidingen.Open();
  ScopeExit close([this] {
    CDSKlasOpleidingen.Close();
    CDSINGVWOOpleidingen.Close();
  });
  if (!CDSKlasOpleidingen.IsEmpty() && oudeVestiging_ != nieuweVestiging_) {
    const Variant oud =
        CDSFilterVestiging.Lookup("VP_ID", Variant(oudeVestiging_), "VP_VWOVESTIGINGSPLAATS_FK");
    const Variant nieuw =
        CDSFilterVestiging.Lookup("VP_ID", Variant(nieuweVestiging_), "VP_VWOVESTIGINGSPLAATS_FK");
    if (!(oud == nieuw)) {
      SetFocus(LCVestiging);
      RaiseClientError(kAndereDavinciVestiging);
    }
  }
  {
    BookmarkGuard position(CDSKlasOpleidingen);
    DisableControlsGuard controls(CDSKlasOpleidingen);
    const Variant klasDavinci = CDSVWOKlas.FieldByName("VP_VWOVESTIGINGSPLAATS_FK").Value();
    for (CDSKlasOpleidingen.First(); !CDSKlasOpleidingen.Eof(); CDSKlasOpleidingen.Next()) {
      if (!(klasDavinci == CDSKlasOpleidingen.FieldByName("CIO_VWOVESTIGINGSPLAATS_FK").Value())) {
        SetFocus(LCVestiging);
        RaiseClientError(kVestigingOpleiding);
      }
    }
  }
  vestigingGewijzigd_ = false;
}

std::unique_ptr<TVWOSelectIngopleidingForm> TVWOKlasForm::NewSelectOpleidingDialog() {
  auto dialog = std::make_unique<TVWOSelectIngopleidingForm>(Application());
  OpenIngOpleidingen();
  TQuilClientDataSet& varianten = CDSINGVWOOpleidingen;
  varianten.SetFiltered(false);
  varianten.SetFilter("");
  if (CDSVWOKlas.Active() && !CDSVWOKlas.IsEmpty()) {
    varianten.SetFilter(Format("(CIO_VAN <= '%s') AND (CIO_TOT >= '%s')",
                               CDSVWOKlas.FieldByName("VWK_TOT").AsString(),
                               CDSVWOKlas.FieldByName("VWK_VAN").AsString()));
  }
  varianten.SetFiltered(true);
  varianten.Last();
  varianten.First();
  dialog->Init(GetConnection(), varianten);
  return dialog;
}

void TVWOKlasForm::ANewKlasOpleidingExecute() {
  ScopeExit unfilter([this] {
    CDSINGVWOOpleidingen.SetFilter("");
    CDSINGVWOOpleidingen.SetFiltered(false);
  });
  std::unique_ptr<TVWOSelectIngopleidingForm> dialog = NewSelectOpleidingDialog();
  if (dialog->ShowModal() != mrOk || dialog->GetCIOID() == -1) return;
  const int cioId = dialog->GetCIOID();
  TQuilClientDataSet& links = CDSKlasOpleidingen;
  DisableControlsGuard controls(links);
  if (links.Locate("VKO_INGOPLEIDINGVARIANT_FK", Variant(cioId))) {
    ShowMessage(kReedsGekoppeld);
    return;
  }
  try {
    links.Append();
    links.FieldByName("VKO_INGOPLEIDINGVARIANT_FK").SetAsInteger(cioId);
    links.FieldByName("VKO_KLAS_FK").SetAsInteger(KlasID());
    links.Post();
    links.Close();
    links.Open();
  } catch (...) {
    // Nothing of the failed link stays: the list shows what the server holds.
    if (links.State() == DataSetState::Insert) links.Cancel();
    links.CancelUpdates();
    links.Close();
    links.Open();
    throw;
  }
}

void TVWOKlasForm::ADeleteKlasOpleidingExecute() {
  CDSKlasOpleidingen.Delete();
}

// --- course number search ---------------------------------------------------------------------

void TVWOKlasForm::AZoekCursusExecute() {
  std::string tekst;
  if (!InputQuery("Geef het cursusnummer in...", "Cursusnummer:", tekst) || tekst.empty()) return;
  const int64_t nummer = StrToIntDef("$" + tekst, 0);
  if (nummer <= 0 || nummer > INT32_MAX) RaiseClientError("Ongeldig cursusnummer: %s", tekst);
  CDSSearchCursusNr.RefreshParamPair(
      "IS_ID", "IMV_ID", instelling_->DataSet()->FieldByName("IS_ID").Value(), Variant(nummer));
  if (CDSSearchCursusNr.IsEmpty()) {
    RaiseClientError("Er zijn voor het geselecteerde schooljaar geen cursussen beschikbaar");
  }
  int jaar, maand, dag;
  DecodeDate(beginDatum_, jaar, maand, dag);
  if (!CDSSearchCursusNr.Locate("IMV_ID", Variant(nummer))) {
    RaiseClientError("Cursusnummer %s werd niet gevonden in schooljaar %d", tekst, jaar);
  }
  const Variant klas = CDSSearchCursusNr.FieldByName("VWK_ID").Value();
  bool gevonden = CDSVWOKlas.Locate("VWK_ID", klas);
  if (!gevonden && periode_ != kpSchooljaar) {
    SetKlassenPeriode(kpSchooljaar);
    gevonden = CDSVWOKlas.Locate("VWK_ID", klas);
  }
  if (!gevonden)
    RaiseClientError("Kon cursusnummer %s niet vinden in de getoonde lijst", tekst, jaar);
}

// --- actions ----------------------------------------------------------------------------------

bool TVWOKlasForm::Browsing() const {
  return CDSVWOKlas.Active() && CDSVWOKlas.State() == DataSetState::Browse && !CDSVWOKlas.IsEmpty();
}

bool TVWOKlasForm::Bruikbaar() const {
  return CDSVWOKlas.Active() && !CDSVWOKlas.IsEmpty() &&
         !CDSVWOKlas.FieldByName("VWK_AFGELAST").AsBoolean() &&
         !CDSVWOKlas.FieldByName("VWK_HEEFTAFGELASTEIMV").AsBoolean();
}

bool TVWOKlasForm::DavinciRechten() const {
  // Change, add or delete on this screen.
  return (HasRight(kRightChange) || HasRight(kRightInsert) || HasRight(kRightDelete)) &&
         CDSVWOKlas.Active() && !CDSVWOKlas.IsEmpty();
}

int TVWOKlasForm::KlasID() const {
  return CDSVWOKlas.FieldByName("VWK_ID").AsInteger();
}

std::unique_ptr<TVWOLesUitReceptDialoog> TVWOKlasForm::NewReceptDialog() {
  auto dialog = std::make_unique<TVWOLesUitReceptDialoog>(*this);
  const bool klas = CDSVWOKlas.Active() && !CDSVWOKlas.IsEmpty();
  ApplyLokaalFilter(klas ? CDSVWOKlas.FieldByName("VWK_VESTIGINGSPLAATS_FK").AsInteger() : 0);
  CDSLesgevers.Close();
  CDSLesgevers.Open();
  ApplyLesplaatsFilter();
  dialog->Lokalen = &DSSelectLokaal;
  dialog->LesGevers = &DSLesgevers;
  dialog->Lesplaatsen = &DSSelectLesplaats;
  if (klas) {
    dialog->DoelID = KlasID();
    dialog->SetDatum(1, CDSVWOKlas.FieldByName("VWK_VAN").AsDateTime());
    dialog->SetDatum(2, CDSVWOKlas.FieldByName("VWK_TOT").AsDateTime());
    const TField& lokaal = CDSVWOKlas.FieldByName("VWK_STANDAARDLOKAAL_FK");
    dialog->StandaardLokaal = lokaal.IsNull() ? -1 : lokaal.AsInteger();
  }
  dialog->StandaardLesplaats = -1;
  return dialog;
}

void TVWOKlasForm::ALesmomentReceptExecute() {
  ScopeExit unfilter([this] { CDSSelectLokaal.SetFiltered(false); });
  std::unique_ptr<TVWOLesUitReceptDialoog> dialog = NewReceptDialog();
  dialog->ShowModal();
}

void TVWOKlasForm::ACheckLestijdenExecute() {
  CheckVWOLesTijden(CDSGetlesTijden, KlasID());
}

void TVWOKlasForm::AMemoFromlesmomentExecute() {
  ExecuteJob(kJobKlasMemo, -1, JobData{{Variant(KlasID())}});
  CDSVWOKlas.Refresh();
}

void TVWOKlasForm::ALesdagenExecute() {
  ExecuteJob(kJobLesdagen, 0, JobData{{Variant(1), Variant(KlasID())}});
}

void TVWOKlasForm::CopyLokaal(int kind) {
  const std::string result =
      ExecuteJob(kJobLokaalNaarLessen, -1,
                 JobData{{Variant(kind), Variant(KlasID()),
                          Variant(CDSVWOKlas.FieldByName("VWK_STANDAARDLOKAAL_FK").AsInteger())}});
  ShowMessage(result.empty() ? kLokaalGekopieerd : result);
}

void TVWOKlasForm::ACalcIMVAantalLeerlingenExecute() {
  CDSKlasIngModuleVar.Close();
  CDSKlasIngModuleVar.ParamByName("VWK_ID").SetAsInteger(KlasID());
  CDSKlasIngModuleVar.Open();
  TIDList ids;
  for (CDSKlasIngModuleVar.First(); !CDSKlasIngModuleVar.Eof(); CDSKlasIngModuleVar.Next()) {
    ids.Add(CDSKlasIngModuleVar.FieldByName("IMV_ID").AsLargeInt());
  }
  CDSKlasIngModuleVar.Close();
  if (ids.Count() > 0) {
    ExecuteJob(kJobAantalLeerlingen, -1, JobData{{Variant(ids.GetAsString())}});
  }
}

void TVWOKlasForm::ACommDavinciExecute() {
  DavinciCommunicatieRequest(*this, "Davinci communicatie voor klas %s %s",
                             {CDSVWOKlas.FieldByName("VWK_CODE").AsString(),
                              CDSVWOKlas.FieldByName("VWK_OMSCHRIJVING").AsString()},
                             "DSPDavinciKlas", "VWK_ID=" + std::to_string(KlasID()));
}

void TVWOKlasForm::ACommDavinciCursistExecute() {
  DavinciCommunicatieRequest(
      *this, "Davinci cursisten communicatie voor klas %s %s",
      {CDSVWOKlas.FieldByName("VWK_CODE").AsString(),
       CDSVWOKlas.FieldByName("VWK_OMSCHRIJVING").AsString()},
      "DSPDavinciKlasCursisten",
      "VWK_ID=" + std::to_string(KlasID()) + ",SC_ID=" + std::to_string(schoolField_->AsInteger()));
}

namespace frmVWOKlas {

void Initialization() {
  RegisterScreenClass("TVWOKlasForm", FactoryOf<TVWOKlasForm>());
  RegisterDialogClass("TDateRangeForm", "TVWOKlasForm",
                      [](TQuilDBForm& opener) -> std::unique_ptr<TQuilForm> {
                        auto dialog = std::make_unique<TDateRangeForm>(opener.Application());
                        dialog->Caption = "Klassen in periode";
                        return dialog;
                      });
  RegisterDialogClass("TVWOLesUitReceptDialoog", "TVWOKlasForm",
                      [](TQuilDBForm& opener) -> std::unique_ptr<TQuilForm> {
                        return dynamic_cast<TVWOKlasForm&>(opener).NewReceptDialog();
                      });
  // The Davinci calls of the current class, as ACommDavinci shows them.
  RegisterDialogClass(
      "TDepartementCallsDialog", "TVWOKlasForm",
      [](TQuilDBForm& opener) -> std::unique_ptr<TQuilForm> {
        auto& klas = dynamic_cast<TVWOKlasForm&>(opener);
        auto dialog =
            std::make_unique<TDepartementCallsDialog>(opener.Application(), DavinciCallTexts());
        dialog->SetHeader("Davinci communicatie voor klas %s %s",
                          {klas.CDSVWOKlas.FieldByName("VWK_CODE").AsString(),
                           klas.CDSVWOKlas.FieldByName("VWK_OMSCHRIJVING").AsString()});
        dialog->InitData(opener.GetConnection(), "DSPDavinciKlas",
                         "VWK_ID=" + klas.CDSVWOKlas.FieldByName("VWK_ID").AsString());
        return dialog;
      });
  RegisterDialogClass("TVWOSelectIngopleidingForm", "TVWOKlasForm",
                      [](TQuilDBForm& opener) -> std::unique_ptr<TQuilForm> {
                        return dynamic_cast<TVWOKlasForm&>(opener).NewSelectOpleidingDialog();
                      });
}

}  // namespace frmVWOKlas

}  // namespace kavel

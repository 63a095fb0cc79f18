#include "modulevariants/frmVWOIngModuleVariant.h"

#include <array>
#include <cmath>
#include <cstdio>
#include <initializer_list>
#include <memory>
#include <stdexcept>

#include "core/ModuleClasses.h"
#include "host/base/ScopeExit.h"
#include "host/data/FieldDeclarations.h"
#include "host/data/Guards.h"
#include "host/domain/DavinciCommunicatie.h"
#include "host/domain/Departementconst.h"
#include "host/forms/AdminPrefs.h"
#include "host/forms/Dlgdepartementcalls.h"
#include "modulevariants/dlgVWOAnnuleerIMV.h"
#include "planning/dlgVWOLesmomentUitRecept.h"
#include "planning/vwochecks.h"

namespace kavel {

using namespace quil;

namespace {

constexpr const char* kClassName = "TVWOIngModuleVariantForm";

// IMV_FLAGS bits.
constexpr int kBitGebundeld = 1;
constexpr int kBitGeenEducatiefVerlof = 2;
constexpr int kBitToegewezen = 3;
constexpr int kBitOpleidingskompas = 4;
//! A first module variant: no educational leave, shown in the training compass.
constexpr int kEersteFlags = (1 << kBitGeenEducatiefVerlof) | (1 << kBitOpleidingskompas);
//! VWK_FLAGS bit 25: the class is never reported.
constexpr int kBitKlasNooitMelden = 25;
//! Bit 0 of the class list's Tag: the module variant screen marks the class, no checks there.
constexpr int kTagGeenControle = 1;

// Host job types.
constexpr int kJobRegistratiemoment = 316;
constexpr int kJobDoc3B = 325;
constexpr int kJobLesdagen = 352;
constexpr int kJobAnnuleer = 364;
constexpr int kJobAfstandsmomenten = 368;

//! The host's database parameter that treats a cancellation date before the start as one during
//! the course: the second text, kind 1.
constexpr const char* kParamAfgelastAltijdLopend = "IMVAFGELASTALTIJDLOPEND";

constexpr const char* kGeenKlas = "Kon de VWOKlas ID niet bepalen";
constexpr const char* kGeenSchool = "Kon de school niet bepalen";
constexpr const char* kGeenVestiging = "Kon de vestigingsplaats van de klas niet bepalen";
constexpr const char* kDavinciDatum =
    "Davinci geldt pas voor cursussen waarvan de registratiedatum valt na %s";
constexpr const char* kLesVanTot = "De \"les van\" datum moet voor de \"les tot\" datum liggen.";
constexpr const char* kDavinciVanTot =
    "De \"Davinci van\" datum moet voor de \"Davinci tot\" datum liggen.";
constexpr const char* kAfgelastVoorStart =
    "De aflasdatum valt voor de startdatum van de cursus.\r\nHierdoor zullen alle loopbanen en "
    "participaties die gekoppeld zijn aan deze cursus verwijderd worden.";
constexpr const char* kAfgelastLopend =
    "Volgende acties zullen automatisch worden uitgevoerd:\r\n-Voor alle loopbanen:\r\n   -wordt "
    "de einddatum aangepast\r\n   -wordt de status plaatsing op uitgeschreven geplaatst\r\n   "
    "-wordt de financierbaarheid op neen gezet.";
constexpr const char* kAfgelastKlas =
    "\r\nIndien er in de klas enkel afgelaste modulevarianten zitten krijgt de klas een afgelast "
    "kenmerk.\r\nHet vinkje 'inschrijven mag' wordt dan uitgevinkt.\r\nBent u zeker?";
constexpr const char* kLoopbanen =
    "Er zijn reeds loopbanen voor deze ingerichte modulevariant.\r\nDeze zullen automatisch "
    "geannuleerd en opnieuw aangemaakt worden met status 'TOEGEWEZEN'.";
constexpr const char* kRegistratieVerstreken =
    "Registratiemoment is reeds verstreken en mag dus niet meer aangepast worden";
constexpr const char* kGeenLesgever = "Er is geen lesgever ingevuld voor deze modulevariant.";
constexpr const char* kGeenContactpersoon = "Geen zidezuzo contactpersoon gevonden";
constexpr const char* kGeenPersoneelslid =
    "Geen personeelslid gevonden voor zidezuzo contactpersoon";
constexpr const char* kRaadplegingGeplaatst =
    "De raadpleging werd met succes in de wachtrij geplaatst.";
constexpr const char* kLabelNietGevonden = "Kon label \"%s\" niet vinden.";
constexpr const char* kBevoegdFilter =
    "(VP_ID=%d) AND (VMV_GEANNULEERD = '-') AND (VOM_GEANNULEERD = '-') AND (MIO_GEANNULEERD = "
    "'-')";

//! The consultation of a module variant at Davinci (WEBSERVICECALL.WC_CALLTYPE).
constexpr int kCallRaadpleeg = 1007;

constexpr int kModalJa = 6;
constexpr int kModalNeen = 2;

//! The first `count` characters of a UTF-8 text.
std::string FirstChars(const std::string& text, size_t count) {
  size_t chars = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80 && chars++ == count) {
      return text.substr(0, i);
    }
  }
  return text;
}

bool HasBit(int64_t flags, int bit) {
  return ((flags >> bit) & 1) != 0;
}

//! "PS_NAAM PS_VOORNAAM" of a staff member in the staff list; "" when empty or not there.
std::string NaamVan(TQuilClientDataSet& staff, const TField& id) {
  if (id.IsNull() || !staff.Active()) return "";
  const Variant naam = staff.Lookup("PS_ID", id.Value(), "PS_NAAM");
  if (naam.IsNull()) return "";
  return naam.AsString() + " " + staff.Lookup("PS_ID", id.Value(), "PS_VOORNAAM").AsString();
}

int IdOrMinus1(const TField& field) {
  return field.IsNull() || field.AsInteger() == 0 ? -1 : field.AsInteger();
}

}  // namespace

std::string LesdagenTekst(int64_t lesdagen) {
  static constexpr const char* kDagen[7] = {"Ma", "Di", "Wo", "Do", "Vr", "Za", "Zo"};
  static constexpr const char* kDelen[3] = {"VM", "NM", "AV"};
  std::string text;
  for (int dag = 0; dag < 7; ++dag) {
    for (int deel = 0; deel < 3; ++deel) {
      if (!HasBit(lesdagen, deel * 7 + dag)) continue;
      if (!text.empty()) text += ",";
      text += std::string(kDagen[dag]) + " " + kDelen[deel];
    }
  }
  return text;
}

std::string Cursusnummer(int64_t imvId) {
  char text[24];
  std::snprintf(text, sizeof text, "%.10llX", static_cast<unsigned long long>(imvId));
  return text;
}

TVWOIngModuleVariantForm::TVWOIngModuleVariantForm(TQuilApplication& app)
    : TQuilDBForm(app, kClassName),
      CDSVWOIngModuleVarianten(AddDataSet("CDSVWOIngModuleVarianten", "DSPVWOINGMODULEVARIANT")),
      CDSSelectBevoegdeModuleVar(
          AddDataSet("CDSSelectBevoegdeModuleVar", "DSPSelectVWOBevoegdeModuleVariant")),
      CDSVWOLastIMV(AddDataSet("CDSVWOLastIMV", "DSPVWOLASTIMV")),
      CDSLesgever(AddDataSet("CDSLesgever", "DSPSelectPersoneelInPeriode")),
      CDSSelectLesplaats(AddDataSet("CDSSelectLesplaats", "DSPSelectVWOLesplaats")),
      CDSSelectLokaal(AddDataSet("CDSSelectLokaal", "DSPSelectLokaalPerIS")),
      CDSKH_FINANCIERINGSBRON_FKP(
          AddDataSet("CDSKH_FINANCIERINGSBRON_FKP", "DSPSelectVWOParamsForCDS")),
      CDSVerificatieStatus(AddDataSet("CDSVerificatieStatus", "DSPSelectVWOParamsForCDS")),
      CDS_IMV_VRIJPARAM1_FKP(AddDataSet("CDS_IMV_VRIJPARAM1_FKP", "DSPSelectISParam")),
      CDS_IMV_VRIJPARAM2_FKP(AddDataSet("CDS_IMV_VRIJPARAM2_FKP", "DSPSelectISParam")),
      CDS_IMV_VRIJPARAM3_FKP(AddDataSet("CDS_IMV_VRIJPARAM3_FKP", "DSPSelectISParam")),
      CDS_IMV_VRIJPARAM4_FKP(AddDataSet("CDS_IMV_VRIJPARAM4_FKP", "DSPSelectISParam")),
      CDSSelectVestiging(AddDataSet("CDSSelectVestiging", "DSPSelectVPPerIS")),
      CDSGetlesTijden(AddDataSet("CDSGetlesTijden", "DSPVWOGetGeplandeIngModuleVarLestijden")),
      CDSDoc3B(AddDataSet("CDSDoc3B", "DSPVWOIngModuleVariantenDoc3B")),
      CDSIngVak(AddDataSet("CDSIngVak", "DSPSelectIngVak")),
      CDS_OmschrLabel(AddDataSet("CDS_OmschrLabel", "DSPSelectISParam")),
      CDSZidezuzoCP(AddDataSet("CDSZidezuzoCP", "DSPSelectISParam")),
      CDSDiscPersoneelFK(AddDataSet("CDSDiscPersoneelFK", "DSPSelectZidezuzoCP")),
      CDSWebserviceCall(AddDataSet("CDSWebserviceCall", "DSPWebservicecallFiche")),
      CDSLessen(AddDataSet("CDSLessen", "DSPVWOIngModuleVarLessen")),
      DSVWOIngModuleVarianten(AddDataSource("DSVWOIngModuleVarianten", &CDSVWOIngModuleVarianten)),
      DSSelectBevoegdeModuleVar(
          AddDataSource("DSSelectBevoegdeModuleVar", &CDSSelectBevoegdeModuleVar)),
      DSLesgever(AddDataSource("DSLesgever", &CDSLesgever)),
      DSSelectLesplaats(AddDataSource("DSSelectLesplaats", &CDSSelectLesplaats)),
      DSSelectLokaal(AddDataSource("DSSelectLokaal", &CDSSelectLokaal)),
      DSFinancieringsbron(AddDataSource("DSFinancieringsbron", &CDSKH_FINANCIERINGSBRON_FKP)),
      DSVerificatieStatus(AddDataSource("DSVerificatieStatus", &CDSVerificatieStatus)),
      DSVrijParam1(AddDataSource("DSVrijParam1", &CDS_IMV_VRIJPARAM1_FKP)),
      DSVrijParam2(AddDataSource("DSVrijParam2", &CDS_IMV_VRIJPARAM2_FKP)),
      DSVrijParam3(AddDataSource("DSVrijParam3", &CDS_IMV_VRIJPARAM3_FKP)),
      DSVrijParam4(AddDataSource("DSVrijParam4", &CDS_IMV_VRIJPARAM4_FKP)),
      DSDoc3B(AddDataSource("DSDoc3B", &CDSDoc3B)),
      DSIngVak(AddDataSource("DSIngVak", &CDSIngVak)),
      GridModuleVarianten(Add<TDBGrid>("GridModuleVarianten")),
      PCModuleVariant(Add<TPageControl>("PCModuleVariant")),
      TSAlgemeen(Add<TTabSheet>("TSAlgemeen", &PCModuleVariant)),
      LCModuleVariant(Add<TDBLookupCombo>("LCModuleVariant", &TSAlgemeen)),
      EdtAfkorting(Add<TDBEdit>("EdtAfkorting", &TSAlgemeen)),
      EdtOmschrijving(Add<TDBEdit>("EdtOmschrijving", &TSAlgemeen)),
      EdtCommercieleNaam(Add<TDBEdit>("EdtCommercieleNaam", &TSAlgemeen)),
      EdtVan(Add<TDBEdit>("EdtVan", &TSAlgemeen)),
      EdtTot(Add<TDBEdit>("EdtTot", &TSAlgemeen)),
      EdtLesVan(Add<TDBEdit>("EdtLesVan", &TSAlgemeen)),
      EdtLesTot(Add<TDBEdit>("EdtLesTot", &TSAlgemeen)),
      EdtRegistratiemoment(Add<TDBEdit>("EdtRegistratiemoment", &TSAlgemeen)),
      EdtAfgelastOp(Add<TDBEdit>("EdtAfgelastOp", &TSAlgemeen)),
      CBDavinciKlaar(Add<TDBCheckBox>("CBDavinciKlaar", &TSAlgemeen)),
      EdtLesmoment(Add<TDBEdit>("EdtLesmoment", &TSAlgemeen)),
      EdtCursusnummer(Add<TDBEdit>("EdtCursusnummer", &TSAlgemeen)),
      LCLesgever(Add<TDBLookupCombo>("LCLesgever", &TSAlgemeen)),
      LCLesplaats(Add<TDBLookupCombo>("LCLesplaats", &TSAlgemeen)),
      LCFinancieringsbron(Add<TDBLookupCombo>("LCFinancieringsbron", &TSAlgemeen)),
      EdtMaxLeerlingen(Add<TDBEdit>("EdtMaxLeerlingen", &TSAlgemeen)),
      EdtPlaatsenVoorDerden(Add<TDBEdit>("EdtPlaatsenVoorDerden", &TSAlgemeen)),
      EdtAantalLeerlingen(Add<TDBEdit>("EdtAantalLeerlingen", &TSAlgemeen)),
      CBGebundeld(Add<TDBCheckBox>("CBGebundeld", &TSAlgemeen)),
      CBGeenEducatiefVerlof(Add<TDBCheckBox>("CBGeenEducatiefVerlof", &TSAlgemeen)),
      CBToegewezen(Add<TDBCheckBox>("CBToegewezen", &TSAlgemeen)),
      CBOpleidingskompas(Add<TDBCheckBox>("CBOpleidingskompas", &TSAlgemeen)),
      TSLestijden(Add<TTabSheet>("TSLestijden", &PCModuleVariant)),
      TSExtra(Add<TTabSheet>("TSExtra", &PCModuleVariant)),
      LblVerificatieStatus(Add<TLabel>("LblVerificatieStatus", &TSExtra)),
      LblVerificatieDatum(Add<TLabel>("LblVerificatieDatum", &TSExtra)),
      TSVrijeVelden(Add<TTabSheet>("TSVrijeVelden", &PCModuleVariant)),
      TSDoc3B(Add<TTabSheet>("TSDoc3B", &PCModuleVariant)),
      GridDoc3B(Add<TDBGrid>("GridDoc3B", &TSDoc3B)),
      LCDoc3BLesgever(Add<TDBLookupCombo>("LCDoc3BLesgever", &TSDoc3B)),
      LCDoc3BTitularis(Add<TDBLookupCombo>("LCDoc3BTitularis", &TSDoc3B)),
      LCDoc3BVak(Add<TDBLookupCombo>("LCDoc3BVak", &TSDoc3B)),
      EdtDoc3BUren(Add<TDBEdit>("EdtDoc3BUren", &TSDoc3B)),
      ALesmomentRecept(AddAction(
          "ALesmomentRecept", "Lessen uit recept", [this] { ALesmomentReceptExecute(); },
          [this] {
            ALesmomentRecept.Enabled =
                Browsing() && CDSVWOIngModuleVarianten.FieldByName("IMV_AFGELASTOP").IsNull();
          })),
      ACheckLesTijden(AddAction(
          "ACheckLesTijden", "Lestijden nagaan",
          [this] {
            CheckVWOLesTijden(CDSGetlesTijden,
                              CDSVWOIngModuleVarianten.FieldByName("IMV_ID").AsInteger());
          },
          [this] { ACheckLesTijden.Enabled = Browsing(); })),
      ALesdagen(AddAction(
          "ALesdagen", "Les&dagen nagaan",
          [this] {
            ExecuteJob(kJobLesdagen, 0,
                       CreateJobData(
                           {Variant(0), CDSVWOIngModuleVarianten.FieldByName("IMV_ID").Value()}));
            ReloadAtSameRecord();
          },
          [this] { ALesdagen.Enabled = Browsing(); })),
      ADoc3BFromLesmomenten(AddAction(
          "ADoc3BFromLesmomenten", "Doc 3B info uit lesmomenten",
          [this] {
            ExecuteJob(kJobDoc3B, -1,
                       CreateJobData({CDSVWOIngModuleVarianten.FieldByName("IMV_ID").Value()}));
            if (CDSDoc3B.Active()) {
              CDSDoc3B.Close();
              CDSDoc3B.Open();
            }
          },
          [this] { ADoc3BFromLesmomenten.Enabled = Browsing(); })),
      ABerekenAfstandsLesmomenten(AddAction(
          "ABerekenAfstandsLesmomenten", "&Afstandsmomenten berekenen",
          [this] {
            ExecuteJob(kJobAfstandsmomenten, -1,
                       CreateJobData({CDSVWOIngModuleVarianten.FieldByName("IMV_ID").Value()}));
            ReloadAtSameRecord();
          },
          [this] { ABerekenAfstandsLesmomenten.Enabled = Browsing(); })),
      ARegistratiemoment(AddAction(
          "ARegistratiemoment", "Bereken registratiemoment",
          [this] { ARegistratiemomentExecute(); },
          [this] { ARegistratiemoment.Enabled = Browsing(); })),
      ACopyLesgeverAlleLessen(AddAction(
          "ACopyLesgeverAlleLessen", "naar alle lessen", [this] { ACopyLesgeverExecute(false); },
          [this] { ACopyLesgeverAlleLessen.Enabled = Browsing(); })),
      ACopyLesgeverToekomstigeLessen(AddAction(
          "ACopyLesgeverToekomstigeLessen", "naar toekomstige lessen",
          [this] { ACopyLesgeverExecute(true); },
          [this] { ACopyLesgeverToekomstigeLessen.Enabled = Browsing(); })),
      ACommDavinci(AddAction(
          "ACommDavinci", "&Davinci communicatie",
          [this] {
            DavinciCommunicatieRequest(
                *this, "Davinci communicatie voor ing. modulevariant %s %s",
                {CDSVWOIngModuleVarianten.FieldByName("IMV_AFKORTING").AsString(),
                 CDSVWOIngModuleVarianten.FieldByName("IMV_OMSCHRIJVING").AsString()},
                "DSPDavinciModuleVar",
                "IMV_ID=" + CDSVWOIngModuleVarianten.FieldByName("IMV_ID").AsString(), true);
          },
          [this] { ACommDavinci.Enabled = DavinciRechten(); })),
      ACommDavinciCursist(AddAction(
          "ACommDavinciCursist", "Davinci communicatie &Cursisten",
          [this] {
            DavinciCommunicatieRequest(
                *this, "Davinci cursisten communicatie voor ing. modulevariant %s %s",
                {CDSVWOIngModuleVarianten.FieldByName("IMV_AFKORTING").AsString(),
                 CDSVWOIngModuleVarianten.FieldByName("IMV_OMSCHRIJVING").AsString()},
                "DSPDavinciModuleVarCursisten",
                "IMV_ID=" + CDSVWOIngModuleVarianten.FieldByName("IMV_ID").AsString() +
                    ",SC_ID=" + instellingSource_->DataSet()->FieldByName("SC_ID").AsString(),
                true);
          },
          [this] { ACommDavinciCursist.Enabled = DavinciRechten(); })),
      ARaadpleeg(AddAction(
          "ARaadpleeg", "Raadpleeg IMV", [this] { ARaadpleegExecute(); },
          [this] { ARaadpleeg.Enabled = DavinciRechten(); })),
      AAnnuleerIMV(AddAction(
          "AAnnuleerIMV", "Annuleer IMV", [this] { AAnnuleerIMVExecute(); },
          [this] {
            AAnnuleerIMV.Enabled =
                Browsing() && !CDSVWOIngModuleVarianten.FieldByName("IMV_DAVINCIID").IsNull() &&
                HasRight(kRightDelete);
          })) {
  for (TAction* action : {&ALesmomentRecept, &ACheckLesTijden, &ALesdagen, &ADoc3BFromLesmomenten,
                          &ABerekenAfstandsLesmomenten, &ARegistratiemoment}) {
    action->Category = "Lessenrooster";
  }
  ACopyLesgeverAlleLessen.Category = "Lesgever Kopiëren";
  ACopyLesgeverToekomstigeLessen.Category = "Lesgever Kopiëren";
  for (TAction* action : {&ACommDavinci, &ACommDavinciCursist, &ARaadpleeg, &AAnnuleerIMV}) {
    action->Category = "Davinci";
  }

  DeclareModuleVariantFields();
  DeclareListFields();
  BuildControls();
  BuildVrijeVelden();
}

// --- definition -------------------------------------------------------------------------------

void TVWOIngModuleVariantForm::DeclareModuleVariantFields() {
  TQuilClientDataSet& imv = CDSVWOIngModuleVarianten;
  imv.IDField = "IMV_ID";
  imv.ParamToFields = "VWK_ID=IMV_VWOKLAS_FK";
  imv.ChangedByField = "IMV_VERANDERDDOOR";
  imv.ChangedOnField = "IMV_VERANDERDOP";
  imv.StatusFields = "VMV_CODE;VOM_OMSCHRIJVING;IMV_LESVAN;IMV_LESTOT";
  imv.GetParams().Add("VWK_ID", FieldType::Integer);
  DeclareFields(
      imv,
      {DataField("IMV_VWOMODULEVARIANT_FK", "Module variant"),
       DataField("IMV_AFKORTING", "Afkorting"),
       DataField("IMV_OMSCHRIJVING", "Omschrijving"),
       DataField("IMV_COMMERCIELENAAM", "Commerciële naam"),
       DataField("IMV_VAN", "Davinci van"),
       DataField("IMV_TOT", "Davinci tot"),
       DataField("IMV_LESVAN", "Les van"),
       DataField("IMV_LESTOT", "Les tot"),
       DataField("IMV_REGISTRATIEMOMENT", "Registratiemoment"),
       DataField("IMV_AFGELASTOP", "Afgelast op"),
       DataField("IMV_DAVINCIKLAAR", "Klaar voor Davinci"),
       DataField("IMV_DAVINCIID", "Davinci id"),
       DataField("IMV_LESDAGEN", "Lesdagen"),
       DataField("IMV_LESGEVER_FK", "Lesgever"),
       DataField("IMV_LESPLAATS_FK", "Lesplaats"),
       DataField("IMV_FINANCIERINGSBRON_FK", "Financieringsbron"),
       DataField("IMV_MAXLEERLINGEN", "Maximum aantal leerlingen"),
       DataField("IMV_PLAATSENVOORDERDEN", "Maximum aantal voor derden"),
       DataField("IMV_LESTIJDENAFSTANDSONDERWIJS", "Lestijden afstandsonderwijs"),
       DataField("IMV_LESTIJDENDELIBERATIE", "Lestijden deliberatie"),
       DataField("IMV_LESTIJDENWERKPLEKLEREN", "Lestijden individuele arbeidservaring"),
       DataField("IMV_LESTIJDENDUAAL", "Lestijden duaal"),
       DataField("IMV_LESTIJDENSYNCHRAFSTOND", "Lestijden synchroon afstandsOnderwijs"),
       DataField("IMV_CONTACTLESTIJDEN1", "Contactlestijden periode 1"),
       DataField("IMV_CONTACTLESTIJDEN2", "Contactlestijden periode 2"),
       DataField("IMV_CONTACTLESTIJDEN3", "Contactlestijden periode 3"),
       DataField("IMV_CONTACTLESTIJDEN4", "Contactlestijden periode 4"),
       DataField("IMV_GEGEVENLESTIJDEN1", "Werkelijk gegeven periode 1"),
       DataField("IMV_GEGEVENLESTIJDEN2", "Werkelijk gegeven periode 2"),
       DataField("IMV_GEGEVENLESTIJDEN3", "Werkelijk gegeven periode 3"),
       DataField("IMV_GEGEVENLESTIJDEN4", "Werkelijk gegeven periode 4"),
       DataField("IMV_EXTRABEDRAG", "Extra bedrag"),
       DataField("IMV_REDENEXTRABEDRAG", "Reden extra bedrag"),
       DataField("IMV_GECOMBINEERDONDERWIJSINFO", "Gecomb. onderwijs info"),
       DataField("IMV_FLAGS", "Kenmerken"),
       DataField("IMV_URL", "Website URL"),
       DataField("IMV_LAATSTEINSCHRIJFDATUM", "Laatste inschrijfdatum"),
       DataField("IMV_EXTRAINFOOPENMODULES", "Extra info open modules"),
       DataField("IMV_CENTRUMEIGENINHOUD", "Centrumeigen inhoud"),
       DataField("IMV_EXTRINFPRIJSCURSMAT", "Extra info kostprijs cursusMateriaal"),
       DataField("IMV_VERIFICATIESTATUS_FK", "Verificatiestatus"),
       DataField("IMV_VERIFICATIEDATUM", "Verificatiedatum"),
       DataField("IMV_VRIJVELD1", "Vrij veld 1"),
       DataField("IMV_VRIJVELD2", "Vrij veld 2"),
       DataField("IMV_VRIJVELD3", "Vrij veld 3"),
       DataField("IMV_VRIJVELD4", "Vrij veld 4"),
       DataField("IMV_VRIJVELD5", "Vrij veld 5"),
       DataField("IMV_VRIJPARAM1_FKP", "Vrije parameter 1"),
       DataField("IMV_VRIJPARAM2_FKP", "Vrije parameter 2"),
       DataField("IMV_VRIJPARAM3_FKP", "Vrije parameter 3"),
       DataField("IMV_VRIJPARAM4_FKP", "Vrije parameter 4"),
       DataField("IMV_VRIJDATUM1", "Vrije datum 1"),
       DataField("IMV_VRIJDATUM2", "Vrije datum 2"),
       DataField("IMV_TRAJECT", "Traject"),
       DataField("IMV_AANTALLEERLINGEN", "Aantal leerlingen").ReadOnly(),
       DataField("VMV_CODE", "Module variant"),
       DataField("VOM_CODE", "Module"),
       DataField("VOM_OMSCHRIJVING", "Module omschrijving"),
       DataField("VMV_LESTIJDENINSCHRIJVINGSGELD", "Lestijden inschrijvingsgeld"),
       DataField("VMV_LESTIJDENORGANISATIE", "Lestijden organisatie"),
       DataField("VMV_STUDIEPUNTEN", "Studiepunten"),
       DataField("VWLT_ALESMOMENTEN", "Aantal lesmomenten"),
       DataField("VWLT_AAFST", "Aantal afstandsmomenten"),
       DataField("VWLT_ANTAFST", "Aantal niet afstandsmomenten"),
       DataField("VWLT_TOTLESUREN", "Totaal lestijden"),
       DataField("VWLT_TOTAFST", "Totaal lestijden afstand"),
       DataField("VWLT_TOTNTAFST", "Totaal lestijden niet afstand"),
       BitField("Gebundeld", "Gebundelde module", "IMV_FLAGS", kBitGebundeld),
       BitField("GeenEducatiefVerlof", "Geen educatief verlof mogelijk voor deze module",
                "IMV_FLAGS", kBitGeenEducatiefVerlof),
       BitField("Toegewezen", "Inschrijving melden als 'Toegewezen'", "IMV_FLAGS", kBitToegewezen),
       BitField("Opleidingskompas", "Cursus tonen in opleidingskompas", "IMV_FLAGS",
                kBitOpleidingskompas),
       CalculatedField("IMV_CURSUSNUMMER", "Cursusnummer", FieldType::String, 10),
       CalculatedField("IMV_LESGEVER", "Lesgever", FieldType::String, 120),
       CalculatedField("IMV_VERIFICATIESTATUS", "Verificatiestatus", FieldType::String, 50),
       CalculatedField("VERIFICATIESTATUS", "Verificatiestatus", FieldType::String, 70),
       CalculatedField("VERIFICATIEDATUM", "Verificatiedatum", FieldType::String, 30),
       CalculatedField("IMV_LESMOMENT", "Lesmomenten", FieldType::String, 125)});
  imv.BeforeOpen = [this](TQuilClientDataSet&) { ModuleVariantenBeforeOpen(); };
  imv.AfterOpen = [this](TQuilClientDataSet&) { ModuleVariantenAfterOpen(); };
  imv.AfterInsert = [this](TQuilClientDataSet&) { ModuleVariantenAfterInsert(); };
  imv.BeforePost = [this](TQuilClientDataSet&) { ModuleVariantenBeforePost(); };
  imv.AfterPost = [this](TQuilClientDataSet&) { ModuleVariantenAfterPost(); };
  imv.AfterCancel = [this](TQuilClientDataSet&) { ModuleVariantenAfterCancel(); };
  imv.AfterScroll = [this](TQuilClientDataSet&) { ModuleVariantenAfterScroll(); };
  imv.OnCalcFields = [this](TQuilClientDataSet&) { ModuleVariantenCalcFields(); };
  imv.AfterApplyUpdates = [this](TQuilClientDataSet&) { ModuleVariantenAfterApplyUpdates(); };
  imv.OnReconcileError = [this](TQuilClientDataSet&, const ReconcileInfo& info) {
    return ModuleVariantenReconcileError(info);
  };
  imv.FieldByName("IMV_AFGELASTOP").OnChange = [this](TField&) { afgelastGewijzigd_ = true; };
  imv.FieldByName("IMV_DAVINCIKLAAR").OnValidate = [this](TField& f) { DavinciKlaarValidate(f); };
  imv.FieldByName("IMV_VAN").OnChange = [this](TField&) { PeriodeChange(); };
  imv.FieldByName("IMV_TOT").OnChange = [this](TField&) { PeriodeChange(); };
  imv.FieldByName("IMV_VWOMODULEVARIANT_FK").OnChange = [this](TField&) { ModuleVariantChange(); };
}

void TVWOIngModuleVariantForm::DeclareListFields() {
  // The fields the choice lists show, declared so that they are known while a list is closed.
  DeclareFields(CDSSelectBevoegdeModuleVar,
                {DataField("VMV_ID", "Id"), DataField("VMV_CODE", "Module variant"),
                 DataField("VOM_OMSCHRIJVING", "Omschrijving")});
  DeclareFields(CDSLesgever, {DataField("PS_ID", "Id"), DataField("PS_NAAM", "Naam"),
                              DataField("PS_VOORNAAM", "Voornaam")});
  DeclareFields(CDSSelectLesplaats, {DataField("VLP_ID", "Id"), DataField("VLP_NUMMER", "Nummer"),
                                     DataField("VLP_OMSCHRIJVING", "Omschrijving")});
  DeclareFields(CDSIngVak, {DataField("IV_OFFICIEELVAK_FK", "Officieel vak"),
                            DataField("IV_CODE", "Code"), DataField("IV_NAAMGEBRUIKER", "Naam")});
  for (TQuilClientDataSet* list :
       {&CDSKH_FINANCIERINGSBRON_FKP, &CDS_IMV_VRIJPARAM1_FKP, &CDS_IMV_VRIJPARAM2_FKP,
        &CDS_IMV_VRIJPARAM3_FKP, &CDS_IMV_VRIJPARAM4_FKP}) {
    DeclareFields(*list, {DataField("P_ID", "Id"), DataField("P_CODE", "Code"),
                          DataField("P_OMSCHRIJVING", "Omschrijving")});
  }
  CDSSelectBevoegdeModuleVar.ReadOnly = true;
  CDSSelectBevoegdeModuleVar.GetParams().Add("VWK_ID", FieldType::Integer);
  CDSVWOLastIMV.ReadOnly = true;
  CDSVWOLastIMV.GetParams().Add("VWK_ID", FieldType::Integer);

  CDSLesgever.ReadOnly = true;
  CDSLesgever.GetParams().Add("IS_ID", FieldType::Integer);
  CDSLesgever.GetParams().Add("BeginDatum", FieldType::Date);
  CDSLesgever.GetParams().Add("EindDatum", FieldType::Date);
  CDSLesgever.SetSortFields("PS_NAAM;PS_VOORNAAM");
  CDSLesgever.BeforeOpen = [this](TQuilClientDataSet&) { LesgeverBeforeOpen(); };

  for (TQuilClientDataSet* list :
       {&CDSSelectLesplaats, &CDSSelectLokaal, &CDSSelectVestiging, &CDSIngVak}) {
    list->ReadOnly = true;
    list->GetParams().Add("IS_ID", FieldType::Integer);
  }
  CDSSelectLesplaats.SetSortFields("VLP_NUMMER");
  CDSSelectLokaal.SetSortFields("LK_CODE");

  const std::pair<TQuilClientDataSet*, const char*> coded[] = {
      {&CDSKH_FINANCIERINGSBRON_FKP, "VWFT"}, {&CDSVerificatieStatus, "VWVS"}};
  for (const auto& [list, type] : coded) {
    list->ReadOnly = true;
    list->GetParams().Add("P_TYPE", FieldType::String).value = Variant(type);
  }
  const std::pair<TQuilClientDataSet*, const char*> institutionLists[] = {
      {&CDS_IMV_VRIJPARAM1_FKP, "IMVP1"}, {&CDS_IMV_VRIJPARAM2_FKP, "IMVP2"},
      {&CDS_IMV_VRIJPARAM3_FKP, "IMVP3"}, {&CDS_IMV_VRIJPARAM4_FKP, "IMVP4"},
      {&CDS_OmschrLabel, "IMVVC"},        {&CDSZidezuzoCP, "TPCP"}};
  for (const auto& [list, type] : institutionLists) {
    list->ReadOnly = true;
    list->GetParams().Add("P_TYPE", FieldType::String).value = Variant(type);
    list->GetParams().Add("IS_ID", FieldType::Integer);
  }
  CDS_OmschrLabel.AfterOpen = [this](TQuilClientDataSet&) { OmschrLabelAfterOpen(); };

  CDSDiscPersoneelFK.ReadOnly = true;
  CDSDiscPersoneelFK.GetParams().Add("IS_ID", FieldType::Integer);
  CDSDiscPersoneelFK.GetParams().Add("IC_TYPE_FKP", FieldType::Integer);
  CDSWebserviceCall.IDField = "WC_ID";
  CDSWebserviceCall.GetParams().Add("WC_ID", FieldType::Integer);
  CDSGetlesTijden.ReadOnly = true;
  CDSGetlesTijden.GetParams().Add("IMV_ID", FieldType::Integer);

  CDSLessen.IDField = "VWL_ID";
  CDSLessen.ChangedByField = "VWL_VERANDERDDOOR";
  CDSLessen.ChangedOnField = "VWL_VERANDERDOP";
  CDSLessen.SetAutoCommit(false);
  CDSLessen.GetParams().Add("IMV_ID", FieldType::Integer);

  CDSIngVak.SetSortFields("IV_CODE");
  TQuilClientDataSet& doc3b = CDSDoc3B;
  doc3b.IDField = "VD3_ID";
  doc3b.ParamToFields = "IMV_ID=VD3_VWOINGMODULEVARIANT_FK";
  doc3b.ChangedByField = "VD3_VERANDERDDOOR";
  doc3b.ChangedOnField = "VD3_VERANDERDOP";
  doc3b.GetParams().Add("IMV_ID", FieldType::Integer);
  DeclareFields(
      doc3b, {DataField("VD3_LESGEVER_FK", "Lesgever"), DataField("VD3_TITULARIS_FK", "Titularis"),
              DataField("VD3_OFFICIEELVAK_FK", "Officieel vak"), DataField("VD3_UREN", "&Uren"),
              CalculatedField("VD3_LESGEVER", "Lesgever", FieldType::String, 120),
              CalculatedField("VD3_TITULARIS", "Titularis", FieldType::String, 120),
              CalculatedField("VD3_OFFICIEELVAK", "Officieel vak", FieldType::String, 120)});
  doc3b.BeforeOpen = [this](TQuilClientDataSet&) { Doc3BBeforeOpen(); };
  doc3b.OnCalcFields = [this](TQuilClientDataSet&) { Doc3BCalcFields(); };
  doc3b.FieldByName("VD3_LESGEVER_FK").OnChange = [this](TField&) { Doc3BLesgeverChange(); };
  doc3b.SetMasterdataSource(&DSVWOIngModuleVarianten);
}

void TVWOIngModuleVariantForm::BuildControls() {
  GridModuleVarianten.DataSource = &DSVWOIngModuleVarianten;
  GridModuleVarianten.Columns = {{"IMV_AFKORTING", "", 10},    {"VMV_CODE", "", 10},
                                 {"IMV_OMSCHRIJVING", "", 40}, {"IMV_LESVAN", "", 10},
                                 {"IMV_LESTOT", "", 10},       {"IMV_LESMOMENT", "", 20},
                                 {"IMV_AFGELASTOP", "", 10},   {"IMV_CURSUSNUMMER", "", 10}};

  TSAlgemeen.Caption = "Algemeen";
  TSLestijden.Caption = "Lestijden";
  TSExtra.Caption = "Extra";
  TSVrijeVelden.Caption = "Vrije velden";
  TSDoc3B.Caption = "Lesverdeling/Doc 3B";
  PCModuleVariant.OnChange = [this] { PageChange(); };

  TDataSource& imv = DSVWOIngModuleVarianten;
  BindField(LCModuleVariant, imv, "IMV_VWOMODULEVARIANT_FK");
  OfferList(LCModuleVariant, DSSelectBevoegdeModuleVar, "VMV_ID", "VMV_CODE;VOM_OMSCHRIJVING");
  LCModuleVariant.Enabled = false;
  BindField(EdtAfkorting, imv, "IMV_AFKORTING");
  BindField(EdtOmschrijving, imv, "IMV_OMSCHRIJVING");
  BindField(EdtCommercieleNaam, imv, "IMV_COMMERCIELENAAM");
  BindField(EdtVan, imv, "IMV_VAN");
  BindField(EdtTot, imv, "IMV_TOT");
  BindField(EdtLesVan, imv, "IMV_LESVAN");
  BindField(EdtLesTot, imv, "IMV_LESTOT");
  BindField(EdtRegistratiemoment, imv, "IMV_REGISTRATIEMOMENT");
  BindField(EdtAfgelastOp, imv, "IMV_AFGELASTOP");
  BindField(CBDavinciKlaar, imv, "IMV_DAVINCIKLAAR");
  BindField(EdtLesmoment, imv, "IMV_LESMOMENT").ReadOnly = true;
  BindField(EdtCursusnummer, imv, "IMV_CURSUSNUMMER").ReadOnly = true;
  BindField(LCLesgever, imv, "IMV_LESGEVER_FK");
  OfferList(LCLesgever, DSLesgever, "PS_ID", "PS_NAAM;PS_VOORNAAM");
  BindField(LCLesplaats, imv, "IMV_LESPLAATS_FK");
  OfferList(LCLesplaats, DSSelectLesplaats, "VLP_ID", "VLP_NUMMER;VLP_OMSCHRIJVING");
  BindField(LCFinancieringsbron, imv, "IMV_FINANCIERINGSBRON_FK");
  OfferList(LCFinancieringsbron, DSFinancieringsbron, "P_ID", "P_CODE;P_OMSCHRIJVING");
  BindField(EdtMaxLeerlingen, imv, "IMV_MAXLEERLINGEN").AllowedChars = "0123456789";
  BindField(EdtPlaatsenVoorDerden, imv, "IMV_PLAATSENVOORDERDEN").AllowedChars = "0123456789";
  BindField(EdtAantalLeerlingen, imv, "IMV_AANTALLEERLINGEN").ReadOnly = true;
  BindField(CBGebundeld, imv, "Gebundeld");
  BindField(CBGeenEducatiefVerlof, imv, "GeenEducatiefVerlof");
  BindField(CBToegewezen, imv, "Toegewezen");
  BindField(CBOpleidingskompas, imv, "Opleidingskompas", "Opleidingskompas");

  struct Editor {
    const char* name;
    const char* field;
    bool readOnly;
  };
  const Editor lestijden[] = {
      {"EdtLestijdenAfstand", "IMV_LESTIJDENAFSTANDSONDERWIJS", false},
      {"EdtLestijdenDeliberatie", "IMV_LESTIJDENDELIBERATIE", false},
      {"EdtLestijdenWerkplek", "IMV_LESTIJDENWERKPLEKLEREN", false},
      {"EdtLestijdenDuaal", "IMV_LESTIJDENDUAAL", false},
      {"EdtLestijdenSynchroon", "IMV_LESTIJDENSYNCHRAFSTOND", false},
      {"EdtContact1", "IMV_CONTACTLESTIJDEN1", false},
      {"EdtContact2", "IMV_CONTACTLESTIJDEN2", false},
      {"EdtContact3", "IMV_CONTACTLESTIJDEN3", false},
      {"EdtContact4", "IMV_CONTACTLESTIJDEN4", false},
      {"EdtGegeven1", "IMV_GEGEVENLESTIJDEN1", false},
      {"EdtGegeven2", "IMV_GEGEVENLESTIJDEN2", false},
      {"EdtGegeven3", "IMV_GEGEVENLESTIJDEN3", false},
      {"EdtGegeven4", "IMV_GEGEVENLESTIJDEN4", false},
      {"EdtLestijdenInschrijvingsgeld", "VMV_LESTIJDENINSCHRIJVINGSGELD", true},
      {"EdtLestijdenOrganisatie", "VMV_LESTIJDENORGANISATIE", true},
      {"EdtStudiepunten", "VMV_STUDIEPUNTEN", true},
      {"EdtAantalLesmomenten", "VWLT_ALESMOMENTEN", true},
      {"EdtAantalAfstand", "VWLT_AAFST", true},
      {"EdtAantalNietAfstand", "VWLT_ANTAFST", true},
      {"EdtTotaalLestijden", "VWLT_TOTLESUREN", true},
      {"EdtTotaalAfstand", "VWLT_TOTAFST", true},
      {"EdtTotaalNietAfstand", "VWLT_TOTNTAFST", true}};
  for (const Editor& e : lestijden) {
    BindField(Add<TDBEdit>(e.name, &TSLestijden), imv, e.field).ReadOnly = e.readOnly;
  }
  const Editor extra[] = {{"EdtExtraBedrag", "IMV_EXTRABEDRAG", false},
                          {"EdtRedenExtraBedrag", "IMV_REDENEXTRABEDRAG", false},
                          {"EdtGecombineerdOnderwijs", "IMV_GECOMBINEERDONDERWIJSINFO", false},
                          {"EdtUrl", "IMV_URL", false},
                          {"EdtLaatsteInschrijfdatum", "IMV_LAATSTEINSCHRIJFDATUM", false},
                          {"EdtTraject", "IMV_TRAJECT", false},
                          {"EdtExtraInfoOpenModules", "IMV_EXTRAINFOOPENMODULES", false},
                          {"EdtCentrumEigenInhoud", "IMV_CENTRUMEIGENINHOUD", false},
                          {"EdtExtraInfoPrijs", "IMV_EXTRINFPRIJSCURSMAT", false}};
  for (const Editor& e : extra) {
    BindField(Add<TDBEdit>(e.name, &TSExtra), imv, e.field).ReadOnly = e.readOnly;
  }
  LblVerificatieStatus.Caption = "Verificatiestatus: ";
  LblVerificatieDatum.Caption = "Verificatiedatum: ";

  GridDoc3B.DataSource = &DSDoc3B;
  GridDoc3B.Columns = {{"VD3_LESGEVER", "", 30},
                       {"VD3_TITULARIS", "", 30},
                       {"VD3_OFFICIEELVAK", "", 30},
                       {"VD3_UREN", "", 8}};
  for (TDBLookupCombo* staff : {&LCDoc3BLesgever, &LCDoc3BTitularis}) {
    staff->ListSource = &DSLesgever;
    staff->KeyField = "PS_ID";
    staff->ListField = "PS_NAAM;PS_VOORNAAM";
  }
  BindField(LCDoc3BLesgever, DSDoc3B, "VD3_LESGEVER_FK");
  BindField(LCDoc3BTitularis, DSDoc3B, "VD3_TITULARIS_FK");
  BindField(LCDoc3BVak, DSDoc3B, "VD3_OFFICIEELVAK_FK");
  OfferList(LCDoc3BVak, DSIngVak, "IV_OFFICIEELVAK_FK", "IV_CODE;IV_NAAMGEBRUIKER");
  BindField(EdtDoc3BUren, DSDoc3B, "VD3_UREN");
}

void TVWOIngModuleVariantForm::BuildVrijeVelden() {
  // The labels are named after the codes of the caption list ("IMVVC"), which renames them.
  TDataSource& imv = DSVWOIngModuleVarianten;
  TDataSource* params[4] = {&DSVrijParam1, &DSVrijParam2, &DSVrijParam3, &DSVrijParam4};
  for (int n = 1; n <= 4; ++n) {
    auto& editor = Add<TDBLookupCombo>("LCVrijParam" + std::to_string(n), &TSVrijeVelden);
    BindField(editor, imv, "IMV_VRIJPARAM" + std::to_string(n) + "_FKP");
    editor.ListSource = params[n - 1];
    editor.KeyField = "P_ID";
    editor.ListField = "P_CODE;P_OMSCHRIJVING";
    auto& label = Add<TLabel>("PARM" + std::to_string(n), &TSVrijeVelden);
    label.Caption = "Vrije parameter " + std::to_string(n);
    label.FocusControl = &editor;
  }
  for (int n = 1; n <= 5; ++n) {
    auto& editor = Add<TDBEdit>("EdtVrijVeld" + std::to_string(n), &TSVrijeVelden);
    BindField(editor, imv, "IMV_VRIJVELD" + std::to_string(n));
    auto& label = Add<TLabel>("VELD" + std::to_string(n), &TSVrijeVelden);
    label.Caption = "Vrij veld " + std::to_string(n);
    label.FocusControl = &editor;
  }
  for (int n = 1; n <= 2; ++n) {
    auto& editor = Add<TDBEdit>("EdtVrijDatum" + std::to_string(n), &TSVrijeVelden);
    BindField(editor, imv, "IMV_VRIJDATUM" + std::to_string(n));
    auto& label = Add<TLabel>("DATUM" + std::to_string(n), &TSVrijeVelden);
    label.Caption = "Vrije datum " + std::to_string(n);
    label.FocusControl = &editor;
  }
}

// --- opening ----------------------------------------------------------------------------------

void TVWOIngModuleVariantForm::QuilDBFormCreate() {
  // The fields Davinci receives.
  davinciKleur_ = AdminPrefs().DavinciKleur();
  for (const char* name : {"LCModuleVariant",
                           "EdtVan",
                           "EdtTot",
                           "EdtAfgelastOp",
                           "EdtAfkorting",
                           "LCFinancieringsbron",
                           "LCLesplaats",
                           "EdtRegistratiemoment",
                           "EdtExtraBedrag",
                           "EdtLestijdenAfstand",
                           "EdtLestijdenDeliberatie",
                           "EdtLestijdenWerkplek",
                           "EdtMaxLeerlingen",
                           "EdtPlaatsenVoorDerden",
                           "EdtUrl",
                           "LCLesgever",
                           "EdtLestijdenDuaal",
                           "EdtCommercieleNaam",
                           "EdtExtraInfoOpenModules",
                           "EdtLestijdenSynchroon",
                           "EdtLaatsteInschrijfdatum",
                           "EdtCentrumEigenInhoud",
                           "EdtExtraInfoPrijs"}) {
    ControlByName(name).Color = davinciKleur_;
  }
  PCModuleVariant.SetActivePage(TSAlgemeen);
}

void TVWOIngModuleVariantForm::QuilDBFormSetMasterBrowser(TDataSource* master) {
  dbParams_ = GetConnection().GetQuilDBParams();
  serverDatum_ = GetConnection().GetServerDatum();
  LCModuleVariant.Enabled = false;
  // A master screen that is not built yet has no list: the host has told the user so, and this
  // screen stays empty with it rather than complain about a class it was never given.
  if (master != nullptr && master->DataSet() == nullptr) return;

  instellingSource_ = FindDataSourceWithField(master, "IS_ID");
  if (instellingSource_ != nullptr) {
    for (TQuilClientDataSet* list :
         {&CDSSelectLesplaats, &CDSSelectVestiging, &CDSLesgever, &CDSIngVak, &CDSSelectLokaal,
          &CDS_IMV_VRIJPARAM1_FKP, &CDS_IMV_VRIJPARAM2_FKP, &CDS_IMV_VRIJPARAM3_FKP,
          &CDS_IMV_VRIJPARAM4_FKP, &CDS_OmschrLabel}) {
      list->SetMasterdataSource(instellingSource_);
    }
  }
  klasSource_ = FindDataSourceWithField(master, "VWK_ID");
  if (klasSource_ == nullptr) RaiseClientError(kGeenKlas);
  CDSSelectBevoegdeModuleVar.SetMasterdataSource(klasSource_);
  if (instellingSource_ == nullptr ||
      FindDataSourceWithField(instellingSource_, "SC_ID") == nullptr) {
    RaiseClientError(kGeenSchool);
  }

  for (TQuilClientDataSet* list :
       {&CDSSelectLesplaats, &CDSSelectVestiging, &CDSKH_FINANCIERINGSBRON_FKP,
        &CDSVerificatieStatus, &CDS_IMV_VRIJPARAM1_FKP, &CDS_IMV_VRIJPARAM2_FKP,
        &CDS_IMV_VRIJPARAM3_FKP, &CDS_IMV_VRIJPARAM4_FKP, &CDS_OmschrLabel}) {
    list->Open();
  }
  afgelastGewijzigd_ = false;
  LinkToMaster(CDSVWOIngModuleVarianten);
  CDSVWOIngModuleVarianten.Open();
}

void TVWOIngModuleVariantForm::ModuleVariantenBeforeOpen() {
  LCModuleVariant.Enabled = false;
  FilterBevoegdeModuleVar(false);
  CDSLesgever.Close();
  CDSLesgever.Open();
}

void TVWOIngModuleVariantForm::LesgeverBeforeOpen() {
  // Staff employed around the class period: from 15 weeks before it starts.
  TDataSource* periode =
      FindDataSourceWithField(CDSVWOIngModuleVarianten.GetTheDatasource(), "VWK_VAN");
  TDateTime van = AdminPrefs().WerkDatum(), tot = AdminPrefs().WerkDatum();
  if (periode != nullptr && periode->DataSet()->Active()) {
    van = periode->DataSet()->FieldByName("VWK_VAN").AsDateTime();
    tot = periode->DataSet()->FieldByName("VWK_TOT").AsDateTime();
  }
  CDSLesgever.ParamByName("BeginDatum").SetAsDate(van - 15 * 7);
  CDSLesgever.ParamByName("EindDatum").SetAsDate(tot);
}

void TVWOIngModuleVariantForm::ModuleVariantenAfterOpen() {
  CDSSelectBevoegdeModuleVar.RefreshParam("VWK_ID",
                                          CDSVWOIngModuleVarianten.ParamByName("VWK_ID").value);
  lijstLeeg_ = CDSVWOIngModuleVarianten.IsEmpty();
  FilterLesplaatsen();
}

void TVWOIngModuleVariantForm::ModuleVariantenAfterApplyUpdates() {
  if (klasMarkeren_) MarkeerKlas();
  lijstLeeg_ = CDSVWOIngModuleVarianten.IsEmpty();
}

// --- a new record -----------------------------------------------------------------------------

void TVWOIngModuleVariantForm::ModuleVariantenAfterInsert() {
  LCModuleVariant.Enabled = true;
  UpdateRegistratiemomentReadOnly();
  FilterBevoegdeModuleVar(true);
  if (FindDataSourceWithField(MasterDataSource(), "VWK_VESTIGINGSPLAATS_FK", false) == nullptr) {
    RaiseClientError(kGeenVestiging);
  }
  if (lijstLeeg_) {
    NieuweEersteModuleVariant();
  } else {
    NieuweVolgendeModuleVariant();
  }
}

void TVWOIngModuleVariantForm::NieuweEersteModuleVariant() {
  TQuilClientDataSet& imv = CDSVWOIngModuleVarianten;
  imv.FieldByName("IMV_FLAGS").SetAsInteger(kEersteFlags);
  imv.FieldByName("IMV_LESDAGEN").SetAsInteger(0);
  for (const char* field : {"IMV_LESTIJDENAFSTANDSONDERWIJS", "IMV_LESTIJDENWERKPLEKLEREN",
                            "IMV_LESTIJDENDELIBERATIE"}) {
    imv.FieldByName(field).SetAsInteger(0);
  }
  // Each from the first master that has the class's field; a field not found leaves it.
  struct DateCopy {
    const char* klasField;
    std::array<const char*, 2> targets;
  };
  static constexpr DateCopy dates[] = {{"VWK_VAN", {"IMV_LESVAN", "IMV_VAN"}},
                                       {"VWK_TOT", {"IMV_LESTOT", "IMV_TOT"}}};
  for (const auto& [klasField, targets] : dates) {
    if (TDataSource* source = FindDataSourceWithField(imv.GetTheDatasource(), klasField)) {
      const TField& value = source->DataSet()->FieldByName(klasField);
      for (const char* target : targets) {
        imv.FieldByName(target).SetAsDateTime(DateOf(value.AsDateTime()));
      }
    }
  }
  if (TDataSource* source = FindDataSourceWithField(imv.GetTheDatasource(), "VWK_MAXLEERLINGEN")) {
    const TField& max = source->DataSet()->FieldByName("VWK_MAXLEERLINGEN");
    if (!max.IsNull()) imv.FieldByName("IMV_MAXLEERLINGEN").SetAsInteger(max.AsInteger());
  }
  PeriodeChange();
}

void TVWOIngModuleVariantForm::NieuweVolgendeModuleVariant() {
  TQuilClientDataSet& imv = CDSVWOIngModuleVarianten;
  TQuilClientDataSet& last = CDSVWOLastIMV;
  last.Close();
  last.ParamByName("VWK_ID").value = imv.ParamByName("VWK_ID").value;
  last.Open();
  if (last.IsEmpty()) return;
  for (const char* field : {"IMV_LESDAGEN", "IMV_FINANCIERINGSBRON_FK"}) {
    imv.FieldByName(field).SetAsInteger(last.FieldByName(field).AsInteger());
  }
  // The registration moment comes last: it replaces the one the period proposed.
  for (const char* field :
       {"IMV_LESVAN", "IMV_LESTOT", "IMV_VAN", "IMV_TOT", "IMV_REGISTRATIEMOMENT"}) {
    imv.FieldByName(field).SetValue(last.FieldByName(field).Value());
  }
  for (const char* field :
       {"IMV_LESPLAATS_FK", "IMV_LESTIJDENAFSTANDSONDERWIJS", "IMV_LESTIJDENDELIBERATIE",
        "IMV_LESTIJDENWERKPLEKLEREN", "IMV_FLAGS"}) {
    imv.FieldByName(field).SetAsInteger(last.FieldByName(field).AsInteger());
  }
  for (const char* field :
       {"IMV_MAXLEERLINGEN", "IMV_PLAATSENVOORDERDEN", "IMV_GECOMBINEERDONDERWIJSINFO",
        "IMV_LESGEVER_FK", "IMV_EXTRABEDRAG", "IMV_REDENEXTRABEDRAG", "IMV_URL", "IMV_VRIJVELD1",
        "IMV_VRIJVELD2", "IMV_VRIJVELD3", "IMV_VRIJVELD4", "IMV_VRIJVELD5", "IMV_VRIJPARAM1_FKP",
        "IMV_VRIJPARAM2_FKP", "IMV_VRIJPARAM3_FKP", "IMV_VRIJPARAM4_FKP", "IMV_VRIJDATUM1",
        "IMV_VRIJDATUM2"}) {
    const TField& source = last.FieldByName(field);
    if (!source.IsNull()) imv.FieldByName(field).SetValue(source.Value());
  }
}

void TVWOIngModuleVariantForm::ModuleVariantChange() {
  TQuilClientDataSet& imv = CDSVWOIngModuleVarianten;
  const Variant omschrijving = CDSSelectBevoegdeModuleVar.Lookup(
      "VMV_ID", imv.FieldByName("IMV_VWOMODULEVARIANT_FK").Value(), "VOM_OMSCHRIJVING");
  if (omschrijving.IsNull()) return;
  const std::string text = FirstChars(omschrijving.AsString(), 150);
  imv.FieldByName("IMV_OMSCHRIJVING").SetAsString(text);
  imv.FieldByName("IMV_COMMERCIELENAAM").SetAsString(text);
}

void TVWOIngModuleVariantForm::PeriodeChange() {
  TQuilClientDataSet& imv = CDSVWOIngModuleVarianten;
  if (imv.State() != DataSetState::Insert) return;
  const double van = imv.FieldByName("IMV_VAN").AsDateTime().value;
  const double tot = imv.FieldByName("IMV_TOT").AsDateTime().value;
  if (van == 0 || tot == 0) return;
  // One third of the way from the start to the end, to the nearest day.
  imv.FieldByName("IMV_REGISTRATIEMOMENT")
      .SetAsDateTime(TDateTime(std::round((2 * van + tot) / 3)));
}

// --- checks before a post ---------------------------------------------------------------------

void TVWOIngModuleVariantForm::CheckDavinciDatum(const TField& klaar) const {
  const TDateTime grens = EncodeDate(2013, 3, 31);
  if (klaar.AsString() == "+" &&
      CDSVWOIngModuleVarianten.FieldByName("IMV_REGISTRATIEMOMENT").AsDateTime() <= grens) {
    RaiseClientError(kDavinciDatum, DateToStr(grens));
  }
}

void TVWOIngModuleVariantForm::DavinciKlaarValidate(TField& field) {
  CheckDavinciDatum(field);
}

void TVWOIngModuleVariantForm::ModuleVariantenBeforePost() {
  TQuilClientDataSet& imv = CDSVWOIngModuleVarianten;
  CheckDavinciDatum(imv.FieldByName("IMV_DAVINCIKLAAR"));
  if (imv.FieldByName("IMV_LESTOT").AsDateTime() < imv.FieldByName("IMV_LESVAN").AsDateTime()) {
    SetFocus(EdtLesTot);
    RaiseClientError(kLesVanTot);
  }
  if (imv.FieldByName("IMV_TOT").AsDateTime() < imv.FieldByName("IMV_VAN").AsDateTime()) {
    SetFocus(EdtTot);
    RaiseClientError(kDavinciVanTot);
  }
  if (afgelastGewijzigd_) CheckAfgelastOp();
  if (CBToegewezen.Enabled && HasBit(imv.FieldByName("IMV_FLAGS").AsLargeInt(), kBitToegewezen) &&
      imv.FieldByName("IMV_AANTALLEERLINGEN").AsInteger() >= 1) {
    QuilMessage(kLoopbanen);
  }
}

void TVWOIngModuleVariantForm::CheckAfgelastOp() {
  TQuilClientDataSet& imv = CDSVWOIngModuleVarianten;
  TField& afgelast = imv.FieldByName("IMV_AFGELASTOP");
  // An emptied date is day 0, before every start.
  const TDateTime datum = afgelast.AsDateTime();
  const bool voorStart = datum < imv.FieldByName("IMV_VAN").AsDateTime() &&
                         !dbParams_.Get(kParamAfgelastAltijdLopend).AsBoolean();
  const std::string text =
      std::string(voorStart ? kAfgelastVoorStart : kAfgelastLopend) + kAfgelastKlas;
  const int kind = voorStart ? 0 : 1;
  const int answer =
      QuestionDlg(Caption, text, mtWarning, {{kModalJa, "Ja"}, {kModalNeen, "Neen"}}, kModalNeen);
  if (answer == kModalJa) {
    ExecuteJob(
        kJobAnnuleer, 0,
        CreateJobData({imv.FieldByName("IMV_ID").Value(),
                       Variant(static_cast<int64_t>(std::floor(datum.value))), Variant(kind)}));
    klasMarkeren_ = true;
  } else {
    afgelast.Clear();
  }
  afgelastGewijzigd_ = false;
}

void TVWOIngModuleVariantForm::MarkeerKlas() {
  ScopeExit done([this] { klasMarkeren_ = false; });
  TQuilClientDataSet* klas = klasSource_ != nullptr ? klasSource_->DataSet() : nullptr;
  if (klas == nullptr || klas->FindField("VWK_HEEFTAFGELASTEIMV") == nullptr || !klas->Active() ||
      klas->IsEmpty()) {
    return;
  }
  // The class screen keeps the change in its log and saves it with its own apply; the tag tells
  // it that this change needs none of its own checks.
  DisableControlsGuard quietKlas(*klas);
  DisableControlsGuard quietImv(CDSVWOIngModuleVarianten);
  const int tag = klas->Tag;
  const bool autoCommit = klas->GetAutoCommit();
  ScopeExit restore([klas, tag, autoCommit] {
    klas->Tag = tag;
    klas->SetAutoCommit(autoCommit);
  });
  klas->Tag |= kTagGeenControle;
  klas->SetAutoCommit(false);
  klas->Edit();
  klas->FieldByName("VWK_HEEFTAFGELASTEIMV").SetAsBoolean(true);
  klas->Post();
}

void TVWOIngModuleVariantForm::ModuleVariantenAfterPost() {
  LCModuleVariant.Enabled = false;
  FilterBevoegdeModuleVar(false);
  afgelastGewijzigd_ = false;
  UpdateRegistratiemomentReadOnly();
  UpdateEnabling();
}

void TVWOIngModuleVariantForm::ModuleVariantenAfterCancel() {
  LCModuleVariant.Enabled = false;
  FilterBevoegdeModuleVar(false);
  afgelastGewijzigd_ = false;
}

void TVWOIngModuleVariantForm::ModuleVariantenAfterScroll() {
  UpdateRegistratiemomentReadOnly();
  UpdateEnabling();
  UpdateVerificatie();
  if (CDSVWOIngModuleVarianten.State() == DataSetState::Browse) FilterBevoegdeModuleVar(false);
}

ReconcileAction TVWOIngModuleVariantForm::ModuleVariantenReconcileError(const ReconcileInfo& info) {
  if (info.kind == DeltaKind::Insert) {
    LCModuleVariant.Enabled = true;
    FilterBevoegdeModuleVar(true);
  }
  MessageDlg(info.message, mtError, {mbOK});
  return ReconcileAction::Skip;
}

// --- rules that follow the record -------------------------------------------------------------

void TVWOIngModuleVariantForm::UpdateRegistratiemomentReadOnly() {
  TQuilClientDataSet& imv = CDSVWOIngModuleVarianten;
  TField& moment = imv.FieldByName("IMV_REGISTRATIEMOMENT");
  moment.ReadOnly = imv.State() != DataSetState::Insert && !imv.IsEmpty() &&
                    serverDatum_ > moment.AsDateTime() &&
                    imv.FieldByName("IMV_DAVINCIKLAAR").AsString() == "+";
}

void TVWOIngModuleVariantForm::UpdateEnabling() {
  TQuilClientDataSet& imv = CDSVWOIngModuleVarianten;
  int64_t klasFlags = 0;
  if (klasSource_ != nullptr && klasSource_->DataSet() != nullptr) {
    if (TField* flags = klasSource_->DataSet()->FindField("VWK_FLAGS"))
      klasFlags = flags->AsLargeInt();
  }
  CBDavinciKlaar.Enabled = imv.FieldByName("IMV_DAVINCIKLAAR").AsString() != "+" &&
                           !HasBit(klasFlags, kBitKlasNooitMelden);
  CBToegewezen.Enabled = !HasBit(imv.FieldByName("IMV_FLAGS").AsLargeInt(), kBitToegewezen) ||
                         imv.FieldByName("IMV_AANTALLEERLINGEN").AsInteger() == 0;
}

void TVWOIngModuleVariantForm::UpdateVerificatie() {
  TQuilClientDataSet& imv = CDSVWOIngModuleVarianten;
  const std::string status = imv.FieldByName("IMV_VERIFICATIESTATUS").AsString();
  const bool zichtbaar = !status.empty() && status != "?";
  LblVerificatieStatus.Visible = zichtbaar;
  LblVerificatieDatum.Visible = zichtbaar;
  LblVerificatieStatus.Caption = imv.FieldByName("VERIFICATIESTATUS").AsString();
  LblVerificatieDatum.Caption = imv.FieldByName("VERIFICATIEDATUM").AsString();
}

void TVWOIngModuleVariantForm::ModuleVariantenCalcFields() {
  TQuilClientDataSet& imv = CDSVWOIngModuleVarianten;
  const TField& id = imv.FieldByName("IMV_ID");
  imv.FieldByName("IMV_CURSUSNUMMER").SetAsString(id.IsNull() ? "" : Cursusnummer(id.AsLargeInt()));
  imv.FieldByName("IMV_LESGEVER")
      .SetAsString(NaamVan(CDSLesgever, imv.FieldByName("IMV_LESGEVER_FK")));
  const TField& statusFk = imv.FieldByName("IMV_VERIFICATIESTATUS_FK");
  std::string status;
  if (!statusFk.IsNull() && CDSVerificatieStatus.Active()) {
    status = CDSVerificatieStatus.Lookup("P_ID", statusFk.Value(), "P_CODE").AsString();
  }
  imv.FieldByName("IMV_VERIFICATIESTATUS").SetAsString(status);
  imv.FieldByName("VERIFICATIESTATUS").SetAsString("Verificatiestatus: " + status);
  const TField& datum = imv.FieldByName("IMV_VERIFICATIEDATUM");
  imv.FieldByName("VERIFICATIEDATUM")
      .SetAsString("Verificatiedatum: " + (datum.IsNull()
                                               ? std::string()
                                               : FormatDateTime("dd/mm/yyyy", datum.AsDateTime())));
  imv.FieldByName("IMV_LESMOMENT")
      .SetAsString(LesdagenTekst(imv.FieldByName("IMV_LESDAGEN").AsLargeInt()));
}

void TVWOIngModuleVariantForm::FilterBevoegdeModuleVar(bool on) {
  TQuilClientDataSet& list = CDSSelectBevoegdeModuleVar;
  TField* vestiging = klasSource_ != nullptr && klasSource_->DataSet() != nullptr
                          ? klasSource_->DataSet()->FindField("VWK_VESTIGINGSPLAATS_FK")
                          : nullptr;
  if (on && vestiging != nullptr) {
    list.SetFilter(Format(kBevoegdFilter, vestiging->AsInteger()));
    list.SetFiltered(true);
  } else {
    list.SetFiltered(false);
  }
}

//! The lesson places offered: those of every location of the class's Davinci location when the
//! user's preference says so, else those of the class's own location.
void TVWOIngModuleVariantForm::FilterLesplaatsen() {
  TQuilClientDataSet* klas =
      MasterDataSource() != nullptr ? MasterDataSource()->DataSet() : nullptr;
  CDSSelectLesplaats.SetFiltered(false);
  if (klas == nullptr || !klas->Active() || klas->IsEmpty()) return;
  if (AdminPrefs().VWOToonAlleLesplaatsen()) {
    if (TField* f = klas->FindField("VP_VWOVESTIGINGSPLAATS_FK"); f != nullptr && !f->IsNull()) {
      CDSSelectLesplaats.MaybeApplyFilter("(VP_VWOVESTIGINGSPLAATS_FK = " + f->AsString() + ")");
    }
  } else if (TField* f = klas->FindField("VWK_VESTIGINGSPLAATS_FK"); f != nullptr && !f->IsNull()) {
    CDSSelectLesplaats.MaybeApplyFilter("(VP_ID = " + f->AsString() + ")");
  }
}

void TVWOIngModuleVariantForm::FilterLokalen() {
  TQuilClientDataSet* klas =
      MasterDataSource() != nullptr ? MasterDataSource()->DataSet() : nullptr;
  CDSSelectLokaal.SetFiltered(false);
  if (klas == nullptr || !klas->Active() || klas->IsEmpty()) return;
  if (AdminPrefs().VWOToonAlleLesplaatsen()) {
    if (TField* f = klas->FindField("VP_VWOVESTIGINGSPLAATS_FK"); f != nullptr && !f->IsNull()) {
      CDSSelectLokaal.MaybeApplyFilter("(VP_VWOVESTIGINGSPLAATS_FK = " + f->AsString() + ")");
    }
  } else if (TField* f = klas->FindField("VWK_VESTIGINGSPLAATS_FK"); f != nullptr && !f->IsNull()) {
    CDSSelectLokaal.MaybeApplyFilter("(LK_VESTIGINGSPLAATS_FK = " + f->AsString() + ")");
  }
}

void TVWOIngModuleVariantForm::QuilDBFormCanDelete(TQuilClientDataSet& dataset, bool& allow) {
  // A module variant known to Davinci is cancelled, not deleted.
  if (&dataset == &CDSVWOIngModuleVarianten) {
    allow = dataset.Active() && dataset.FieldByName("IMV_DAVINCIID").IsNull();
  }
}

void TVWOIngModuleVariantForm::QuilDBFormGetPrintParams(const std::string& reportFile,
                                                        TPrintParams& params) {
  (void)reportFile;
  params.SetValue("VWK_ID", CDSVWOIngModuleVarianten.FieldByName("IMV_VWOKLAS_FK").AsString());
}

// --- the Doc 3B page and the free-field captions ----------------------------------------------

void TVWOIngModuleVariantForm::PageChange() {
  if (PCModuleVariant.ActivePage() == &TSDoc3B) {
    CDSDoc3B.Open();
  } else {
    CDSDoc3B.Close();
  }
}

void TVWOIngModuleVariantForm::Doc3BBeforeOpen() {
  if (!CDSLesgever.Active()) CDSLesgever.Open();
  if (!CDSIngVak.Active()) CDSIngVak.Open();
}

void TVWOIngModuleVariantForm::Doc3BCalcFields() {
  TQuilClientDataSet& doc3b = CDSDoc3B;
  doc3b.FieldByName("VD3_LESGEVER")
      .SetAsString(NaamVan(CDSLesgever, doc3b.FieldByName("VD3_LESGEVER_FK")));
  doc3b.FieldByName("VD3_TITULARIS")
      .SetAsString(NaamVan(CDSLesgever, doc3b.FieldByName("VD3_TITULARIS_FK")));
  const TField& vak = doc3b.FieldByName("VD3_OFFICIEELVAK_FK");
  std::string text;
  if (!vak.IsNull() && CDSIngVak.Active()) {
    const Variant code = CDSIngVak.Lookup("IV_OFFICIEELVAK_FK", vak.Value(), "IV_CODE");
    if (!code.IsNull()) {
      text = code.AsString() + " " +
             CDSIngVak.Lookup("IV_OFFICIEELVAK_FK", vak.Value(), "IV_NAAMGEBRUIKER").AsString();
    }
  }
  doc3b.FieldByName("VD3_OFFICIEELVAK").SetAsString(text);
}

void TVWOIngModuleVariantForm::Doc3BLesgeverChange() {
  TField& titularis = CDSDoc3B.FieldByName("VD3_TITULARIS_FK");
  if (titularis.IsNull()) titularis.SetValue(CDSDoc3B.FieldByName("VD3_LESGEVER_FK").Value());
}

void TVWOIngModuleVariantForm::OmschrLabelAfterOpen() {
  TQuilClientDataSet& labels = CDS_OmschrLabel;
  for (labels.First(); !labels.Eof(); labels.Next()) {
    const std::string code(Trim(labels.FieldByName("P_CODE").AsString()));
    TLabel* label = nullptr;
    for (TControl* child : TSVrijeVelden.Children()) {
      auto* candidate = dynamic_cast<TLabel*>(child);
      if (candidate != nullptr && SameText(candidate->Name(), code)) label = candidate;
    }
    if (label == nullptr) RaiseClientError(kLabelNietGevonden, code);
    label->Caption = labels.FieldByName("P_OMSCHRIJVING").AsString();
  }
}

// --- actions ----------------------------------------------------------------------------------

bool TVWOIngModuleVariantForm::Browsing() const {
  const TQuilClientDataSet& imv = CDSVWOIngModuleVarianten;
  return imv.State() == DataSetState::Browse && !imv.IsEmpty();
}

bool TVWOIngModuleVariantForm::DavinciRechten() const {
  return Browsing() && !CDSVWOIngModuleVarianten.FieldByName("IMV_DAVINCIID").IsNull() &&
         (HasRight(kRightChange) || HasRight(kRightInsert) || HasRight(kRightDelete));
}

void TVWOIngModuleVariantForm::ReloadAtSameRecord() {
  TQuilClientDataSet& imv = CDSVWOIngModuleVarianten;
  DisableControlsGuard quiet(imv);
  const int64_t id = imv.FieldByName("IMV_ID").AsLargeInt();
  imv.Close();
  imv.Open();
  imv.LocateID(id);
}

void TVWOIngModuleVariantForm::ALesmomentReceptExecute() {
  TQuilClientDataSet& imv = CDSVWOIngModuleVarianten;
  auto dialog = CreateDeclaredDialog<TVWOLesUitReceptDialoog>(*this, "TVWOLesUitReceptDialoog");
  ScopeExit filtersOff([this] {
    CDSSelectLokaal.SetFiltered(false);
    FilterLesplaatsen();
  });
  if (!CDSLesgever.Active()) CDSLesgever.Open();
  if (!CDSSelectLokaal.Active()) CDSSelectLokaal.Open();
  FilterLokalen();
  dialog->Lokalen = &DSSelectLokaal;
  FilterLesplaatsen();
  dialog->Lesplaatsen = &DSSelectLesplaats;
  dialog->LesGevers = &DSLesgever;
  dialog->DoelID = imv.ParamByName("VWK_ID").value.AsInteger();
  dialog->DoelTekst = imv.FieldByName("IMV_ID").AsString();
  dialog->SetDatum(1, imv.FieldByName("IMV_LESVAN").AsDateTime());
  dialog->SetDatum(2, imv.FieldByName("IMV_LESTOT").AsDateTime());
  if (TDataSource* klas =
          FindDataSourceWithField(imv.GetTheDatasource(), "VWK_STANDAARDLOKAAL_FK")) {
    dialog->StandaardLokaal = IdOrMinus1(klas->DataSet()->FieldByName("VWK_STANDAARDLOKAAL_FK"));
  }
  dialog->StandaardLesgever = IdOrMinus1(imv.FieldByName("IMV_LESGEVER_FK"));
  if (!imv.FieldByName("IMV_LESPLAATS_FK").IsNull()) {
    dialog->StandaardLesplaats = imv.FieldByName("IMV_LESPLAATS_FK").AsInteger();
  }
  if (dialog->ShowModal() == mrOk) ReloadAtSameRecord();
}

void TVWOIngModuleVariantForm::ARegistratiemomentExecute() {
  TQuilClientDataSet& imv = CDSVWOIngModuleVarianten;
  if (serverDatum_ > imv.FieldByName("IMV_REGISTRATIEMOMENT").AsDateTime() &&
      imv.FieldByName("IMV_DAVINCIKLAAR").AsString() == "+") {
    RaiseClientError(kRegistratieVerstreken);
  }
  ExecuteJob(kJobRegistratiemoment, -1,
             CreateJobData({imv.FieldByName("IMV_ID").Value(), Variant(1), Variant(4),
                            Variant(AdminPrefs().WerkDatum())}));
  ReloadAtSameRecord();
}

void TVWOIngModuleVariantForm::ACopyLesgeverExecute(bool toekomstig) {
  TQuilClientDataSet& imv = CDSVWOIngModuleVarianten;
  const TField& lesgever = imv.FieldByName("IMV_LESGEVER_FK");
  if (lesgever.IsNull() || lesgever.AsInteger() < 1) RaiseClientError(kGeenLesgever);
  const int64_t teacher = lesgever.AsInteger();
  TQuilClientDataSet& lessen = CDSLessen;
  ScopeExit close([&lessen] {
    lessen.CancelUpdates();
    lessen.Close();
  });
  lessen.SetFiltered(false);
  lessen.Close();
  lessen.ParamByName("IMV_ID").value = imv.FieldByName("IMV_ID").Value();
  lessen.Open();
  FilterGuard filter(lessen);
  if (toekomstig) {
    lessen.SetFilter(
        Format("VWL_DATUM >= '%s'", FormatDateTime("dd/mm/yyyy", AdminPrefs().WerkDatum())));
    lessen.SetFiltered(true);
  }
  {
    DisableControlsGuard quiet(lessen);
    for (lessen.First(); !lessen.Eof(); lessen.Next()) {
      lessen.Edit();
      lessen.FieldByName("VWL_LESGEVER_FK").SetAsInteger(teacher);
      lessen.Post();
    }
  }
  lessen.ApplyUpdates(0);
}

void TVWOIngModuleVariantForm::ARaadpleegExecute() {
  ScopeExit close([this] {
    CDSZidezuzoCP.Close();
    CDSDiscPersoneelFK.Close();
  });
  TField& instelling = instellingSource_->DataSet()->FieldByName("IS_ID");
  CDSZidezuzoCP.Close();
  CDSZidezuzoCP.ParamByName("IS_ID").value = instelling.Value();
  CDSZidezuzoCP.Open();
  if (CDSZidezuzoCP.IsEmpty()) RaiseClientError(kGeenContactpersoon);
  CDSDiscPersoneelFK.Close();
  CDSDiscPersoneelFK.ParamByName("IS_ID").value = instelling.Value();
  CDSDiscPersoneelFK.ParamByName("IC_TYPE_FKP").value = CDSZidezuzoCP.FieldByName("P_ID").Value();
  CDSDiscPersoneelFK.Open();
  if (CDSDiscPersoneelFK.IsEmpty()) RaiseClientError(kGeenPersoneelslid);

  TQuilClientDataSet& call = CDSWebserviceCall;
  call.Close();
  call.ParamByName("WC_ID").value = Variant(-1);
  call.Open();
  ScopeExit closeCall([&call] {
    call.CancelUpdates();
    call.Close();
  });
  call.Append();
  call.FieldByName("WC_ID").SetAsLargeInt(GetConnection().GetNewID("WEBSERVICECALL"));
  call.FieldByName("WC_CALLFOUTCODE").SetAsString("X");
  call.FieldByName("WC_CALLSTATUS").SetAsString("X");
  call.FieldByName("WC_CALLTYPE").SetAsInteger(kCallRaadpleeg);
  call.FieldByName("WC_ZIDEZUZOID_FK")
      .SetValue(CDSVWOIngModuleVarianten.FieldByName("IMV_DAVINCIID").Value());
  call.FieldByName("WC_PERSONEEL_FK")
      .SetValue(CDSDiscPersoneelFK.FieldByName("IC_PERSONEEL_FK").Value());
  call.FieldByName("WC_SCHOOL_FK")
      .SetValue(instellingSource_->DataSet()->FieldByName("SC_ID").Value());
  call.FieldByName("WC_AANMAAKDOOR").SetAsInteger(GetConnection().GetUserID());
  call.FieldByName("WC_AANMAAKOP").SetAsDateTime(DateOf(GetConnection().GetServerDatum()));
  call.FieldByName("WC_FLAGS").SetAsInteger(0);
  call.Post();
  QuilMessage(kRaadplegingGeplaatst);
}

void TVWOIngModuleVariantForm::AAnnuleerIMVExecute() {
  TQuilClientDataSet& imv = CDSVWOIngModuleVarianten;
  auto dialog = CreateDeclaredDialog<TVWOAnnuleerIMVForm>(*this, "TVWOAnnuleerIMVForm");
  dialog->Init(imv.FieldByName("IMV_ID").AsInteger(),
               instellingSource_->DataSet()->FieldByName("SC_ID").AsInteger(),
               instellingSource_->DataSet()->FieldByName("IS_ID").AsInteger(),
               imv.FieldByName("IMV_AFKORTING").AsString(), imv.FieldByName("VMV_CODE").AsString(),
               imv.FieldByName("IMV_OMSCHRIJVING").AsString(), GetConnection());
  dialog->ShowModal();
  imv.Close();
  imv.Open();
}

namespace frmVWOIngModuleVariant {

void Initialization() {
  RegisterScreenClass(kClassName, FactoryOf<TVWOIngModuleVariantForm>());
  // The Davinci calls of the current module variant, as ACommDavinci shows them (the pupils'
  // calls of ACommDavinciCursist come in the same dialog).
  RegisterDialogClass(
      "TDepartementCallsDialog", kClassName, [](TQuilDBForm& opener) -> std::unique_ptr<TQuilForm> {
        TQuilClientDataSet& imv =
            dynamic_cast<TVWOIngModuleVariantForm&>(opener).CDSVWOIngModuleVarianten;
        auto dialog =
            std::make_unique<TDepartementCallsDialog>(opener.Application(), DavinciCallTexts());
        dialog->SetHeader("Davinci communicatie voor ing. modulevariant %s %s",
                          {imv.FieldByName("IMV_AFKORTING").AsString(),
                           imv.FieldByName("IMV_OMSCHRIJVING").AsString()});
        dialog->InitData(opener.GetConnection(), "DSPDavinciModuleVar",
                         "IMV_ID=" + imv.FieldByName("IMV_ID").AsString());
        return dialog;
      });
  RegisterDialogClass("TVWOAnnuleerIMVForm", kClassName,
                      [](TQuilDBForm& form) -> std::unique_ptr<TQuilForm> {
                        return std::make_unique<TVWOAnnuleerIMVForm>(form.Application());
                      });
}

}  // namespace frmVWOIngModuleVariant

}  // namespace kavel

#include "host/domain/Departementconst.h"

#include <iterator>

#include "host/base/SysUtils.h"
#include "host/data/DavinciCalls.h"

namespace quil {

namespace {

using davinci::CallAction;
using davinci::CallType;
using davinci::ObjectType;

struct CallTypeText {
  int code;
  const char* text;
};
constexpr CallTypeText kCallTypes[] = {
    {CallType(ObjectType::OpleidingsVariant, CallAction::Aanmelden), "Opleidingsvariant aanmelden"},
    {CallType(ObjectType::OpleidingsVariant, CallAction::Wijzigen), "Opleidingsvariant wijzigen"},
    {CallType(ObjectType::OpleidingsVariant, CallAction::Annuleren), "Opleidingsvariant annuleren"},
    {CallType(ObjectType::ModuleVariant, CallAction::Aanmelden), "Modulevariant aanmelden"},
    {CallType(ObjectType::ModuleVariant, CallAction::Wijzigen), "Modulevariant wijzigen"},
    {CallType(ObjectType::ModuleVariant, CallAction::Annuleren), "Modulevariant annuleren"},
    {CallType(ObjectType::Les, CallAction::Aanmelden), "Les aanmelden"},
    {CallType(ObjectType::Les, CallAction::Wijzigen), "Les wijzigen"},
    {CallType(ObjectType::Les, CallAction::Annuleren), "Les annuleren"},
    {CallType(ObjectType::Klas, CallAction::Aanmelden), "Klas aanmelden"},
    {CallType(ObjectType::Klas, CallAction::Wijzigen), "Klas wijzigen"},
    {CallType(ObjectType::Klas, CallAction::Annuleren), "Klas annuleren"},
    {CallType(ObjectType::Cursist, CallAction::Aanmelden), "Cursist inschrijven"},
    {CallType(ObjectType::Cursist, CallAction::Wijzigen), "Inschrijving cursist wijzigen"},
    {CallType(ObjectType::Cursist, CallAction::Annuleren), "Cursist uitschrijven"},
    {CallType(ObjectType::Registreeroverdracht, CallAction::Aanmelden),
     "Registreer overdracht melden"},
    {CallType(ObjectType::Registreeroverdracht, CallAction::Wijzigen),
     "Registreer overdracht wijzigen"},
    {CallType(ObjectType::Registreeroverdracht, CallAction::Annuleren),
     "Registreer overdracht annuleren"},
    {CallType(ObjectType::Attest, CallAction::Aanmelden), "Attest melden"},
    {CallType(ObjectType::Attest, CallAction::Annuleren), "Attest annuleren"},
    {CallType(ObjectType::Participatie, CallAction::Annuleren), "Participatie annuleren"},
};

struct CharText {
  char code;
  const char* text;
};
constexpr CharText kStatuses[] = {
    {davinci::status::kWachtend, "Wachtend"},   {davinci::status::kOpnieuw, "Opnieuw te versturen"},
    {davinci::status::kVerzonden, "Verzonden"}, {davinci::status::kGeweigerd, "Geweigerd"},
    {davinci::status::kMislukt, "Mislukt"},
};
constexpr CharText kFoutcodes[] = {
    {davinci::foutcode::kOk, "Aanvaard"},
    {davinci::foutcode::kRegel, "Geweigerd: voldoet niet aan de regels van Davinci"},
    {davinci::foutcode::kOnbekend, "Geweigerd: onbekend bij Davinci"},
    {davinci::foutcode::kConflict, "Geweigerd: intussen gewijzigd bij Davinci"},
    {davinci::foutcode::kVerbinding, "Geen verbinding met Davinci"},
    {davinci::foutcode::kServerfout, "Davinci niet beschikbaar"},
    {davinci::foutcode::kNietGemachtigd, "Geweigerd: niet gemachtigd"},
};

constexpr const char* kObjectStatuses[] = {"Niet aangemeld", "Aangemeld", "Goedgekeurd",
                                           "Afgekeurd", "Geannuleerd"};

std::string CharCodeText(std::string_view code, const CharText* first, const CharText* last) {
  if (code.empty()) return "";
  if (code.size() == 1) {
    for (const CharText* it = first; it != last; ++it) {
      if (it->code == code[0]) return it->text;
    }
  }
  return Format("Onbekende code (%s)", std::string(code));
}

}  // namespace

std::string TDavinciUtils::DavinciCallTypeToString(int callType) {
  for (const CallTypeText& entry : kCallTypes) {
    if (entry.code == callType) return entry.text;
  }
  return Format("Onbekend soort oproep (%d)", callType);
}

std::string TDepUtils::StatusString(std::string_view status) {
  return CharCodeText(status, std::begin(kStatuses), std::end(kStatuses));
}

std::string TDepUtils::FoutcodeString(std::string_view foutcode) {
  return CharCodeText(foutcode, std::begin(kFoutcodes), std::end(kFoutcodes));
}

std::string GetZidezuzoIDStatusdescription(int status) {
  if (status >= 0 && status < static_cast<int>(std::size(kObjectStatuses))) {
    return kObjectStatuses[status];
  }
  return Format("Onbekende status (%d)", status);
}

const TDavinciCallTexts& DavinciCallTexts() {
  static const TDavinciCallTexts texts{
      .callType = &TDavinciUtils::DavinciCallTypeToString,
      .status = &TDepUtils::StatusString,
      .foutcode = &TDepUtils::FoutcodeString,
      .objectStatus = &GetZidezuzoIDStatusdescription,
  };
  return texts;
}

}  // namespace quil

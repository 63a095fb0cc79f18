// DavinciCalls: the codes stored in the Davinci id records (ZIDEZUZOID) and the web-service
// calls (WEBSERVICECALL).
//
// The server writes these codes and the host shows them; both read them from here, so that a
// code has one definition. Their texts, what a user reads, are the host's code tables
// (host/domain/Departementconst.h); docs/davinci-codes.md lists codes and texts together.
//
// A call type is the kind of object times 100 plus the action, so that `type / 100` is the
// object kind and sending calls in that order reports programme variants before module variants
// before lessons.
#pragma once

#include <cstdint>

namespace quil::davinci {

//! ID_TYPE: the kind of object a Davinci id record stands for.
enum class ObjectType : int16_t {
  OpleidingsVariant = 1,  //!< an organised programme variant (CIO_ID)
  ModuleVariant = 2,      //!< an organised module variant (IMV_ID)
  Les = 3,                //!< a lesson (VWL_ID)
  Klas = 4,               //!< a class (VWK_ID)
  Cursist = 5,            //!< a pupil enrolled in a module variant (ID_ID2 IMV_ID, ID_ID3 VWK_ID)
  Registreeroverdracht = 6,  //!< a register transfer (RO_ID)
  Attest = 7,                //!< a certificate (ID_ID2 the IMV_ID it was earned in)
  Participatie = 8,          //!< a pupil's participation in a lesson (VPA_ID; ID_ID2 IMV_ID)
};

//! ID_STATUSOBJECT: the state of the object at Davinci.
enum class ObjectStatus : int16_t {
  NietAangemeld = 0,
  Aangemeld = 1,
  Goedgekeurd = 2,
  Afgekeurd = 3,
  Geannuleerd = 4,
};

//! The action of a call: its type modulo 100.
enum class CallAction : int16_t { Aanmelden = 1, Wijzigen = 2, Annuleren = 3 };

//! WC_CALLTYPE of an action on a kind of object.
constexpr int16_t CallType(ObjectType object, CallAction action) {
  return static_cast<int16_t>(static_cast<int16_t>(object) * 100 + static_cast<int16_t>(action));
}
constexpr ObjectType ObjectOfCall(int callType) {
  return static_cast<ObjectType>(callType / 100);
}
constexpr CallAction ActionOfCall(int callType) {
  return static_cast<CallAction>(callType % 100);
}

//! WC_CALLSTATUS.
namespace status {
inline constexpr char kWachtend = 'W';   //!< made, never attempted
inline constexpr char kOpnieuw = 'H';    //!< to be sent again (after a failure, or marked again)
inline constexpr char kVerzonden = 'V';  //!< sent and accepted by Davinci
inline constexpr char kGeweigerd = 'G';  //!< refused by Davinci; WC_FOUT says why
inline constexpr char kMislukt = 'M';    //!< not delivered within the attempts; waits for a user
}  // namespace status

//! WC_CALLFOUTCODE: the result of the last attempt.
namespace foutcode {
inline constexpr char kOk = 'O';
inline constexpr char kRegel = 'R';           //!< the call breaks one of Davinci's rules
inline constexpr char kOnbekend = 'N';        //!< Davinci does not know the object
inline constexpr char kConflict = 'C';        //!< the concurrency token no longer matches
inline constexpr char kVerbinding = 'T';      //!< no connection or no answer in time
inline constexpr char kServerfout = 'S';      //!< Davinci failed or was unavailable
inline constexpr char kNietGemachtigd = 'A';  //!< Davinci refused the sender's credentials
}  // namespace foutcode

//! True for a call a user may mark to be sent again: refused or out of attempts.
constexpr bool MayBeMarkedAgain(char callStatus) {
  return callStatus == status::kGeweigerd || callStatus == status::kMislukt;
}

}  // namespace quil::davinci

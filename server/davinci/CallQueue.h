// CallQueue: the Davinci calls waiting in WEBSERVICECALL, as a sender takes and settles them.
//
// A sender claims a call before it sends it and settles it afterwards, each in a short
// transaction of its own, so the database is never held while Davinci answers. Claiming does not
// change the call's state: it names the sender (WC_ZENDER) and moves the next attempt
// (WC_VOLGENDEPOGING) to the end of the claim. A sender that dies while sending therefore leaves
// a call that is still waiting and is taken again once the claim ends; a call is recorded as sent
// only by the sender that holds it. Several senders, in one process or in several processes on
// one database, never take the same call twice while its claim runs.
//
// Order: due calls are taken by object kind (WC_CALLTYPE / 100: programme variants, module
// variants, lessons, then the rest) and within a kind in the order they were made (WC_ID).
// All SQL is portable; the functions take the connection of the sender's own thread.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "host/base/DateTime.h"
#include "server/db/Database.h"

namespace quil::server {

//! A claimed call with what its message needs.
struct WaitingCall {
  int64_t id = 0;
  int callType = 0;
  int64_t zidezuzoId = 0;
  std::string data;              //!< WC_DATA: the object's data as JSON ("" when none)
  std::string davinciId;         //!< ID_DAVINCIID, "" before Davinci gave one
  std::string concurrencyToken;  //!< ID_DAVINCICONCURRENCYTOKEN
  std::string schoolNumber;      //!< SC_INSTELLINGSNUMMER of WC_SCHOOL_FK
  int attempts = 0;              //!< WC_POGINGEN before this attempt
};

//! What one attempt came to.
struct CallOutcome {
  enum class Kind { Accepted, Refused, Failed };
  Kind kind = Kind::Failed;
  char foutcode = 0;  //!< WC_CALLFOUTCODE
  std::string error;  //!< WC_FOUT; empty when accepted
  //! From an accepted answer; empty keeps what the Davinci id record holds.
  std::string davinciId{};
  std::string concurrencyToken{};
};

//! When a failed call is tried again: after firstDelay, doubling up to maxDelay, at most
//! maxAttempts attempts in all; then the call waits for a user to mark it again.
struct RetryPolicy {
  int maxAttempts = 5;
  std::chrono::seconds firstDelay{30};
  std::chrono::seconds maxDelay{3600};

  //! The wait after the given number of failed attempts (1 = the first failed).
  std::chrono::seconds DelayAfter(int failedAttempts) const;
};

//! Claims the next due call (state waiting or to be sent again, next attempt empty or not after
//! `now`) for `sender` until `claimUntil`; nothing when no call is due. A PostgreSQL connection
//! may take the candidate row with FOR UPDATE SKIP LOCKED; the claim's compare-and-set keeps it
//! correct without.
std::optional<WaitingCall> TakeNextWaitingCall(Database& db, std::string_view sender, TDateTime now,
                                               TDateTime claimUntil);

//! Settles an attempt: state, result code, error text, attempts, first and last attempt, next
//! attempt; an accepted call also updates its Davinci id record. False (and nothing changed) when
//! `sender` no longer holds the call.
bool RecordCallOutcome(Database& db, const WaitingCall& call, std::string_view sender,
                       const CallOutcome& outcome, TDateTime now, const RetryPolicy& policy);

//! Gives up a claim without an attempt (the sender stops): the call is due again at once.
void ReleaseCall(Database& db, const WaitingCall& call, std::string_view sender);

}  // namespace quil::server

#include "server/davinci/CallQueue.h"

#include <algorithm>

#include "host/data/DavinciCalls.h"
#include "server/db/ValueCodec.h"

namespace quil::server {

namespace {

using davinci::ObjectStatus;

//! Due: waiting or to be sent again, with no next attempt or one that has come.
constexpr const char* kDue =
    "WC_CALLSTATUS IN ('W', 'H') AND (WC_VOLGENDEPOGING IS NULL OR WC_VOLGENDEPOGING <= :NU)";

void Bind(Statement& stmt, std::string_view name, const Variant& value, FieldType type) {
  const int index = stmt.ParameterIndex(name);
  if (index >= 0) BindValue(stmt, index, value, type);
}

void BindMoment(Statement& stmt, std::string_view name, TDateTime moment) {
  Bind(stmt, name, Variant(moment), FieldType::DateTime);
}

std::string Text(const Statement& stmt, int column) {
  return stmt.ColumnStorage(column) == StorageClass::Null ? std::string()
                                                          : std::string(stmt.ColumnText(column));
}

std::string Code(char c) {
  return std::string(1, c);
}

//! The state of the object at Davinci once a call of this type was accepted.
ObjectStatus StatusAfter(int callType) {
  return davinci::ActionOfCall(callType) == davinci::CallAction::Annuleren
             ? ObjectStatus::Geannuleerd
             : ObjectStatus::Aangemeld;
}

}  // namespace

std::chrono::seconds RetryPolicy::DelayAfter(int failedAttempts) const {
  std::chrono::seconds delay = firstDelay;
  for (int i = 1; i < failedAttempts && delay < maxDelay; ++i) delay *= 2;
  return std::min(delay, maxDelay);
}

std::optional<WaitingCall> TakeNextWaitingCall(Database& db, std::string_view sender, TDateTime now,
                                               TDateTime claimUntil) {
  TransactionGuard transaction(db);
  auto candidates = db.Prepare(std::string("SELECT WC_ID FROM WEBSERVICECALL WHERE ") + kDue +
                               " ORDER BY WC_CALLTYPE / 100, WC_ID");
  BindMoment(*candidates, "NU", now);
  auto claim = db.Prepare(std::string("UPDATE WEBSERVICECALL SET WC_VOLGENDEPOGING = :TOT, "
                                      "WC_ZENDER = :ZENDER WHERE WC_ID = :ID AND ") +
                          kDue);
  BindMoment(*claim, "NU", now);
  BindMoment(*claim, "TOT", claimUntil);
  Bind(*claim, "ZENDER", Variant(std::string(sender)), FieldType::String);
  // Another sender may have claimed a candidate since it was read; the claim's condition
  // notices, and the next candidate is tried.
  std::optional<int64_t> taken;
  while (!taken && candidates->Step()) {
    const int64_t id = candidates->ColumnInt64(0);
    claim->Reset();
    Bind(*claim, "ID", Variant(id), FieldType::LargeInt);
    claim->Step();
    if (db.Changes() == 1) taken = id;
  }
  candidates->Reset();
  if (!taken) return std::nullopt;

  auto read = db.Prepare(
      "SELECT W.WC_ID, W.WC_CALLTYPE, W.WC_ZIDEZUZOID_FK, W.WC_DATA, I.ID_DAVINCIID, "
      "I.ID_DAVINCICONCURRENCYTOKEN, S.SC_INSTELLINGSNUMMER, W.WC_POGINGEN "
      "FROM WEBSERVICECALL W LEFT JOIN ZIDEZUZOID I ON I.ID_ID = W.WC_ZIDEZUZOID_FK "
      "LEFT JOIN SCHOOL S ON S.SC_ID = W.WC_SCHOOL_FK WHERE W.WC_ID = :ID");
  Bind(*read, "ID", Variant(*taken), FieldType::LargeInt);
  read->Step();
  WaitingCall call;
  call.id = read->ColumnInt64(0);
  call.callType = static_cast<int>(read->ColumnInt64(1));
  call.zidezuzoId = read->ColumnInt64(2);
  call.data = Text(*read, 3);
  call.davinciId = Text(*read, 4);
  call.concurrencyToken = Text(*read, 5);
  call.schoolNumber = Text(*read, 6);
  call.attempts = static_cast<int>(read->ColumnInt64(7));
  read->Reset();
  transaction.Commit();
  return call;
}

bool RecordCallOutcome(Database& db, const WaitingCall& call, std::string_view sender,
                       const CallOutcome& outcome, TDateTime now, const RetryPolicy& policy) {
  const int attempts = call.attempts + 1;
  char status = davinci::status::kVerzonden;
  Variant next;
  switch (outcome.kind) {
    case CallOutcome::Kind::Accepted:
      status = davinci::status::kVerzonden;
      break;
    case CallOutcome::Kind::Refused:
      status = davinci::status::kGeweigerd;
      break;
    case CallOutcome::Kind::Failed:
      if (attempts < policy.maxAttempts) {
        status = davinci::status::kOpnieuw;
        const auto delay = policy.DelayAfter(attempts);
        next = Variant(TDateTime(now + static_cast<double>(delay.count()) / 86400.0));
      } else {
        status = davinci::status::kMislukt;
      }
      break;
  }

  TransactionGuard transaction(db);
  auto settle = db.Prepare(
      "UPDATE WEBSERVICECALL SET WC_CALLSTATUS = :STATUS, WC_CALLFOUTCODE = :FOUTCODE, "
      "WC_FOUT = :FOUT, WC_POGINGEN = :POGINGEN, WC_EERSTECALL = COALESCE(WC_EERSTECALL, :NU), "
      "WC_LAATSTECALL = :NU, WC_VOLGENDEPOGING = :VOLGENDE, WC_ZENDER = NULL, "
      "WC_VERANDERDOP = :NU "
      "WHERE WC_ID = :ID AND WC_ZENDER = :ZENDER AND WC_CALLSTATUS IN ('W', 'H')");
  Bind(*settle, "STATUS", Variant(Code(status)), FieldType::String);
  Bind(*settle, "FOUTCODE", Variant(Code(outcome.foutcode)), FieldType::String);
  Bind(*settle, "FOUT", outcome.error.empty() ? Variant() : Variant(outcome.error),
       FieldType::Memo);
  Bind(*settle, "POGINGEN", Variant(static_cast<int64_t>(attempts)), FieldType::Integer);
  BindMoment(*settle, "NU", now);
  Bind(*settle, "VOLGENDE", next, FieldType::DateTime);
  Bind(*settle, "ID", Variant(call.id), FieldType::LargeInt);
  Bind(*settle, "ZENDER", Variant(std::string(sender)), FieldType::String);
  settle->Step();
  if (db.Changes() != 1) return false;

  if (outcome.kind == CallOutcome::Kind::Accepted && call.zidezuzoId != 0) {
    auto record = db.Prepare(
        "UPDATE ZIDEZUZOID SET ID_DAVINCIID = COALESCE(:DAVINCIID, ID_DAVINCIID), "
        "ID_DAVINCICONCURRENCYTOKEN = COALESCE(:TOKEN, ID_DAVINCICONCURRENCYTOKEN), "
        "ID_STATUSOBJECT = :STATUS WHERE ID_ID = :ID");
    Bind(*record, "DAVINCIID", outcome.davinciId.empty() ? Variant() : Variant(outcome.davinciId),
         FieldType::String);
    Bind(*record, "TOKEN",
         outcome.concurrencyToken.empty() ? Variant() : Variant(outcome.concurrencyToken),
         FieldType::String);
    Bind(*record, "STATUS", Variant(static_cast<int64_t>(StatusAfter(call.callType))),
         FieldType::Integer);
    Bind(*record, "ID", Variant(call.zidezuzoId), FieldType::LargeInt);
    record->Step();
  }
  transaction.Commit();
  return true;
}

void ReleaseCall(Database& db, const WaitingCall& call, std::string_view sender) {
  TransactionGuard transaction(db);
  auto release = db.Prepare(
      "UPDATE WEBSERVICECALL SET WC_VOLGENDEPOGING = NULL, WC_ZENDER = NULL "
      "WHERE WC_ID = :ID AND WC_ZENDER = :ZENDER AND WC_CALLSTATUS IN ('W', 'H')");
  Bind(*release, "ID", Variant(call.id), FieldType::LargeInt);
  Bind(*release, "ZENDER", Variant(std::string(sender)), FieldType::String);
  release->Step();
  transaction.Commit();
}

}  // namespace quil::server

// Job 436: the periods of an organised module variant and its class widened to take in a lesson
// date.
//
// Data: (date, IMV_ID). The module variant's period (IMV_VAN..IMV_TOT) and lesson period
// (IMV_LESVAN..IMV_LESTOT) and its class's period (VWK_VAN..VWK_TOT) grow to the date where it
// lies outside them; a period is never shortened, and a record that needs no change is not
// written (so it keeps its change stamp and a screen holding it can still save it). A changed
// record carries the calling user and the server time. Careers (the pupils' enrolments in the
// module variant) are not kept in this database yet, so there are none to move. Everything
// happens in the call's one transaction.
#include <algorithm>

#include "host/base/Errors.h"
#include "host/base/SysUtils.h"
#include "server/db/ValueCodec.h"
#include "server/jobs/JobService.h"

namespace quil::server {

namespace {

TDateTime DateAt(Statement& stmt, int column) {
  return ReadValue(stmt, column, FieldType::Date).AsDateTime();
}

//! Widens [van, tot] to take in `date`; true when it changed.
bool Widen(TDateTime& van, TDateTime& tot, TDateTime date) {
  const TDateTime oldVan = van, oldTot = tot;
  van = std::min(van, date);
  tot = std::max(tot, date);
  return van != oldVan || tot != oldTot;
}

std::string AdjustDates(JobContext& job) {
  const TDateTime date = DateOf(job.args.DateTime(0));
  const int64_t imv = job.args.Integer(1);
  auto read = job.db.Prepare(
      "SELECT I.IMV_VAN, I.IMV_TOT, I.IMV_LESVAN, I.IMV_LESTOT, K.VWK_ID, K.VWK_VAN, K.VWK_TOT "
      "FROM VWOINGMODULEVARIANT I JOIN VWOKLAS K ON K.VWK_ID = I.IMV_VWOKLAS_FK "
      "WHERE I.IMV_ID = :IMV_ID");
  read->BindInt64(0, imv);
  if (!read->Step()) RaiseClientError(Format("Ingerichte modulevariant %d niet gevonden", imv));
  TDateTime van = DateAt(*read, 0), tot = DateAt(*read, 1);
  TDateTime lesVan = DateAt(*read, 2), lesTot = DateAt(*read, 3);
  const int64_t klas = read->ColumnInt64(4);
  TDateTime klasVan = DateAt(*read, 5), klasTot = DateAt(*read, 6);
  read.reset();

  const std::string now = DateTimeToSql(job.now);
  int changed = 0;
  const bool periode = Widen(van, tot, date);
  const bool lesPeriode = Widen(lesVan, lesTot, date);
  if (periode || lesPeriode) {
    auto u = job.db.Prepare(
        "UPDATE VWOINGMODULEVARIANT SET IMV_VAN = :VAN, IMV_TOT = :TOT, IMV_LESVAN = :LESVAN, "
        "IMV_LESTOT = :LESTOT, IMV_VERANDERDDOOR = :DOOR, IMV_VERANDERDOP = :OP "
        "WHERE IMV_ID = :IMV_ID");
    u->BindText(u->ParameterIndex("VAN"), DateToSql(van));
    u->BindText(u->ParameterIndex("TOT"), DateToSql(tot));
    u->BindText(u->ParameterIndex("LESVAN"), DateToSql(lesVan));
    u->BindText(u->ParameterIndex("LESTOT"), DateToSql(lesTot));
    u->BindInt64(u->ParameterIndex("DOOR"), job.userId);
    u->BindText(u->ParameterIndex("OP"), now);
    u->BindInt64(u->ParameterIndex("IMV_ID"), imv);
    u->Step();
    ++changed;
  }
  if (Widen(klasVan, klasTot, date)) {
    auto u = job.db.Prepare(
        "UPDATE VWOKLAS SET VWK_VAN = :VAN, VWK_TOT = :TOT, VWK_VERANDERDDOOR = :DOOR, "
        "VWK_VERANDERDOP = :OP WHERE VWK_ID = :VWK_ID");
    u->BindText(u->ParameterIndex("VAN"), DateToSql(klasVan));
    u->BindText(u->ParameterIndex("TOT"), DateToSql(klasTot));
    u->BindInt64(u->ParameterIndex("DOOR"), job.userId);
    u->BindText(u->ParameterIndex("OP"), now);
    u->BindInt64(u->ParameterIndex("VWK_ID"), klas);
    u->Step();
    ++changed;
  }
  return Format("Datums aangepast aan %s: %d records gewijzigd", FormatDateTime("dd/mm/yyyy", date),
                changed);
}

}  // namespace

void RegisterJob436(JobRegistry& registry) {
  // No rows: the lesson screens execute it with job id 0; Prepare does the same work.
  JobStep step{{JobValue::DateTime, JobValue::Integer}, AdjustDates};
  registry.Register(436, {.prepare = step, .execute = step, .clean = {}});
}

}  // namespace quil::server

// Job 364: what a cancellation date of an organised module variant does to its pupils.
//
// The module variant screen runs it when the user confirms a new cancellation date, before the
// date itself is stored with the record. Data: (IMV_ID, cancellation date as a day number, kind).
// The pupils' careers live outside this database; what is here are their participations in the
// module variant's lessons (VWOPARTICIPATIE):
//   kind 0, cancelled before the start: every participation of the module variant goes;
//   kind 1, cancelled while running: the participations in lessons after the cancellation date go
//           (the careers end on that date), the earlier ones stay.
// A day number of 0 (no date) counts as kind 0's "before the start".
#include "host/base/Errors.h"
#include "host/base/SysUtils.h"
#include "server/db/ValueCodec.h"
#include "server/jobs/JobService.h"

namespace quil::server {

namespace {

std::string CancelModuleVariant(JobContext& job) {
  const int64_t imv = job.args.Integer(0);
  const TDateTime date(static_cast<double>(job.args.Integer(1)));
  const int64_t kind = job.args.Integer(2);
  if (kind != 0 && kind != 1) {
    RaiseClientError(
        Format("Job 364: soort %d is onbekend (0 = voor de start, 1 = tijdens de cursus)", kind));
  }
  auto find = job.db.Prepare("SELECT IMV_ID FROM VWOINGMODULEVARIANT WHERE IMV_ID = :IMV_ID");
  find->BindInt64(0, imv);
  if (!find->Step()) RaiseClientError(Format("Ingerichte modulevariant %d niet gevonden", imv));

  std::string sql =
      "DELETE FROM VWOPARTICIPATIE WHERE VPA_VWOLES_FK IN (SELECT VWL_ID FROM VWOLES "
      "WHERE VWL_INGMODULEVARIANT_FK = :IMV_ID";
  if (kind == 1) sql += " AND VWL_DATUM > :DATUM";
  sql += ")";
  auto remove = job.db.Prepare(sql);
  remove->BindInt64(remove->ParameterIndex("IMV_ID"), imv);
  if (kind == 1) remove->BindText(remove->ParameterIndex("DATUM"), DateToSql(date));
  remove->Step();
  return Format("%d participaties verwijderd", static_cast<int>(job.db.Changes()));
}

}  // namespace

void RegisterJob364(JobRegistry& registry) {
  JobStep step{{JobValue::Integer, JobValue::Integer, JobValue::Integer}, CancelModuleVariant};
  registry.Register(364, {.prepare = step, .execute = step, .clean = {}});
}

}  // namespace quil::server

// Job 351: a class's default room into the lessons of its organised module variants.
//
// Data: (kind, VWK_ID, LK_ID). Kind 0 fills the room of the lessons that have none; kind 1 sets
// it on every lesson of the class. The room must be one of the class's institution. Changed
// lessons carry the calling user and the server time; a lesson that already has the room is not
// written. No rows; the result is empty on success (the class screen says so in its own words).
#include "host/base/Errors.h"
#include "host/base/SysUtils.h"
#include "server/db/ValueCodec.h"
#include "server/jobs/JobService.h"

namespace quil::server {

namespace {

constexpr int kKindZonderLokaal = 0;
constexpr int kKindAlleLessen = 1;

std::string LokaalNaarLessen(JobContext& job) {
  const int64_t kind = job.args.Integer(0);
  const int64_t klas = job.args.Integer(1);
  const int64_t lokaal = job.args.Integer(2);
  if (kind != kKindZonderLokaal && kind != kKindAlleLessen) {
    RaiseClientError(
        Format("Job 351: soort %d is onbekend (0 = lessen zonder lokaal, 1 = alle lessen)", kind));
  }
  auto find = job.db.Prepare("SELECT VWK_INSTELLING_FK FROM VWOKLAS WHERE VWK_ID = :VWK_ID");
  find->BindInt64(0, klas);
  if (!find->Step()) RaiseClientError(Format("Klas %d niet gevonden", klas));
  const int64_t instelling = find->ColumnInt64(0);
  auto room = job.db.Prepare(
      "SELECT V.VP_INSTELLING_FK FROM LOKAAL L JOIN VESTIGINGSPLAATS V "
      "ON V.VP_ID = L.LK_VESTIGINGSPLAATS_FK WHERE L.LK_ID = :LK_ID");
  room->BindInt64(0, lokaal);
  if (!room->Step()) RaiseClientError(Format("Lokaal %d niet gevonden", lokaal));
  if (room->ColumnInt64(0) != instelling) {
    RaiseClientError(Format("Lokaal %d hoort niet bij de instelling van klas %d", lokaal, klas));
  }
  auto update = job.db.Prepare(
      std::string("UPDATE VWOLES SET VWL_LOKAAL_FK = :LK_ID, VWL_VERANDERDDOOR = :DOOR, "
                  "VWL_VERANDERDOP = :OP WHERE VWL_INGMODULEVARIANT_FK IN "
                  "(SELECT IMV_ID FROM VWOINGMODULEVARIANT WHERE IMV_VWOKLAS_FK = :VWK_ID) AND ") +
      (kind == kKindZonderLokaal ? "VWL_LOKAAL_FK IS NULL"
                                 : "(VWL_LOKAAL_FK IS NULL OR VWL_LOKAAL_FK <> :LK_ID)"));
  update->BindInt64(update->ParameterIndex("LK_ID"), lokaal);
  update->BindInt64(update->ParameterIndex("DOOR"), job.userId);
  update->BindText(update->ParameterIndex("OP"), DateTimeToSql(job.now));
  update->BindInt64(update->ParameterIndex("VWK_ID"), klas);
  update->Step();
  return "";
}

}  // namespace

void RegisterJob351(JobRegistry& registry) {
  JobStep step{{JobValue::Integer, JobValue::Integer, JobValue::Integer}, LokaalNaarLessen};
  registry.Register(351, {.prepare = step, .execute = step, .clean = {}});
}

}  // namespace quil::server

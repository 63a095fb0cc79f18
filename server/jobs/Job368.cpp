// Job 368: the distance lesson times of an organised module variant counted from its lessons.
//
// Data: (IMV_ID). IMV_LESTIJDENAFSTANDSONDERWIJS becomes the lesson times (VWL_LESUREN) of the
// module variant's distance lesson moments (VWL_FLAGS bit 3) that are given (bit 1 clear),
// rounded to a whole number, halves away from zero (the column holds whole lesson times). The
// module variant is written only when the number changes, with the calling user and the server
// time as its last change.
#include "host/base/Currency.h"
#include "host/base/Errors.h"
#include "host/base/SysUtils.h"
#include "server/db/ValueCodec.h"
#include "server/jobs/JobService.h"

namespace quil::server {

namespace {

constexpr int kLapses = 1 << 1;    //!< VWL_FLAGS: the lesson is not given
constexpr int kDistance = 1 << 3;  //!< VWL_FLAGS: distance lesson moment

int64_t RoundWhole(Currency value) {
  const int64_t raw = value.Raw();
  return raw >= 0 ? (raw + 5000) / 10000 : -((-raw + 5000) / 10000);
}

std::string DistanceLessonTimes(JobContext& job) {
  const int64_t imv = job.args.Integer(0);
  auto find = job.db.Prepare(
      "SELECT IMV_LESTIJDENAFSTANDSONDERWIJS FROM VWOINGMODULEVARIANT WHERE IMV_ID = :IMV_ID");
  find->BindInt64(0, imv);
  if (!find->Step()) RaiseClientError(Format("Ingerichte modulevariant %d niet gevonden", imv));
  const int64_t before = find->ColumnStorage(0) == StorageClass::Null ? -1 : find->ColumnInt64(0);
  find.reset();

  Currency sum;
  int count = 0;
  auto lessons = job.db.Prepare(
      "SELECT VWL_LESUREN, VWL_FLAGS FROM VWOLES WHERE VWL_INGMODULEVARIANT_FK = :IMV_ID");
  lessons->BindInt64(0, imv);
  while (lessons->Step()) {
    const int64_t flags =
        lessons->ColumnStorage(1) == StorageClass::Null ? 0 : lessons->ColumnInt64(1);
    if ((flags & kDistance) == 0 || (flags & kLapses) != 0) continue;
    sum += ReadValue(*lessons, 0, FieldType::Currency).AsCurrency();
    ++count;
  }
  lessons.reset();

  const int64_t times = RoundWhole(sum);
  if (times != before) {
    auto u = job.db.Prepare(
        "UPDATE VWOINGMODULEVARIANT SET IMV_LESTIJDENAFSTANDSONDERWIJS = :AANTAL, "
        "IMV_VERANDERDDOOR = :DOOR, IMV_VERANDERDOP = :OP WHERE IMV_ID = :IMV_ID");
    u->BindInt64(u->ParameterIndex("AANTAL"), times);
    u->BindInt64(u->ParameterIndex("DOOR"), job.userId);
    u->BindText(u->ParameterIndex("OP"), DateTimeToSql(job.now));
    u->BindInt64(u->ParameterIndex("IMV_ID"), imv);
    u->Step();
  }
  return Format("Afstandsonderwijs: %d lesmomenten, %d lestijden", count, times);
}

}  // namespace

void RegisterJob368(JobRegistry& registry) {
  // No rows: the screens execute it with job id -1; Prepare does the same work.
  JobStep step{{JobValue::Integer}, DistanceLessonTimes};
  registry.Register(368, {.prepare = step, .execute = step, .clean = {}});
}

}  // namespace quil::server

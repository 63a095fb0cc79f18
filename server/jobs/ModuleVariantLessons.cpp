#include "server/jobs/ModuleVariantLessons.h"

#include "host/base/Currency.h"
#include "host/base/Errors.h"
#include "host/base/SysUtils.h"
#include "server/db/ValueCodec.h"

namespace quil::server {

namespace {

//! The bit of a lesson: its weekday (Monday = 0) in the day part of its start time.
int LessonDayBit(TDateTime date, TDateTime start) {
  int hour, minute, second, msec;
  DecodeTime(start, hour, minute, second, msec);
  int part = hour < 12 ? 0 : hour < 17 ? 1 : 2;
  return part * 7 + DayOfTheWeek(date) - 1;
}

int64_t RoundWhole(Currency value) {
  const int64_t raw = value.Raw();
  return raw >= 0 ? (raw + 5000) / 10000 : -((-raw + 5000) / 10000);
}

int64_t Flags(const Statement& stmt, int column) {
  return stmt.ColumnStorage(column) == StorageClass::Null ? 0 : stmt.ColumnInt64(column);
}

}  // namespace

std::vector<int64_t> ModuleVariantsOfClass(Database& db, int64_t klas) {
  auto find = db.Prepare("SELECT VWK_ID FROM VWOKLAS WHERE VWK_ID = :VWK_ID");
  find->BindInt64(0, klas);
  if (!find->Step()) RaiseClientError(Format("Klas %d niet gevonden", klas));
  std::vector<int64_t> ids;
  auto list = db.Prepare(
      "SELECT IMV_ID FROM VWOINGMODULEVARIANT WHERE IMV_VWOKLAS_FK = :VWK_ID ORDER BY IMV_ID");
  list->BindInt64(0, klas);
  while (list->Step()) ids.push_back(list->ColumnInt64(0));
  return ids;
}

bool RecomputeLessonDays(JobContext& job, int64_t imv) {
  int days = 0;
  auto lessons = job.db.Prepare(
      "SELECT VWL_DATUM, VWL_VANUUR, VWL_FLAGS FROM VWOLES WHERE VWL_INGMODULEVARIANT_FK = "
      ":IMV_ID");
  lessons->BindInt64(0, imv);
  while (lessons->Step()) {
    if (Flags(*lessons, 2) & kLessonLapses) continue;
    TDateTime date = ReadValue(*lessons, 0, FieldType::Date).AsDateTime();
    TDateTime start = ReadValue(*lessons, 1, FieldType::Time).AsDateTime();
    days |= 1 << LessonDayBit(date, start);
  }
  lessons.reset();
  auto update = job.db.Prepare(
      "UPDATE VWOINGMODULEVARIANT SET IMV_LESDAGEN = :LESDAGEN, IMV_VERANDERDDOOR = :DOOR, "
      "IMV_VERANDERDOP = :OP WHERE IMV_ID = :IMV_ID AND "
      "(IMV_LESDAGEN IS NULL OR IMV_LESDAGEN <> :OUD)");
  update->BindInt64(update->ParameterIndex("LESDAGEN"), days);
  update->BindInt64(update->ParameterIndex("DOOR"), job.userId);
  update->BindText(update->ParameterIndex("OP"), DateTimeToSql(job.now));
  update->BindInt64(update->ParameterIndex("IMV_ID"), imv);
  update->BindInt64(update->ParameterIndex("OUD"), days);
  update->Step();
  return job.db.Changes() > 0;
}

DistanceLessonTimes RecomputeDistanceLessonTimes(JobContext& job, int64_t imv) {
  auto find = job.db.Prepare(
      "SELECT IMV_LESTIJDENAFSTANDSONDERWIJS FROM VWOINGMODULEVARIANT WHERE IMV_ID = :IMV_ID");
  find->BindInt64(0, imv);
  if (!find->Step()) RaiseClientError(Format("Ingerichte modulevariant %d niet gevonden", imv));
  const int64_t before = find->ColumnStorage(0) == StorageClass::Null ? -1 : find->ColumnInt64(0);
  find.reset();

  DistanceLessonTimes result;
  Currency sum;
  auto lessons = job.db.Prepare(
      "SELECT VWL_LESUREN, VWL_FLAGS FROM VWOLES WHERE VWL_INGMODULEVARIANT_FK = :IMV_ID");
  lessons->BindInt64(0, imv);
  while (lessons->Step()) {
    const int64_t flags = Flags(*lessons, 1);
    if ((flags & kLessonDistance) == 0 || (flags & kLessonLapses) != 0) continue;
    sum += ReadValue(*lessons, 0, FieldType::Currency).AsCurrency();
    ++result.lessons;
  }
  lessons.reset();

  result.times = RoundWhole(sum);
  result.changed = result.times != before;
  if (result.changed) {
    auto u = job.db.Prepare(
        "UPDATE VWOINGMODULEVARIANT SET IMV_LESTIJDENAFSTANDSONDERWIJS = :AANTAL, "
        "IMV_VERANDERDDOOR = :DOOR, IMV_VERANDERDOP = :OP WHERE IMV_ID = :IMV_ID");
    u->BindInt64(u->ParameterIndex("AANTAL"), result.times);
    u->BindInt64(u->ParameterIndex("DOOR"), job.userId);
    u->BindText(u->ParameterIndex("OP"), DateTimeToSql(job.now));
    u->BindInt64(u->ParameterIndex("IMV_ID"), imv);
    u->Step();
  }
  return result;
}

}  // namespace quil::server

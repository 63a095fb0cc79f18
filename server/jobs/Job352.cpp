// Job 352: the lesson days of organised module variants, recomputed from their lessons.
//
// IMV_LESDAGEN is a set of 21 bits, one per weekday and day part: bits 0..6 the mornings of
// Monday..Sunday, 7..13 the afternoons, 14..20 the evenings. A lesson counts in the part its start
// time falls in: before 12:00 the morning, before 17:00 the afternoon, otherwise the evening.
// Lessons that lapse (VWL_FLAGS bit 1) are not given and do not count; every other lesson does,
// distance moments and out-of-school activities included. A module variant without lessons gets
// the empty set.
//
// Data: (kind, id): kind 0 = the organised module variant IMV_ID `id`, kind 1 = every organised
// module variant of the class VWK_ID `id`. Only a module variant whose set changes is written,
// with the calling user and time as its last change, so an unchanged record keeps its change
// stamp and a screen holding it can still save it. The weekday is computed here rather than in
// SQL, which has no portable weekday function.
#include "host/base/Errors.h"
#include "host/base/SysUtils.h"
#include "server/db/ValueCodec.h"
#include "server/jobs/JobService.h"

namespace quil::server {

namespace {

constexpr int kKindModuleVariant = 0;
constexpr int kKindClass = 1;
constexpr int kLapses = 1 << 1;  //!< VWL_FLAGS: the lesson is not given

//! The bit of a lesson: its weekday (Monday = 0) in the day part of its start time.
int LessonDayBit(TDateTime date, TDateTime start) {
  int hour, minute, second, msec;
  DecodeTime(start, hour, minute, second, msec);
  int part = hour < 12 ? 0 : hour < 17 ? 1 : 2;
  return part * 7 + DayOfTheWeek(date) - 1;
}

std::vector<int64_t> ModuleVariantsOf(Database& db, int kind, int64_t id) {
  std::vector<int64_t> ids;
  if (kind == kKindModuleVariant) {
    auto find = db.Prepare("SELECT IMV_ID FROM VWOINGMODULEVARIANT WHERE IMV_ID = :IMV_ID");
    find->BindInt64(0, id);
    if (!find->Step()) RaiseClientError(Format("Ingerichte modulevariant %d niet gevonden", id));
    ids.push_back(id);
    return ids;
  }
  auto klas = db.Prepare("SELECT VWK_ID FROM VWOKLAS WHERE VWK_ID = :VWK_ID");
  klas->BindInt64(0, id);
  if (!klas->Step()) RaiseClientError(Format("Klas %d niet gevonden", id));
  auto list = db.Prepare(
      "SELECT IMV_ID FROM VWOINGMODULEVARIANT WHERE IMV_VWOKLAS_FK = :VWK_ID ORDER BY IMV_ID");
  list->BindInt64(0, id);
  while (list->Step()) ids.push_back(list->ColumnInt64(0));
  return ids;
}

std::string LessonDays(JobContext& job) {
  const int64_t kind = job.args.Integer(0);
  const int64_t id = job.args.Integer(1);
  if (kind != kKindModuleVariant && kind != kKindClass) {
    RaiseClientError(
        Format("Job 352: soort %d is onbekend (0 = ingerichte modulevariant, 1 = klas)", kind));
  }
  std::vector<int64_t> moduleVariants = ModuleVariantsOf(job.db, static_cast<int>(kind), id);

  auto lessons = job.db.Prepare(
      "SELECT VWL_DATUM, VWL_VANUUR, VWL_FLAGS FROM VWOLES WHERE VWL_INGMODULEVARIANT_FK = "
      ":IMV_ID");
  auto update = job.db.Prepare(
      "UPDATE VWOINGMODULEVARIANT SET IMV_LESDAGEN = :LESDAGEN, IMV_VERANDERDDOOR = :DOOR, "
      "IMV_VERANDERDOP = :OP WHERE IMV_ID = :IMV_ID AND "
      "(IMV_LESDAGEN IS NULL OR IMV_LESDAGEN <> :OUD)");
  int changed = 0;
  for (int64_t imv : moduleVariants) {
    int days = 0;
    lessons->Reset();
    lessons->BindInt64(0, imv);
    while (lessons->Step()) {
      int64_t flags = lessons->ColumnStorage(2) == StorageClass::Null ? 0 : lessons->ColumnInt64(2);
      if (flags & kLapses) continue;
      TDateTime date = ReadValue(*lessons, 0, FieldType::Date).AsDateTime();
      TDateTime start = ReadValue(*lessons, 1, FieldType::Time).AsDateTime();
      days |= 1 << LessonDayBit(date, start);
    }
    update->Reset();
    update->BindInt64(update->ParameterIndex("LESDAGEN"), days);
    update->BindInt64(update->ParameterIndex("DOOR"), job.userId);
    update->BindText(update->ParameterIndex("OP"), DateTimeToSql(job.now));
    update->BindInt64(update->ParameterIndex("IMV_ID"), imv);
    update->BindInt64(update->ParameterIndex("OUD"), days);
    update->Step();
    changed += static_cast<int>(job.db.Changes());
  }
  return Format("Lesdagen nagegaan: %d van %d ingerichte modulevarianten gewijzigd", changed,
                static_cast<int>(moduleVariants.size()));
}

}  // namespace

void RegisterJob352(JobRegistry& registry) {
  // A job without rows: the screens may run it with either call; both do the work.
  JobStep step{{JobValue::Integer, JobValue::Integer}, LessonDays};
  registry.Register(352, {.prepare = step, .execute = step, .clean = {}});
}

}  // namespace quil::server

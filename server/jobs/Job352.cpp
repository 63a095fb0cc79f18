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
// stamp and a screen holding it can still save it (ModuleVariantLessons.h). The weekday is
// computed there rather than in SQL, which has no portable weekday function.
#include "host/base/Errors.h"
#include "host/base/SysUtils.h"
#include "server/jobs/JobService.h"
#include "server/jobs/ModuleVariantLessons.h"

namespace quil::server {

namespace {

constexpr int kKindModuleVariant = 0;
constexpr int kKindClass = 1;

std::vector<int64_t> ModuleVariantsOf(Database& db, int kind, int64_t id) {
  if (kind == kKindClass) return ModuleVariantsOfClass(db, id);
  auto find = db.Prepare("SELECT IMV_ID FROM VWOINGMODULEVARIANT WHERE IMV_ID = :IMV_ID");
  find->BindInt64(0, id);
  if (!find->Step()) RaiseClientError(Format("Ingerichte modulevariant %d niet gevonden", id));
  return {id};
}

std::string LessonDays(JobContext& job) {
  const int64_t kind = job.args.Integer(0);
  const int64_t id = job.args.Integer(1);
  if (kind != kKindModuleVariant && kind != kKindClass) {
    RaiseClientError(
        Format("Job 352: soort %d is onbekend (0 = ingerichte modulevariant, 1 = klas)", kind));
  }
  std::vector<int64_t> moduleVariants = ModuleVariantsOf(job.db, static_cast<int>(kind), id);
  int changed = 0;
  for (int64_t imv : moduleVariants) changed += RecomputeLessonDays(job, imv) ? 1 : 0;
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

// Job 368: the distance lesson times of an organised module variant counted from its lessons.
//
// Data: (IMV_ID). IMV_LESTIJDENAFSTANDSONDERWIJS becomes the lesson times (VWL_LESUREN) of the
// module variant's distance lesson moments (VWL_FLAGS bit 3) that are given (bit 1 clear),
// rounded to a whole number, halves away from zero (the column holds whole lesson times). The
// module variant is written only when the number changes, with the calling user and the server
// time as its last change (ModuleVariantLessons.h).
#include "host/base/SysUtils.h"
#include "server/jobs/JobService.h"
#include "server/jobs/ModuleVariantLessons.h"

namespace quil::server {

namespace {

std::string DistanceLessonTimesJob(JobContext& job) {
  const DistanceLessonTimes result = RecomputeDistanceLessonTimes(job, job.args.Integer(0));
  return Format("Afstandsonderwijs: %d lesmomenten, %d lestijden", result.lessons, result.times);
}

}  // namespace

void RegisterJob368(JobRegistry& registry) {
  // No rows: the screens execute it with job id -1; Prepare does the same work.
  JobStep step{{JobValue::Integer}, DistanceLessonTimesJob};
  registry.Register(368, {.prepare = step, .execute = step, .clean = {}});
}

}  // namespace quil::server

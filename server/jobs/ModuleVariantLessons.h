// What the lessons of one organised module variant say about it, recomputed and written: the
// lesson days (job 352), the distance lesson times (job 368). Job 316 runs them, with its own
// recomputations, over every module variant of a class. Each writes the module variant only when
// its value changes, with the calling user and the server time, inside the call's transaction.
#pragma once

#include <cstdint>
#include <vector>

#include "server/db/Database.h"
#include "server/jobs/JobService.h"

namespace quil::server {

// Bits of VWL_FLAGS the recomputations read.
inline constexpr int kLessonLapses = 1 << 1;    //!< the lesson is not given
inline constexpr int kLessonDistance = 1 << 3;  //!< a distance lesson moment

//! The organised module variants of a class in id order; "Klas 99 niet gevonden".
std::vector<int64_t> ModuleVariantsOfClass(Database& db, int64_t klas);

//! IMV_LESDAGEN from the lessons (job 352's rule); true when it changed.
bool RecomputeLessonDays(JobContext& job, int64_t imv);

struct DistanceLessonTimes {
  int lessons = 0;    //!< distance lesson moments that are given
  int64_t times = 0;  //!< their lesson times, rounded to a whole number
  bool changed = false;
};
//! IMV_LESTIJDENAFSTANDSONDERWIJS from the lessons (job 368's rule); "Ingerichte modulevariant 99
//! niet gevonden" when it does not exist.
DistanceLessonTimes RecomputeDistanceLessonTimes(JobContext& job, int64_t imv);

}  // namespace quil::server

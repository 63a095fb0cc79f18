// Job 316: values of organised module variants derived from their lessons, computed anew.
//
// Data: (id, kind, options, date).
//
// Kind 1 is one organised module variant (IMV_ID): its registration moment, which lies one third
// of the way from IMV_VAN to IMV_TOT, rounded to the nearest day, as the module variant screen
// proposes it for a new record. Option bit 2 (4) keeps a moment that has passed on the date (the
// user's working date) for a module variant that is ready for Davinci: the moment has been
// reported, so the job refuses rather than move it.
//
// Kind 0 is every organised module variant of a class (VWK_ID), with the options the processing
// screen ticks: bit 1 (2) counts the contact lesson times per period, only from the lessons up to
// the date when bit 0 (1) is set; bit 2 (4) the registration moment, keeping the moment of a
// module variant ready for Davinci once it has passed (before the server's date) instead of
// refusing; bit 3 (8) the distance lesson times (job 368's rule); bit 4 (16) the lesson days (job
// 352's rule). Only a changed value is written, with the calling user and time.
#include <algorithm>
#include <array>
#include <cmath>

#include "host/base/Currency.h"
#include "host/base/Errors.h"
#include "host/base/SysUtils.h"
#include "server/db/ValueCodec.h"
#include "server/jobs/JobService.h"
#include "server/jobs/ModuleVariantLessons.h"

namespace quil::server {

namespace {

constexpr int kKindClass = 0;
constexpr int kKindModuleVariant = 1;

// Options.
constexpr int kUpToDate = 1 << 0;
constexpr int kLessonTimes = 1 << 1;
constexpr int kRegistrationMoment = 1 << 2;
constexpr int kDistance = 1 << 3;
constexpr int kLessonDays = 1 << 4;

constexpr int kPeriods = 4;  //!< IMV_CONTACTLESTIJDEN1..4; later periods count in the last

enum class Moment { Unchanged, Written, Passed };

//! The registration moment of a module variant, written when it changes; a passed moment of a
//! module variant ready for Davinci stays when `keepPassed`.
Moment RecomputeRegistrationMoment(JobContext& job, int64_t imv, TDateTime reference,
                                   bool keepPassed, TDateTime& moment) {
  auto read = job.db.Prepare(
      "SELECT IMV_VAN, IMV_TOT, IMV_REGISTRATIEMOMENT, IMV_DAVINCIKLAAR FROM VWOINGMODULEVARIANT "
      "WHERE IMV_ID = :IMV_ID");
  read->BindInt64(0, imv);
  if (!read->Step()) RaiseClientError(Format("Ingerichte modulevariant %d niet gevonden", imv));
  const double van = ReadValue(*read, 0, FieldType::Date).AsDateTime().value;
  const double tot = ReadValue(*read, 1, FieldType::Date).AsDateTime().value;
  const double current = ReadValue(*read, 2, FieldType::Date).AsDateTime().value;
  const bool klaar = ReadValue(*read, 3, FieldType::String).AsString() == "+";
  read.reset();
  if (keepPassed && klaar && std::floor(reference.value) > current) {
    moment = TDateTime(current);
    return Moment::Passed;
  }
  moment = TDateTime(std::round((2 * van + tot) / 3));
  auto update = job.db.Prepare(
      "UPDATE VWOINGMODULEVARIANT SET IMV_REGISTRATIEMOMENT = :REG, IMV_VERANDERDDOOR = :DOOR, "
      "IMV_VERANDERDOP = :OP WHERE IMV_ID = :IMV_ID AND IMV_REGISTRATIEMOMENT <> :REG2");
  update->BindText(update->ParameterIndex("REG"), DateToSql(moment));
  update->BindInt64(update->ParameterIndex("DOOR"), job.userId);
  update->BindText(update->ParameterIndex("OP"), DateTimeToSql(job.now));
  update->BindInt64(update->ParameterIndex("IMV_ID"), imv);
  update->BindText(update->ParameterIndex("REG2"), DateToSql(moment));
  update->Step();
  return job.db.Changes() > 0 ? Moment::Written : Moment::Unchanged;
}

//! IMV_CONTACTLESTIJDEN1..4: per period (VWL_TRIMESTER) the lesson times of the lessons that are
//! given and are not distance moments, up to and including `upTo` when given. True when changed.
bool RecountContactLessonTimes(JobContext& job, int64_t imv, const TDateTime* upTo) {
  std::array<Currency, kPeriods> times{};
  auto lessons = job.db.Prepare(
      "SELECT VWL_LESUREN, VWL_FLAGS, VWL_TRIMESTER, VWL_DATUM FROM VWOLES "
      "WHERE VWL_INGMODULEVARIANT_FK = :IMV_ID");
  lessons->BindInt64(0, imv);
  while (lessons->Step()) {
    const int64_t flags =
        lessons->ColumnStorage(1) == StorageClass::Null ? 0 : lessons->ColumnInt64(1);
    if ((flags & (kLessonLapses | kLessonDistance)) != 0) continue;
    if (upTo != nullptr &&
        ReadValue(*lessons, 3, FieldType::Date).AsDateTime().value > std::floor(upTo->value)) {
      continue;
    }
    const int64_t period =
        lessons->ColumnStorage(2) == StorageClass::Null ? 1 : lessons->ColumnInt64(2);
    const size_t slot = static_cast<size_t>(std::clamp<int64_t>(period, 1, kPeriods) - 1);
    times[slot] += ReadValue(*lessons, 0, FieldType::Currency).AsCurrency();
  }
  lessons.reset();
  auto update = job.db.Prepare(
      "UPDATE VWOINGMODULEVARIANT SET IMV_CONTACTLESTIJDEN1 = :T1, IMV_CONTACTLESTIJDEN2 = :T2, "
      "IMV_CONTACTLESTIJDEN3 = :T3, IMV_CONTACTLESTIJDEN4 = :T4, IMV_VERANDERDDOOR = :DOOR, "
      "IMV_VERANDERDOP = :OP WHERE IMV_ID = :IMV_ID AND NOT ("
      "IMV_CONTACTLESTIJDEN1 IS NOT NULL AND IMV_CONTACTLESTIJDEN1 = :O1 AND "
      "IMV_CONTACTLESTIJDEN2 IS NOT NULL AND IMV_CONTACTLESTIJDEN2 = :O2 AND "
      "IMV_CONTACTLESTIJDEN3 IS NOT NULL AND IMV_CONTACTLESTIJDEN3 = :O3 AND "
      "IMV_CONTACTLESTIJDEN4 IS NOT NULL AND IMV_CONTACTLESTIJDEN4 = :O4)");
  for (int p = 0; p < kPeriods; ++p) {
    const std::string n = std::to_string(p + 1);
    BindValue(*update, update->ParameterIndex("T" + n), Variant(times[p]), FieldType::Currency);
    BindValue(*update, update->ParameterIndex("O" + n), Variant(times[p]), FieldType::Currency);
  }
  update->BindInt64(update->ParameterIndex("DOOR"), job.userId);
  update->BindText(update->ParameterIndex("OP"), DateTimeToSql(job.now));
  update->BindInt64(update->ParameterIndex("IMV_ID"), imv);
  update->Step();
  return job.db.Changes() > 0;
}

std::string OneModuleVariant(JobContext& job) {
  const int64_t imv = job.args.Integer(0);
  TDateTime moment;
  if (RecomputeRegistrationMoment(job, imv, job.args.DateTime(3),
                                  (job.args.Integer(2) & kRegistrationMoment) != 0,
                                  moment) == Moment::Passed) {
    RaiseClientError("Registratiemoment is reeds verstreken en mag dus niet meer aangepast worden");
  }
  return "Registratiemoment: " + FormatDateTime("dd/mm/yyyy", moment);
}

std::string WholeClass(JobContext& job) {
  const int64_t klas = job.args.Integer(0);
  const int64_t options = job.args.Integer(2);
  const TDateTime date = job.args.DateTime(3);
  const std::vector<int64_t> moduleVariants = ModuleVariantsOfClass(job.db, klas);
  int changed = 0, kept = 0;
  for (int64_t imv : moduleVariants) {
    bool written = false;
    if (options & kLessonTimes) {
      written |= RecountContactLessonTimes(job, imv, (options & kUpToDate) ? &date : nullptr);
    }
    if (options & kRegistrationMoment) {
      TDateTime moment;
      switch (RecomputeRegistrationMoment(job, imv, job.now, true, moment)) {
        case Moment::Written:
          written = true;
          break;
        case Moment::Passed:
          ++kept;
          break;
        case Moment::Unchanged:
          break;
      }
    }
    if (options & kDistance) written |= RecomputeDistanceLessonTimes(job, imv).changed;
    if (options & kLessonDays) written |= RecomputeLessonDays(job, imv);
    changed += written ? 1 : 0;
  }
  std::string result =
      Format("Lesmomenten verwerkt: %d van %d ingerichte modulevarianten gewijzigd", changed,
             static_cast<int>(moduleVariants.size()));
  if (kept > 0) result += Format(", %d verstreken registratiemomenten behouden", kept);
  return result;
}

std::string Recompute(JobContext& job) {
  const int64_t kind = job.args.Integer(1);
  if (kind == kKindModuleVariant) return OneModuleVariant(job);
  if (kind == kKindClass) return WholeClass(job);
  RaiseClientError(
      Format("Job 316: soort %d is onbekend (0 = klas, 1 = ingerichte modulevariant)", kind));
}

}  // namespace

void RegisterJob316(JobRegistry& registry) {
  JobStep step{{JobValue::Integer, JobValue::Integer, JobValue::Integer, JobValue::DateTime},
               Recompute};
  registry.Register(316, {.prepare = step, .execute = step, .clean = {}});
}

}  // namespace quil::server

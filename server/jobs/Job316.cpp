// Job 316: the registration moment of an organised module variant, computed anew.
//
// The registration moment lies one third of the way from IMV_VAN to IMV_TOT, rounded to the
// nearest day, as the module variant screen proposes it for a new record. Data: (IMV_ID, kind,
// rules, reference date). Kind 1 is one organised module variant (the only kind). Rule bit 2 (4)
// keeps a moment that has passed on the reference date (the user's working date) for a module
// variant that is ready for Davinci: the moment has been reported, so the job refuses rather
// than move it. Only a changed moment is written, with the calling user and time.
#include <cmath>

#include "host/base/Errors.h"
#include "host/base/SysUtils.h"
#include "server/db/ValueCodec.h"
#include "server/jobs/JobService.h"

namespace quil::server {

namespace {

constexpr int kKindModuleVariant = 1;
constexpr int kKeepPassedMoment = 1 << 2;

std::string RegistrationMoment(JobContext& job) {
  const int64_t imv = job.args.Integer(0);
  const int64_t kind = job.args.Integer(1);
  const int64_t rules = job.args.Integer(2);
  const TDateTime reference = job.args.DateTime(3);
  if (kind != kKindModuleVariant) {
    RaiseClientError(Format("Job 316: soort %d is onbekend (1 = ingerichte modulevariant)", kind));
  }
  auto read = job.db.Prepare(
      "SELECT IMV_VAN, IMV_TOT, IMV_REGISTRATIEMOMENT, IMV_DAVINCIKLAAR FROM VWOINGMODULEVARIANT "
      "WHERE IMV_ID = :IMV_ID");
  read->BindInt64(0, imv);
  if (!read->Step()) RaiseClientError(Format("Ingerichte modulevariant %d niet gevonden", imv));
  const double van = ReadValue(*read, 0, FieldType::Date).AsDateTime().value;
  const double tot = ReadValue(*read, 1, FieldType::Date).AsDateTime().value;
  const double current = ReadValue(*read, 2, FieldType::Date).AsDateTime().value;
  const bool klaar = ReadValue(*read, 3, FieldType::String).AsString() == "+";
  if ((rules & kKeepPassedMoment) && klaar && std::floor(reference.value) > current) {
    RaiseClientError("Registratiemoment is reeds verstreken en mag dus niet meer aangepast worden");
  }
  const TDateTime moment(std::round((2 * van + tot) / 3));
  auto update = job.db.Prepare(
      "UPDATE VWOINGMODULEVARIANT SET IMV_REGISTRATIEMOMENT = :REG, IMV_VERANDERDDOOR = :DOOR, "
      "IMV_VERANDERDOP = :OP WHERE IMV_ID = :IMV_ID AND IMV_REGISTRATIEMOMENT <> :REG2");
  update->BindText(update->ParameterIndex("REG"), DateToSql(moment));
  update->BindInt64(update->ParameterIndex("DOOR"), job.userId);
  update->BindText(update->ParameterIndex("OP"), DateTimeToSql(job.now));
  update->BindInt64(update->ParameterIndex("IMV_ID"), imv);
  update->BindText(update->ParameterIndex("REG2"), DateToSql(moment));
  update->Step();
  return "Registratiemoment: " + FormatDateTime("dd/mm/yyyy", moment);
}

}  // namespace

void RegisterJob316(JobRegistry& registry) {
  JobStep step{{JobValue::Integer, JobValue::Integer, JobValue::Integer, JobValue::DateTime},
               RegistrationMoment};
  registry.Register(316, {.prepare = step, .execute = step, .clean = {}});
}

}  // namespace quil::server

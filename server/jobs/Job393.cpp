// Job 393: one Davinci record of an organised module variant cancelled, and the own record kept
// or deleted.
//
// The cancellation dialog sends one call per Davinci record (ZIDEZUZOID) that hangs from the
// module variant, in its group order: certificates, participations, placements, lessons, and the
// module variant last. Data: (IS_ID, the group's call type, the session's text, ID_ID,
// ID_DATA_FK, the group code, "+" for the first record of a group, "+" keep / "-" delete). The
// call type, the text and the first-record mark are kept in the job log; what is done follows
// from the record itself:
//   - a record Davinci knows (registered or approved) gets a cancellation call, waiting for the
//     sender, made for the institution's school by its first Davinci contact person;
//   - delete ("-"): a participation, a lesson (with its participations) or the module variant
//     (with its lessons, their participations, its detail lines and Doc 3B rows) is removed;
//     placements and certificates live outside this database;
//   - the module variant's record, in both modes, clears its "ready for Davinci" mark (when it
//     is kept) and the "enrolment allowed" mark (VWK_FLAGS bit 11) of its class.
// A record that is gone, or a mark other than "+"/"-", is refused and changes nothing.
#include "host/base/Errors.h"
#include "host/base/SysUtils.h"
#include "host/data/DavinciCalls.h"
#include "server/db/ValueCodec.h"
#include "server/jobs/JobRows.h"
#include "server/jobs/JobService.h"

namespace quil::server {

namespace {

using davinci::CallAction;
using davinci::ObjectStatus;
using davinci::ObjectType;

constexpr int64_t kInschrijvenMag = 1 << 11;  //!< VWK_FLAGS: enrolment allowed

void Run(Database& db, std::string_view sql, int64_t id) {
  auto statement = db.Prepare(sql);
  statement->BindInt64(0, id);
  statement->Step();
}

void QueueCancellation(JobContext& job, int64_t record, ObjectType type, int64_t institution) {
  auto school = job.db.Prepare(
      "SELECT S.IS_SCHOOL_FK, (SELECT MIN(C.IC_PERSONEEL_FK) FROM ZIDEZUZOCP C "
      "WHERE C.IC_INSTELLING_FK = S.IS_ID) FROM INSTELLING S WHERE S.IS_ID = :IS_ID");
  school->BindInt64(0, institution);
  if (!school->Step()) RaiseClientError(Format("Instelling %d niet gevonden", institution));
  const Variant schoolId = ReadValue(*school, 0, FieldType::Integer);
  const Variant sender = ReadValue(*school, 1, FieldType::Integer);
  const int64_t id = NextGeneratorValue(job.db, "WEBSERVICECALL");
  auto insert = job.db.Prepare(
      "INSERT INTO WEBSERVICECALL (WC_ID, WC_CALLTYPE, WC_CALLSTATUS, WC_FLAGS, WC_ZIDEZUZOID_FK, "
      "WC_SCHOOL_FK, WC_PERSONEEL_FK, WC_DATA, WC_POGINGEN, WC_AANMAAKOP, WC_AANMAAKDOOR, "
      "WC_VERANDERDOP, WC_VERANDERDDOOR) VALUES (:ID, :TYPE, :STATUS, 0, :REC, :SC, :PS, '{}', 0, "
      ":OP, :DOOR, :OP2, :DOOR2)");
  insert->BindInt64(insert->ParameterIndex("ID"), id);
  insert->BindInt64(insert->ParameterIndex("TYPE"), davinci::CallType(type, CallAction::Annuleren));
  insert->BindText(insert->ParameterIndex("STATUS"), std::string(1, davinci::status::kWachtend));
  insert->BindInt64(insert->ParameterIndex("REC"), record);
  BindValue(*insert, insert->ParameterIndex("SC"), schoolId, FieldType::Integer);
  BindValue(*insert, insert->ParameterIndex("PS"), sender, FieldType::Integer);
  for (const char* op : {"OP", "OP2"}) {
    insert->BindText(insert->ParameterIndex(op), DateTimeToSql(job.now));
  }
  for (const char* door : {"DOOR", "DOOR2"}) {
    insert->BindInt64(insert->ParameterIndex(door), job.userId);
  }
  insert->Step();
}

void DeleteLessonsOf(Database& db, std::string_view lessons, int64_t id) {
  Run(db,
      "DELETE FROM VWOPARTICIPATIE WHERE VPA_VWOLES_FK IN (SELECT VWL_ID FROM VWOLES WHERE " +
          std::string(lessons) + ")",
      id);
  Run(db, "DELETE FROM VWOLES WHERE " + std::string(lessons), id);
}

void ReleaseModuleVariant(JobContext& job, int64_t imv, bool keep) {
  auto klas = job.db.Prepare(
      "UPDATE VWOKLAS SET VWK_FLAGS = VWK_FLAGS - :BIT, VWK_VERANDERDDOOR = :DOOR, "
      "VWK_VERANDERDOP = :OP WHERE VWK_ID = (SELECT IMV_VWOKLAS_FK FROM VWOINGMODULEVARIANT "
      "WHERE IMV_ID = :IMV_ID) AND (VWK_FLAGS & :BIT2) <> 0");
  klas->BindInt64(klas->ParameterIndex("BIT"), kInschrijvenMag);
  klas->BindInt64(klas->ParameterIndex("DOOR"), job.userId);
  klas->BindText(klas->ParameterIndex("OP"), DateTimeToSql(job.now));
  klas->BindInt64(klas->ParameterIndex("IMV_ID"), imv);
  klas->BindInt64(klas->ParameterIndex("BIT2"), kInschrijvenMag);
  klas->Step();
  if (keep) {
    auto mark = job.db.Prepare(
        "UPDATE VWOINGMODULEVARIANT SET IMV_DAVINCIKLAAR = '-', IMV_VERANDERDDOOR = :DOOR, "
        "IMV_VERANDERDOP = :OP WHERE IMV_ID = :IMV_ID");
    mark->BindInt64(mark->ParameterIndex("DOOR"), job.userId);
    mark->BindText(mark->ParameterIndex("OP"), DateTimeToSql(job.now));
    mark->BindInt64(mark->ParameterIndex("IMV_ID"), imv);
    mark->Step();
    return;
  }
  DeleteLessonsOf(job.db, "VWL_INGMODULEVARIANT_FK = :IMV_ID", imv);
  Run(job.db, "DELETE FROM VWOINGMODULEVARIANTDETAIL WHERE IMD_INGMODULEVARIANT_FK = :IMV_ID", imv);
  Run(job.db, "DELETE FROM VWODOC3BINFO WHERE VD3_VWOINGMODULEVARIANT_FK = :IMV_ID", imv);
  Run(job.db, "DELETE FROM VWOINGMODULEVARIANT WHERE IMV_ID = :IMV_ID", imv);
}

bool IsMark(const std::string& text) {
  return text == "+" || text == "-";
}

std::string CancelRecord(JobContext& job) {
  const int64_t institution = job.args.Integer(0);
  const int64_t record = job.args.Integer(3);
  if (!IsMark(job.args.Text(6)) || !IsMark(job.args.Text(7))) {
    RaiseClientError("Job 393: waarden 7 en 8 moeten \"+\" of \"-\" zijn");
  }
  const bool keep = job.args.Text(7) == "+";

  auto read = job.db.Prepare(
      "SELECT ID_TYPE, ID_STATUSOBJECT, ID_DATA_FK FROM ZIDEZUZOID WHERE ID_ID = :ID_ID");
  read->BindInt64(0, record);
  if (!read->Step()) RaiseClientError(Format("Davinci-record %d niet gevonden", record));
  const auto type = static_cast<ObjectType>(read->ColumnInt64(0));
  const auto status = static_cast<ObjectStatus>(
      read->ColumnStorage(1) == StorageClass::Null ? 0 : read->ColumnInt64(1));
  const int64_t own = read->ColumnInt64(2);

  const bool known = status == ObjectStatus::Aangemeld || status == ObjectStatus::Goedgekeurd;
  if (known) QueueCancellation(job, record, type, institution);
  switch (type) {
    case ObjectType::ModuleVariant:
      ReleaseModuleVariant(job, own, keep);
      break;
    case ObjectType::Les:
      if (!keep) DeleteLessonsOf(job.db, "VWL_ID = :VWL_ID", own);
      break;
    case ObjectType::Participatie:
      if (!keep) Run(job.db, "DELETE FROM VWOPARTICIPATIE WHERE VPA_ID = :VPA_ID", own);
      break;
    default:
      break;
  }
  return Format("%s%s", known ? "annulering in de wachtrij, " : "",
                keep ? "record behouden" : "record verwijderd");
}

}  // namespace

void RegisterJob393(JobRegistry& registry) {
  JobStep step{{JobValue::Integer, JobValue::Integer, JobValue::Text, JobValue::Integer,
                JobValue::Integer, JobValue::Integer, JobValue::Text, JobValue::Text},
               CancelRecord};
  registry.Register(393, {.prepare = {}, .execute = step, .clean = {}});
}

}  // namespace quil::server

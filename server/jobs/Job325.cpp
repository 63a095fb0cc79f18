// Job 325: the Doc 3B rows of an organised module variant made anew from its lessons.
//
// Data: (IMV_ID). Doc 3B is the teaching assignment per teacher: one row per teacher who gives
// lessons of the module variant, with the lesson times (VWL_LESUREN) of those lessons. A lesson
// that lapses (VWL_FLAGS bit 1) is not given and does not count; a lesson without a teacher is
// nobody's assignment. The rows are replaced: a teacher who had rows keeps the titular and the
// subject of the first of them (lowest VD3_ID), a new teacher is his own titular with no subject,
// and the rows of teachers who no longer give lessons go. Every written row carries the calling
// user and the server time. Everything happens in the call's one transaction.
#include <map>
#include <optional>
#include <vector>

#include "host/base/Currency.h"
#include "host/base/Errors.h"
#include "host/base/SysUtils.h"
#include "server/db/ValueCodec.h"
#include "server/jobs/JobService.h"

namespace quil::server {

namespace {

constexpr int kLapses = 1 << 1;  //!< VWL_FLAGS: the lesson is not given

struct Earlier {
  int64_t titular;
  std::optional<int64_t> subject;
};

std::string Doc3BFromLessons(JobContext& job) {
  const int64_t imv = job.args.Integer(0);
  auto find = job.db.Prepare("SELECT IMV_ID FROM VWOINGMODULEVARIANT WHERE IMV_ID = :IMV_ID");
  find->BindInt64(0, imv);
  if (!find->Step()) RaiseClientError(Format("Ingerichte modulevariant %d niet gevonden", imv));
  find.reset();

  // Hours per teacher, in teacher order (summed here: the decimals stay exact on both engines).
  std::map<int64_t, Currency> hours;
  auto lessons = job.db.Prepare(
      "SELECT VWL_LESGEVER_FK, VWL_LESUREN, VWL_FLAGS FROM VWOLES "
      "WHERE VWL_INGMODULEVARIANT_FK = :IMV_ID AND VWL_LESGEVER_FK IS NOT NULL");
  lessons->BindInt64(0, imv);
  while (lessons->Step()) {
    const int64_t flags =
        lessons->ColumnStorage(2) == StorageClass::Null ? 0 : lessons->ColumnInt64(2);
    if (flags & kLapses) continue;
    hours[lessons->ColumnInt64(0)] += ReadValue(*lessons, 1, FieldType::Currency).AsCurrency();
  }
  lessons.reset();

  std::map<int64_t, Earlier> earlier;
  auto rows = job.db.Prepare(
      "SELECT VD3_LESGEVER_FK, VD3_TITULARIS_FK, VD3_OFFICIEELVAK_FK FROM VWODOC3BINFO "
      "WHERE VD3_VWOINGMODULEVARIANT_FK = :IMV_ID ORDER BY VD3_ID");
  rows->BindInt64(0, imv);
  while (rows->Step()) {
    std::optional<int64_t> subject;
    if (rows->ColumnStorage(2) != StorageClass::Null) subject = rows->ColumnInt64(2);
    earlier.emplace(rows->ColumnInt64(0), Earlier{rows->ColumnInt64(1), subject});
  }
  rows.reset();

  auto remove = job.db.Prepare("DELETE FROM VWODOC3BINFO WHERE VD3_VWOINGMODULEVARIANT_FK = :IMV");
  remove->BindInt64(0, imv);
  remove->Step();
  remove.reset();

  auto insert = job.db.Prepare(
      "INSERT INTO VWODOC3BINFO (VD3_ID, VD3_VWOINGMODULEVARIANT_FK, VD3_LESGEVER_FK, "
      "VD3_TITULARIS_FK, VD3_OFFICIEELVAK_FK, VD3_UREN, VD3_VERANDERDDOOR, VD3_VERANDERDOP) "
      "VALUES (:ID, :IMV, :LESGEVER, :TITULARIS, :VAK, :UREN, :DOOR, :OP)");
  const std::string now = DateTimeToSql(job.now);
  Currency total;
  for (const auto& [teacher, times] : hours) {
    std::optional<int64_t> id = job.db.NextGeneratorValue("VWODOC3BINFO");
    if (!id) RaiseClientError("Generator 'VWODOC3BINFO' niet gevonden");
    auto found = earlier.find(teacher);
    insert->Reset();
    insert->BindInt64(0, *id);
    insert->BindInt64(1, imv);
    insert->BindInt64(2, teacher);
    insert->BindInt64(3, found != earlier.end() ? found->second.titular : teacher);
    if (found != earlier.end() && found->second.subject) {
      insert->BindInt64(4, *found->second.subject);
    } else {
      insert->BindNull(4);
    }
    BindValue(*insert, 5, Variant(times), FieldType::Currency);
    insert->BindInt64(6, job.userId);
    insert->BindText(7, now);
    insert->Step();
    total += times;
  }
  return Format("Doc 3B: %d lesgevers, %s lestijden", static_cast<int>(hours.size()),
                CurrToStr(total));
}

}  // namespace

void RegisterJob325(JobRegistry& registry) {
  // No rows: the screens execute it with job id -1; Prepare does the same work.
  JobStep step{{JobValue::Integer}, Doc3BFromLessons};
  registry.Register(325, {.prepare = step, .execute = step, .clean = {}});
}

}  // namespace quil::server

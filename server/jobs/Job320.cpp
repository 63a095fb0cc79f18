// Job 320: the rows of the planned lesson count check.
//
// Data: (IS_ID, VWK_ID or -1, begin date, end date). Execute lists one row per organised module
// variant of the institution's classes whose start (VWK_VAN) lies between the two dates, both
// included; a class id other than -1 keeps that class only. Rows of the job id, J_TYPERECORD 0:
//
//   J_INTEGER1 VWK_ID, J_INTEGER2 IMV_ID, J_INTEGER3 VOM_ID,
//   J_TEXT1 VWK_CODE, J_EXTRALONGTEXT1 VWK_OMSCHRIJVING, J_EXTRALONGTEXT2 VOM_OMSCHRIJVING,
//   J_CURRENCY1 planned lesson times: VWL_LESUREN of the lessons that are given (bit 1 of
//     VWL_FLAGS clear) and are not distance moments (bit 3 clear), rounded to two decimals,
//   J_INTEGER4 required lesson times: VMV_LESTIJDENORGANISATIE less the distance-teaching,
//     deliberation and work-experience lesson times of the organised module variant, rounded to
//     a whole number (halves away from zero) as the lesson-time check's providers do,
//   J_BIGINT1 planned as a percentage of required, in hundredths (9250 = 92.50 %), reckoned as
//     the lesson-time check of the class screen does: planned / required as a currency value
//     (four decimals, halves to even) times 100; 0 when the deductions exceed the module's
//     lesson times (required below 0, a row in error as the check says), null when exactly
//     nothing is required (in order),
//   J_INTEGER5 IMV_LESTIJDENAFSTANDSONDERWIJS, J_INTEGER6 VMV_LESTIJDENORGANISATIE,
//   J_DATE1 IMV_LESVAN, J_DATE2 IMV_LESTOT, J_DATE3 IMV_REGISTRATIEMOMENT, J_DATE4 IMV_AFGELASTOP.
//
// The percentage is computed here in whole hundredths, so that a row at exactly 92 or 100
// percent reads the same on every database and the same as in the lesson-time check. Changes
// nothing else; CleanJob removes the rows.
#include <algorithm>

#include "host/base/SysUtils.h"
#include "server/db/ValueCodec.h"
#include "server/jobs/JobRows.h"
#include "server/jobs/JobService.h"

namespace quil::server {

namespace {

constexpr int64_t kNotGiven = 1 << 1;
constexpr int64_t kDistance = 1 << 3;

//! Rounds a non-negative quotient half away from zero.
int64_t RoundedQuotient(int64_t numerator, int64_t denominator) {
  return (2 * numerator + denominator) / (2 * denominator);
}

//! The percentage in hundredths as the lesson-time check reckons it; null when nothing is
//! required.
Variant Percentage(Currency planned, int64_t required) {
  if (required == 0) return Variant();
  if (required < 0) return Variant(int64_t{0});
  return Variant((planned / Currency::FromRaw(required * Currency::kScale)).Raw());
}

std::string CheckRows(JobContext& job) {
  auto moduleVariants = job.db.Prepare(
      "SELECT K.VWK_ID, I.IMV_ID, M.VOM_ID, K.VWK_CODE, K.VWK_OMSCHRIJVING, M.VOM_OMSCHRIJVING, "
      "CAST(ROUND(COALESCE(MV.VMV_LESTIJDENORGANISATIE, 0) - I.IMV_LESTIJDENAFSTANDSONDERWIJS - "
      "I.IMV_LESTIJDENDELIBERATIE - I.IMV_LESTIJDENWERKPLEKLEREN, 0) AS BIGINT), "
      "I.IMV_LESTIJDENAFSTANDSONDERWIJS, MV.VMV_LESTIJDENORGANISATIE, I.IMV_LESVAN, I.IMV_LESTOT, "
      "I.IMV_REGISTRATIEMOMENT, I.IMV_AFGELASTOP "
      "FROM VWOKLAS K "
      "JOIN VWOINGMODULEVARIANT I ON I.IMV_VWOKLAS_FK = K.VWK_ID "
      "JOIN VWOMODULEVARIANT MV ON MV.VMV_ID = I.IMV_VWOMODULEVARIANT_FK "
      "JOIN VWOMODULE M ON M.VOM_ID = MV.VMV_MODULE_FK "
      "WHERE K.VWK_INSTELLING_FK = :IS_ID AND K.VWK_VAN >= :VAN AND K.VWK_VAN <= :TOT "
      "AND (:KLAS1 = -1 OR K.VWK_ID = :KLAS2) "
      "ORDER BY K.VWK_CODE, K.VWK_ID, I.IMV_AFKORTING, I.IMV_ID");
  moduleVariants->BindInt64(moduleVariants->ParameterIndex("IS_ID"), job.args.Integer(0));
  moduleVariants->BindInt64(moduleVariants->ParameterIndex("KLAS1"), job.args.Integer(1));
  moduleVariants->BindInt64(moduleVariants->ParameterIndex("KLAS2"), job.args.Integer(1));
  moduleVariants->BindText(moduleVariants->ParameterIndex("VAN"), DateToSql(job.args.DateTime(2)));
  moduleVariants->BindText(moduleVariants->ParameterIndex("TOT"), DateToSql(job.args.DateTime(3)));
  auto lessons = job.db.Prepare(
      "SELECT VWL_LESUREN, VWL_FLAGS FROM VWOLES WHERE VWL_INGMODULEVARIANT_FK = :IMV_ID");

  JobRowWriter writer(job);
  int count = 0;
  while (moduleVariants->Step()) {
    Currency planned;
    lessons->Reset();
    lessons->BindInt64(0, moduleVariants->ColumnInt64(1));
    while (lessons->Step()) {
      int64_t flags = lessons->ColumnStorage(1) == StorageClass::Null ? 0 : lessons->ColumnInt64(1);
      if (flags & (kNotGiven | kDistance)) continue;
      planned = planned + ReadValue(*lessons, 0, FieldType::Currency).AsCurrency();
    }
    // Lesson times are never negative, so both roundings work on a non-negative amount.
    int64_t plannedRaw = std::max<int64_t>(planned.Raw(), 0);
    int64_t required = moduleVariants->ColumnInt64(6);
    JobRow row;
    row.Set("J_TYPERECORD", 0)
        .Set("J_INTEGER1", ReadValue(*moduleVariants, 0, FieldType::Integer))
        .Set("J_INTEGER2", ReadValue(*moduleVariants, 1, FieldType::Integer))
        .Set("J_INTEGER3", ReadValue(*moduleVariants, 2, FieldType::Integer))
        .Set("J_TEXT1", ReadValue(*moduleVariants, 3, FieldType::String))
        .Set("J_EXTRALONGTEXT1", ReadValue(*moduleVariants, 4, FieldType::String))
        .Set("J_EXTRALONGTEXT2", ReadValue(*moduleVariants, 5, FieldType::String))
        .Set("J_CURRENCY1", Currency::FromRaw(RoundedQuotient(plannedRaw, 100) * 100))
        .Set("J_INTEGER4", Variant(required))
        .Set("J_BIGINT1", Percentage(Currency::FromRaw(plannedRaw), required))
        .Set("J_INTEGER5", ReadValue(*moduleVariants, 7, FieldType::Integer))
        .Set("J_INTEGER6", ReadValue(*moduleVariants, 8, FieldType::Integer))
        .Set("J_DATE1", ReadValue(*moduleVariants, 9, FieldType::DateTime))
        .Set("J_DATE2", ReadValue(*moduleVariants, 10, FieldType::DateTime))
        .Set("J_DATE3", ReadValue(*moduleVariants, 11, FieldType::DateTime))
        .Set("J_DATE4", ReadValue(*moduleVariants, 12, FieldType::DateTime));
    writer.Insert(row);
    ++count;
  }
  return count == 1 ? std::string("1 rij") : Format("%d rijen", count);
}

}  // namespace

void RegisterJob320(JobRegistry& registry) {
  registry.Register(
      320,
      {.prepare = {},
       .execute = {{JobValue::Integer, JobValue::Integer, JobValue::DateTime, JobValue::DateTime},
                   CheckRows},
       .clean = {}});
}

}  // namespace quil::server

// Job 328: the class memo of a class's lesson moments.
//
// The memo of type "KAL" (the shared list "VWKM") of the class is written anew: one paragraph per
// organised module variant, in the order of their lesson start, giving the module, the first and
// last lesson, the number of lessons and lesson times, and the weekly moments (weekday, start and
// end) in the order of the week. Lessons that lapse (VWL_FLAGS bit 1) are not given and count
// nowhere. Any earlier "KAL" memo of the class is replaced, so running the job twice leaves one.
//
// Data: (VWK_ID). No rows. The memo carries the calling user and the server time.
#include <map>
#include <tuple>

#include "host/base/Currency.h"
#include "host/base/Errors.h"
#include "host/base/SysUtils.h"
#include "server/db/ValueCodec.h"
#include "server/jobs/JobService.h"

namespace quil::server {

namespace {

constexpr int kLapses = 1 << 1;  //!< VWL_FLAGS: the lesson is not given
constexpr const char* kOmschrijving = "Lesuren uit lesmomenten";

const char* const kWeekdagen[] = {"maandag", "dinsdag",  "woensdag", "donderdag",
                                  "vrijdag", "zaterdag", "zondag"};

struct Moduleregels {
  std::string titel;
  TDateTime eerste, laatste;
  int lessen = 0;
  Currency lestijden;
  //! (weekday Monday = 1, start, end) -> number of lessons.
  std::map<std::tuple<int, std::string, std::string>, int> momenten;
};

std::string MemoText(Database& db, int64_t klas) {
  auto imvs = db.Prepare(
      "SELECT I.IMV_ID, M.VOM_CODE, I.IMV_AFKORTING, M.VOM_OMSCHRIJVING "
      "FROM VWOINGMODULEVARIANT I JOIN VWOMODULEVARIANT MV ON MV.VMV_ID = "
      "I.IMV_VWOMODULEVARIANT_FK "
      "JOIN VWOMODULE M ON M.VOM_ID = MV.VMV_MODULE_FK WHERE I.IMV_VWOKLAS_FK = :VWK_ID "
      "ORDER BY I.IMV_LESVAN, I.IMV_ID");
  imvs->BindInt64(0, klas);
  std::vector<std::pair<int64_t, Moduleregels>> modules;
  while (imvs->Step()) {
    Moduleregels regels;
    regels.titel = std::string(imvs->ColumnText(1)) + " " + std::string(imvs->ColumnText(2)) + " " +
                   std::string(imvs->ColumnText(3));
    modules.emplace_back(imvs->ColumnInt64(0), std::move(regels));
  }
  auto lessons = db.Prepare(
      "SELECT VWL_DATUM, VWL_VANUUR, VWL_TOTUUR, VWL_LESUREN, VWL_FLAGS FROM VWOLES "
      "WHERE VWL_INGMODULEVARIANT_FK = :IMV_ID ORDER BY VWL_DATUM, VWL_VANUUR");
  std::string text;
  for (auto& [imv, regels] : modules) {
    lessons->Reset();
    lessons->BindInt64(0, imv);
    while (lessons->Step()) {
      const int64_t flags =
          lessons->ColumnStorage(4) == StorageClass::Null ? 0 : lessons->ColumnInt64(4);
      if (flags & kLapses) continue;
      const TDateTime datum = ReadValue(*lessons, 0, FieldType::Date).AsDateTime();
      const std::string van =
          FormatDateTime("hh:nn", ReadValue(*lessons, 1, FieldType::Time).AsDateTime());
      const std::string tot =
          FormatDateTime("hh:nn", ReadValue(*lessons, 2, FieldType::Time).AsDateTime());
      if (regels.lessen == 0) regels.eerste = datum;
      regels.laatste = datum;
      ++regels.lessen;
      regels.lestijden =
          regels.lestijden + ReadValue(*lessons, 3, FieldType::Currency).AsCurrency();
      ++regels.momenten[{DayOfTheWeek(datum), van, tot}];
    }
    if (!text.empty()) text += "\r\n";
    text += regels.titel + "\r\n";
    if (regels.lessen == 0) {
      text += "  geen lesmomenten\r\n";
      continue;
    }
    text += Format("  %s tot %s: %d lesmomenten, %s lestijden\r\n",
                   FormatDateTime("dd/mm/yyyy", regels.eerste),
                   FormatDateTime("dd/mm/yyyy", regels.laatste), regels.lessen,
                   FormatCurr("0.##", regels.lestijden));
    for (const auto& [moment, aantal] : regels.momenten) {
      const auto& [dag, van, tot] = moment;
      text += Format("  %s %s - %s (%d x)\r\n", kWeekdagen[dag - 1], van, tot, aantal);
    }
  }
  return text.empty() ? "Geen ingerichte modulevarianten\r\n" : text;
}

std::string KlasMemo(JobContext& job) {
  const int64_t klas = job.args.Integer(0);
  auto find = job.db.Prepare("SELECT VWK_CODE FROM VWOKLAS WHERE VWK_ID = :VWK_ID");
  find->BindInt64(0, klas);
  if (!find->Step()) RaiseClientError(Format("Klas %d niet gevonden", klas));
  const std::string code(find->ColumnText(0));
  auto type = job.db.Prepare(
      "SELECT P_ID FROM PARAM WHERE P_TYPE = 'VWKM' AND P_CODE = 'KAL' "
      "AND P_INSTELLING_FK IS NULL");
  if (!type->Step()) RaiseClientError("Job 328: het memotype KAL (VWKM) bestaat niet");
  const int64_t typeId = type->ColumnInt64(0);

  const std::string memo = MemoText(job.db, klas);
  auto remove = job.db.Prepare(
      "DELETE FROM VWOKLASMEMO WHERE VKM_VWOKLAS_FK = :VWK_ID AND VKM_TYPE_FKP = :TYPE");
  remove->BindInt64(0, klas);
  remove->BindInt64(remove->ParameterIndex("TYPE"), typeId);
  remove->Step();
  std::optional<int64_t> id = job.db.NextGeneratorValue("VWOKLASMEMO");
  if (!id) RaiseClientError("Generator 'VWOKLASMEMO' niet gevonden");
  auto insert = job.db.Prepare(
      "INSERT INTO VWOKLASMEMO (VKM_ID, VKM_VWOKLAS_FK, VKM_TYPE_FKP, VKM_OMSCHRIJVING, VKM_MEMO, "
      "VKM_VERANDERDDOOR, VKM_VERANDERDOP) VALUES (:ID, :VWK_ID, :TYPE, :OMS, :MEMO, :DOOR, :OP)");
  insert->BindInt64(insert->ParameterIndex("ID"), *id);
  insert->BindInt64(insert->ParameterIndex("VWK_ID"), klas);
  insert->BindInt64(insert->ParameterIndex("TYPE"), typeId);
  insert->BindText(insert->ParameterIndex("OMS"), kOmschrijving);
  insert->BindText(insert->ParameterIndex("MEMO"), memo);
  insert->BindInt64(insert->ParameterIndex("DOOR"), job.userId);
  insert->BindText(insert->ParameterIndex("OP"), DateTimeToSql(job.now));
  insert->Step();
  return Format("Klasmemo lesuren aangemaakt voor klas %s", code);
}

}  // namespace

void RegisterJob328(JobRegistry& registry) {
  JobStep step{{JobValue::Integer}, KlasMemo};
  registry.Register(328, {.prepare = step, .execute = step, .clean = {}});
}

}  // namespace quil::server

// Job 373: the number of pupils of organised module variants, counted anew.
//
// Data: (the IMV_IDs as text, "12,7,30"). A module variant's IMV_AANTALLEERLINGEN becomes the
// number of different pupils with a participation in one of its lessons. Only a module variant
// whose number changes is written, with the calling user and the server time. Every id must be
// an organised module variant; otherwise nothing changes. No rows.
#include <string_view>
#include <vector>

#include "host/base/Errors.h"
#include "host/base/SysUtils.h"
#include "server/db/ValueCodec.h"
#include "server/jobs/JobService.h"

namespace quil::server {

namespace {

std::vector<int64_t> ReadIds(std::string_view text) {
  std::vector<int64_t> ids;
  auto refuse = [&] {
    RaiseClientError(
        Format("Job 373: '%s' is geen lijst van ingerichte modulevarianten", std::string(text)));
  };
  if (text.empty()) refuse();
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find(',', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view part = text.substr(start, end - start);
    if (part.empty() || part.size() > 18) refuse();
    int64_t id = 0;
    for (char c : part) {
      if (c < '0' || c > '9') refuse();
      id = id * 10 + (c - '0');
    }
    ids.push_back(id);
    start = end + 1;
  }
  return ids;
}

std::string AantalLeerlingen(JobContext& job) {
  const std::vector<int64_t> ids = ReadIds(job.args.Text(0));
  auto find = job.db.Prepare("SELECT IMV_ID FROM VWOINGMODULEVARIANT WHERE IMV_ID = :IMV_ID");
  auto count = job.db.Prepare(
      "SELECT COUNT(DISTINCT P.VPA_CURSIST) FROM VWOPARTICIPATIE P "
      "JOIN VWOLES L ON L.VWL_ID = P.VPA_VWOLES_FK WHERE L.VWL_INGMODULEVARIANT_FK = :IMV_ID");
  auto update = job.db.Prepare(
      "UPDATE VWOINGMODULEVARIANT SET IMV_AANTALLEERLINGEN = :AANTAL, IMV_VERANDERDDOOR = :DOOR, "
      "IMV_VERANDERDOP = :OP WHERE IMV_ID = :IMV_ID "
      "AND (IMV_AANTALLEERLINGEN IS NULL OR IMV_AANTALLEERLINGEN <> :AANTAL)");
  int changed = 0;
  for (int64_t imv : ids) {
    find->Reset();
    find->BindInt64(0, imv);
    if (!find->Step()) RaiseClientError(Format("Ingerichte modulevariant %d niet gevonden", imv));
    count->Reset();
    count->BindInt64(0, imv);
    count->Step();
    const int64_t aantal = count->ColumnInt64(0);
    update->Reset();
    update->BindInt64(update->ParameterIndex("AANTAL"), aantal);
    update->BindInt64(update->ParameterIndex("DOOR"), job.userId);
    update->BindText(update->ParameterIndex("OP"), DateTimeToSql(job.now));
    update->BindInt64(update->ParameterIndex("IMV_ID"), imv);
    update->Step();
    changed += static_cast<int>(job.db.Changes());
  }
  return Format("Aantal leerlingen herberekend: %d van %d ingerichte modulevarianten gewijzigd",
                changed, static_cast<int>(ids.size()));
}

}  // namespace

void RegisterJob373(JobRegistry& registry) {
  JobStep step{{JobValue::Text}, AantalLeerlingen};
  registry.Register(373, {.prepare = step, .execute = step, .clean = {}});
}

}  // namespace quil::server

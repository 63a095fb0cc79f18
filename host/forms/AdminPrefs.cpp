#include "host/forms/AdminPrefs.h"

#include <string>

#include "host/base/Errors.h"
#include "host/base/SchoolYear.h"
#include "host/base/SysUtils.h"

namespace quil {

namespace {

//! The server's list of school years: SJ_ID, SJ_CODE, ...
constexpr std::string_view kSchooljaren = "DSPSelectSJ";

}  // namespace

AdminPrefs::AdminPrefs() : AdminPrefs(Date()) {}

AdminPrefs::AdminPrefs(TDateTime werkDatum) {
  SetWerkDatum(werkDatum);
}

TDateTime AdminPrefs::FirstWerkDatum() {
  return EncodeDate(1, 9, 1);
}

TDateTime AdminPrefs::LastWerkDatum() {
  return EncodeDate(9999, 8, 31);
}

bool AdminPrefs::IsValidWerkDatum(TDateTime werkDatum) {
  const TDateTime day = DateOf(werkDatum);
  return day >= FirstWerkDatum() && day <= LastWerkDatum();
}

void AdminPrefs::CheckWerkDatum(TDateTime werkDatum) {
  if (!IsValidWerkDatum(werkDatum)) {
    RaiseClientError(Format("De werkdatum moet tussen %s en %s liggen", DateToStr(FirstWerkDatum()),
                            DateToStr(LastWerkDatum())));
  }
}

void AdminPrefs::SetWerkDatum(TDateTime werkDatum) {
  CheckWerkDatum(werkDatum);
  // Everything is computed before anything is assigned.
  const int werkJaar = GetSchooljaarFrom(werkDatum);
  const TDateTime start = GetSchooljaarStartFrom(werkDatum);
  const TDateTime end = GetSchooljaarEndFrom(werkDatum);
  if (werkJaar != werkJaar_) werkJaarID_ = -1;
  werkDatum_ = DateOf(werkDatum);
  werkJaar_ = werkJaar;
  startOfWerkJaar_ = start;
  endOfWerkJaar_ = end;
}

TDateTime AdminPrefs::EndOfZovive() {
  return EncodeDate(2999, 12, 31);
}

int32_t GetSchooljaarID(IAppServer& server, int schooljaar) {
  const DataPacket years = server.GetRecords(kSchooljaren, Params());
  const int id = years.FieldIndex("SJ_ID");
  const int code = years.FieldIndex("SJ_CODE");
  if (id < 0 || code < 0) return -1;
  const std::string wanted = std::to_string(schooljaar);
  for (const Row& row : years.rows) {
    if (row[code].AsString() == wanted) return static_cast<int32_t>(row[id].AsInteger());
  }
  return -1;
}

}  // namespace quil

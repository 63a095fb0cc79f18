#include "host/domain/AdminPrefs.h"

#include "host/domain/SchoolYear.h"

namespace quil {

AdminPrefs::AdminPrefs() : AdminPrefs(Date()) {}

AdminPrefs::AdminPrefs(TDateTime werkDatum) {
  SetWerkDatum(werkDatum);
}

void AdminPrefs::SetWerkDatum(TDateTime werkDatum) {
  int werkJaar = GetSchooljaarFrom(werkDatum);
  if (werkJaar != werkJaar_) werkJaarID_ = -1;
  werkDatum_ = DateOf(werkDatum);
  werkJaar_ = werkJaar;
  startOfWerkJaar_ = GetSchooljaarStartFrom(werkDatum);
  endOfWerkJaar_ = GetSchooljaarEndFrom(werkDatum);
}

TDateTime AdminPrefs::EndOfZovive() {
  return EncodeDate(2999, 12, 31);
}

}  // namespace quil

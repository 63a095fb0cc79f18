// Job 313: the lesson moments of a recipe, generated for one organised module variant or for
// every organised module variant of a class, between two dates.
//
// Data: (class VWK_ID, IMV_ID as text or "" for every module variant of the class, options,
// from, to, recipe text). The recipe text is the JSON LesmomentAsString writes (docs/jobs.md).
//
// Dates: each recipe row gives a lesson on its weekday in every week from `from` to `to`, both
// included; every other week (option bit 2) counts weeks from the Monday of the week of `from`
// and keeps weeks 0, 2, 4, ..., so a holiday skips a lesson without shifting the rhythm. Unless
// bit 3 is set, days inside a school holiday (VAKANTIE) are skipped: the general holidays, plus the
// class's institution's own unless bit 4 is set. The dates are the same for every module variant.
//
// Per module variant, in one transaction with everything else: unless bit 6 is set, its lessons
// in the period that have no participation are removed first (lessons outside the period, and
// lessons with participations, stay). Each lesson takes the row's times, lesson times, teacher,
// room and lesson place; a row without teacher or lesson place takes the module variant's, a row
// without room the class's standard room; a distance row sets VWL_FLAGS bit 3. Its trimester is
// the one the lesson lists compute: the school trimester of the date when the module variant
// starts in September, otherwise counted in periods of three months from its start.
//
// The periods grow to hold the new lessons: bit 1 moves the begin dates (IMV_LESVAN, IMV_VAN,
// VWK_VAN) back to the first lesson, bit 0 the end dates (IMV_LESTOT, IMV_TOT, VWK_TOT) on to the
// last one; a period is never shortened. With bit 5 a module variant whose IMV_VAN or IMV_TOT
// moved gets its registration moment anew: one third of the way from IMV_VAN to IMV_TOT, as the
// module variant screen computes it. Records whose values change carry the calling user and time.
#include <algorithm>
#include <cmath>
#include <nlohmann/json.hpp>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "host/base/Errors.h"
#include "host/base/SchoolYear.h"
#include "host/base/SysUtils.h"
#include "server/db/ValueCodec.h"
#include "server/jobs/JobService.h"

namespace quil::server {

namespace {

constexpr int kAdjustEnd = 1 << 0;
constexpr int kAdjustBegin = 1 << 1;
constexpr int kEveryOtherWeek = 1 << 2;
constexpr int kNoHolidayCheck = 1 << 3;
constexpr int kGeneralHolidaysOnly = 1 << 4;
constexpr int kAdjustRegistration = 1 << 5;
constexpr int kKeepExisting = 1 << 6;

constexpr int kDistanceFlag = 1 << 3;  //!< VWL_FLAGS: distance-learning moment

struct RecipeRow {
  int weekday = 0;  //!< Monday = 0
  TDateTime van, tot;
  std::string vanSql, totSql;  //!< the hours as they are stored, written once per recipe
  Currency lestijden;
  std::optional<int64_t> teacher, room, place;
  bool distance = false;
};

[[noreturn]] void BadRecipe(const std::string& why) {
  RaiseClientError("Job 313: het recept is ongeldig: " + why);
}

TDateTime RecipeTime(const nlohmann::json& row, const char* key) {
  std::string text = row.at(key).get<std::string>();
  int hour = -1, minute = -1;
  TDateTime time;
  if (text.size() != 5 || text[2] != ':' ||
      std::sscanf(text.c_str(), "%2d:%2d", &hour, &minute) != 2 ||
      !TryEncodeTime(hour, minute, 0, 0, time)) {
    BadRecipe(Format("'%s' is geen uur", text));
  }
  return time;
}

std::optional<int64_t> RecipeId(const nlohmann::json& row, const char* key) {
  const nlohmann::json& value = row.at(key);
  if (value.is_null()) return std::nullopt;
  return value.get<int64_t>();
}

std::vector<RecipeRow> ReadRecipe(const std::string& text) {
  std::vector<RecipeRow> rows;
  try {
    nlohmann::json recipe = nlohmann::json::parse(text);
    if (recipe.at("versie").get<int>() != 1) BadRecipe("onbekende versie");
    for (const nlohmann::json& item : recipe.at("lesmomenten")) {
      RecipeRow row;
      row.weekday = item.at("dag").get<int>();
      if (row.weekday < 0 || row.weekday > 6) BadRecipe(Format("dag %d bestaat niet", row.weekday));
      row.van = RecipeTime(item, "van");
      row.tot = RecipeTime(item, "tot");
      if (row.tot < row.van) BadRecipe("een les eindigt voor ze begint");
      row.vanSql = TimeToSql(row.van);
      row.totSql = TimeToSql(row.tot);
      if (!SqlToCurrency(item.at("lestijden").get<std::string>(), row.lestijden) ||
          row.lestijden <= Currency(0)) {
        BadRecipe("een les heeft geen geldig aantal lestijden");
      }
      row.teacher = RecipeId(item, "lesgever");
      row.room = RecipeId(item, "lokaal");
      row.place = RecipeId(item, "lesplaats");
      row.distance = item.at("afstand").get<bool>();
      rows.push_back(row);
    }
  } catch (const nlohmann::json::exception& e) {
    BadRecipe(e.what());
  }
  if (rows.empty()) BadRecipe("het bevat geen lesmomenten");
  return rows;
}

struct Lesson {
  TDateTime date;
  const RecipeRow* row;
  std::string dateSql;  //!< the date as it is stored, the same for every module variant
};

//! The days of the holidays that overlap the period, as day numbers.
std::set<int> HolidayDays(Database& db, TDateTime from, TDateTime to,
                          std::optional<int64_t> institution) {
  auto query = db.Prepare(
      "SELECT VAK_VAN, VAK_TOT FROM VAKANTIE WHERE VAK_VAN <= :TOT AND VAK_TOT >= :VAN AND "
      "(VAK_INSTELLING_FK IS NULL OR VAK_INSTELLING_FK = :IS_ID)");
  query->BindText(query->ParameterIndex("TOT"), DateToSql(to));
  query->BindText(query->ParameterIndex("VAN"), DateToSql(from));
  if (institution) {
    query->BindInt64(query->ParameterIndex("IS_ID"), *institution);
  } else {
    query->BindNull(query->ParameterIndex("IS_ID"));
  }
  std::set<int> days;
  while (query->Step()) {
    int first = static_cast<int>(ReadValue(*query, 0, FieldType::Date).AsDateTime().value);
    int last = static_cast<int>(ReadValue(*query, 1, FieldType::Date).AsDateTime().value);
    for (int day = first; day <= last; ++day) days.insert(day);
  }
  return days;
}

//! The lessons of the recipe in the period, in date order (rows of one day in recipe order).
std::vector<Lesson> LessonDates(const std::vector<RecipeRow>& rows, TDateTime from, TDateTime to,
                                bool everyOtherWeek, const std::set<int>& holidays) {
  const int first = static_cast<int>(DateOf(from).value);
  const int last = static_cast<int>(DateOf(to).value);
  const int monday = first - (DayOfTheWeek(TDateTime(first)) - 1);
  std::vector<Lesson> lessons;
  for (int week = 0; monday + 7 * week <= last; week += everyOtherWeek ? 2 : 1) {
    for (const RecipeRow& row : rows) {
      const int day = monday + 7 * week + row.weekday;
      if (day < first || day > last || holidays.count(day) > 0) continue;
      lessons.push_back({TDateTime(day), &row, DateToSql(TDateTime(day))});
    }
  }
  std::stable_sort(lessons.begin(), lessons.end(),
                   [](const Lesson& a, const Lesson& b) { return a.date < b.date; });
  return lessons;
}

struct Klas {
  int64_t id;
  std::optional<int64_t> institution;
  std::optional<int64_t> standardRoom;
  TDateTime van, tot;
};

struct ModuleVariant {
  int64_t id;
  TDateTime van, tot, lesVan, lesTot, registratie;
  std::optional<int64_t> teacher;
  int64_t place;
};

std::optional<int64_t> OptionalInt(const Statement& stmt, int column) {
  if (stmt.ColumnStorage(column) == StorageClass::Null) return std::nullopt;
  return stmt.ColumnInt64(column);
}

Klas ReadKlas(Database& db, int64_t id) {
  auto query = db.Prepare(
      "SELECT VWK_INSTELLING_FK, VWK_STANDAARDLOKAAL_FK, VWK_VAN, VWK_TOT FROM VWOKLAS "
      "WHERE VWK_ID = :VWK_ID");
  query->BindInt64(0, id);
  if (!query->Step()) RaiseClientError(Format("Klas %d niet gevonden", id));
  return {id, OptionalInt(*query, 0), OptionalInt(*query, 1),
          ReadValue(*query, 2, FieldType::Date).AsDateTime(),
          ReadValue(*query, 3, FieldType::Date).AsDateTime()};
}

//! The target's module variants: one (its IMV_ID as text), or every one of the class ("").
std::vector<ModuleVariant> ReadModuleVariants(Database& db, const Klas& klas,
                                              const std::string& target) {
  std::optional<int64_t> only;
  if (!target.empty()) {
    int64_t id = StrToIntDef(target, -1);
    if (id <= 0 || IntToStr(id) != target) {
      RaiseClientError(Format("Job 313: '%s' is geen ingerichte modulevariant", target));
    }
    auto owner = db.Prepare("SELECT IMV_VWOKLAS_FK FROM VWOINGMODULEVARIANT WHERE IMV_ID = :ID");
    owner->BindInt64(0, id);
    if (!owner->Step()) RaiseClientError(Format("Ingerichte modulevariant %d niet gevonden", id));
    if (owner->ColumnInt64(0) != klas.id) {
      RaiseClientError(Format("Ingerichte modulevariant %d hoort niet bij klas %d", id, klas.id));
    }
    only = id;
  }
  auto query = db.Prepare(
      "SELECT IMV_ID, IMV_VAN, IMV_TOT, IMV_LESVAN, IMV_LESTOT, IMV_REGISTRATIEMOMENT, "
      "IMV_LESGEVER_FK, IMV_LESPLAATS_FK FROM VWOINGMODULEVARIANT WHERE IMV_VWOKLAS_FK = :VWK_ID "
      "ORDER BY IMV_ID");
  query->BindInt64(0, klas.id);
  std::vector<ModuleVariant> found;
  while (query->Step()) {
    int64_t id = query->ColumnInt64(0);
    if (only && *only != id) continue;
    found.push_back({id, ReadValue(*query, 1, FieldType::Date).AsDateTime(),
                     ReadValue(*query, 2, FieldType::Date).AsDateTime(),
                     ReadValue(*query, 3, FieldType::Date).AsDateTime(),
                     ReadValue(*query, 4, FieldType::Date).AsDateTime(),
                     ReadValue(*query, 5, FieldType::Date).AsDateTime(), OptionalInt(*query, 6),
                     query->ColumnInt64(7)});
  }
  return found;
}

//! Moves `first`/`last` outward to hold [from, to]; true when one of them moved.
bool Widen(TDateTime& first, TDateTime& last, TDateTime from, TDateTime to, int options) {
  bool moved = false;
  if ((options & kAdjustBegin) && from < first) {
    first = from;
    moved = true;
  }
  if ((options & kAdjustEnd) && to > last) {
    last = to;
    moved = true;
  }
  return moved;
}

//! The first of `count` consecutive values of a generator, taken in the caller's transaction.
int64_t ReserveIds(Database& db, const char* generator, int64_t count) {
  std::optional<int64_t> first = db.ReserveGeneratorValues(generator, count);
  if (!first) RaiseClientError(Format("Generator '%s' niet gevonden", generator));
  return *first;
}

void BindOptional(Statement& stmt, int index, std::optional<int64_t> value) {
  if (value) {
    stmt.BindInt64(index, *value);
  } else {
    stmt.BindNull(index);
  }
}

std::string LessonsFromRecipe(JobContext& job) {
  const int64_t options = job.args.Integer(2);
  const TDateTime from = DateOf(job.args.DateTime(3));
  const TDateTime to = DateOf(job.args.DateTime(4));
  if (to < from) {
    RaiseClientError(
        Format("Job 313: de periode van %s tot %s is leeg", DateToStr(from), DateToStr(to)));
  }
  const std::vector<RecipeRow> rows = ReadRecipe(job.args.Text(5));
  Klas klas = ReadKlas(job.db, job.args.Integer(0));
  std::vector<ModuleVariant> moduleVariants = ReadModuleVariants(job.db, klas, job.args.Text(1));

  std::set<int> holidays;
  if (!(options & kNoHolidayCheck)) {
    holidays = HolidayDays(job.db, from, to,
                           (options & kGeneralHolidaysOnly) ? std::nullopt : klas.institution);
  }
  const std::vector<Lesson> lessons =
      LessonDates(rows, from, to, (options & kEveryOtherWeek) != 0, holidays);

  auto remove = job.db.Prepare(
      "DELETE FROM VWOLES WHERE VWL_INGMODULEVARIANT_FK = :IMV_ID AND VWL_DATUM >= :VAN AND "
      "VWL_DATUM <= :TOT AND NOT EXISTS (SELECT 1 FROM VWOPARTICIPATIE WHERE VPA_VWOLES_FK = "
      "VWL_ID)");
  auto insert = job.db.Prepare(
      "INSERT INTO VWOLES (VWL_ID, VWL_INGMODULEVARIANT_FK, VWL_DATUM, VWL_VANUUR, VWL_TOTUUR, "
      "VWL_LESUREN, VWL_LESGEVER_FK, VWL_LOKAAL_FK, VWL_LESPLAATS_FK, VWL_FLAGS, VWL_TRIMESTER, "
      "VWL_VERANDERDDOOR, VWL_VERANDERDOP) VALUES (:ID, :IMV, :DATUM, :VAN, :TOT, :LESUREN, "
      ":LESGEVER, :LOKAAL, :LESPLAATS, :FLAGS, :TRIMESTER, :DOOR, :OP)");
  auto updateModuleVariant = job.db.Prepare(
      "UPDATE VWOINGMODULEVARIANT SET IMV_VAN = :VAN, IMV_TOT = :TOT, IMV_LESVAN = :LESVAN, "
      "IMV_LESTOT = :LESTOT, IMV_REGISTRATIEMOMENT = :REG, IMV_VERANDERDDOOR = :DOOR, "
      "IMV_VERANDERDOP = :OP WHERE IMV_ID = :IMV_ID");
  const std::string now = DateTimeToSql(job.now);

  int64_t nextId = ReserveIds(
      job.db, "VWOLES",
      static_cast<int64_t>(lessons.size()) * static_cast<int64_t>(moduleVariants.size()));
  int64_t removed = 0;
  const bool any = !lessons.empty();
  const TDateTime firstLesson = any ? lessons.front().date : TDateTime();
  const TDateTime lastLesson = any ? lessons.back().date : TDateTime();
  for (ModuleVariant& imv : moduleVariants) {
    if (!(options & kKeepExisting)) {
      remove->Reset();
      remove->BindInt64(0, imv.id);
      remove->BindText(1, DateToSql(from));
      remove->BindText(2, DateToSql(to));
      remove->Step();
      removed += job.db.Changes();
    }
    if (!any) continue;

    // The period first: the trimesters count from the module variant's (new) start.
    bool lessonPeriod = Widen(imv.lesVan, imv.lesTot, firstLesson, lastLesson, options);
    bool period = Widen(imv.van, imv.tot, firstLesson, lastLesson, options);
    if (period && (options & kAdjustRegistration)) {
      imv.registratie = TDateTime(std::round((2 * imv.van.value + imv.tot.value) / 3));
    }
    if (lessonPeriod || period) {
      Statement& u = *updateModuleVariant;
      u.Reset();
      u.BindText(u.ParameterIndex("VAN"), DateToSql(imv.van));
      u.BindText(u.ParameterIndex("TOT"), DateToSql(imv.tot));
      u.BindText(u.ParameterIndex("LESVAN"), DateToSql(imv.lesVan));
      u.BindText(u.ParameterIndex("LESTOT"), DateToSql(imv.lesTot));
      u.BindText(u.ParameterIndex("REG"), DateToSql(imv.registratie));
      u.BindInt64(u.ParameterIndex("DOOR"), job.userId);
      u.BindText(u.ParameterIndex("OP"), now);
      u.BindInt64(u.ParameterIndex("IMV_ID"), imv.id);
      u.Step();
    }

    const bool linear = MonthOf(imv.van) != 9;
    Statement& s = *insert;
    for (const Lesson& lesson : lessons) {
      const RecipeRow& row = *lesson.row;
      s.Reset();
      s.BindInt64(0, nextId++);
      s.BindInt64(1, imv.id);
      s.BindText(2, lesson.dateSql);
      s.BindText(3, row.vanSql);
      s.BindText(4, row.totSql);
      BindValue(s, 5, Variant(row.lestijden), FieldType::Currency);
      BindOptional(s, 6, row.teacher ? row.teacher : imv.teacher);
      BindOptional(s, 7, row.room ? row.room : klas.standardRoom);
      s.BindInt64(8, row.place ? *row.place : imv.place);
      s.BindInt64(9, row.distance ? kDistanceFlag : 0);
      s.BindInt64(10, GetTrimester(linear, imv.van, lesson.date));
      s.BindInt64(11, job.userId);
      s.BindText(12, now);
      s.Step();
    }
  }

  if (any && Widen(klas.van, klas.tot, firstLesson, lastLesson, options)) {
    auto update = job.db.Prepare(
        "UPDATE VWOKLAS SET VWK_VAN = :VAN, VWK_TOT = :TOT, VWK_VERANDERDDOOR = :DOOR, "
        "VWK_VERANDERDOP = :OP WHERE VWK_ID = :VWK_ID");
    update->BindText(0, DateToSql(klas.van));
    update->BindText(1, DateToSql(klas.tot));
    update->BindInt64(2, job.userId);
    update->BindText(3, now);
    update->BindInt64(4, klas.id);
    update->Step();
  }

  const int64_t created = static_cast<int64_t>(lessons.size() * moduleVariants.size());
  return Format("%d lesmomenten aangemaakt en %d verwijderd voor %d ingerichte modulevarianten",
                created, removed, static_cast<int64_t>(moduleVariants.size()));
}

}  // namespace

void RegisterJob313(JobRegistry& registry) {
  // Generating is not repeatable without changing the result, so only the call that carries a
  // job out does the work; a Prepare is recorded only.
  JobStep step{{JobValue::Integer, JobValue::Text, JobValue::Integer, JobValue::DateTime,
                JobValue::DateTime, JobValue::Text},
               LessonsFromRecipe};
  registry.Register(313, {.prepare = {}, .execute = step, .clean = {}});
}

}  // namespace quil::server

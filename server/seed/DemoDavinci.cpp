// The demo's Davinci records: what the first centre has reported and the calls that did it.
//
// De Linde (institution 1, school 1) has reported its organised programme variants, the classes
// and module variants of the first semester with their first lessons and some pupils, and last
// year's register transfer; a module variant of the second semester waits to be reported. The
// calls show every state: accepted, refused with Davinci's error text, waiting, to be sent again
// after a failed attempt, and failed after every attempt. The waiting ones are well-formed, so
// `kavel serve --davinci` against `kavel davinci-sim` gets them accepted. Horizon (institution
// 2) has reported nothing yet.
#include <string>

#include "host/data/DavinciCalls.h"
#include "server/seed/DemoSeed.h"

namespace quil::server::demo {

namespace {

using davinci::CallAction;
using davinci::CallType;
using davinci::ObjectStatus;
using davinci::ObjectType;

constexpr int kInstitution = 1;
constexpr int kSchool = 1;
constexpr int kSender = 2;  //!< De Linde's Davinci coordinator

struct CallSeed {
  int16_t type;
  char status;
  char foutcode = 0;  //!< 0: no attempt yet
  const char* error = nullptr;
  int attempts = 0;
  std::string data = "{}";
};

class DavinciSeed {
 public:
  explicit DavinciSeed(Seed& s) : s_(s) {}

  //! A Davinci id record; `known` gives it the id Davinci handed out.
  int Record(ObjectType type, int dataFk, bool known, int id2 = 0, int id3 = 0) {
    const int id = s_.Next("ZIDEZUZOID");
    const char letter = "?OMLKCRA"[static_cast<int>(type)];
    s_.w.Insert(
        "ZIDEZUZOID",
        {{"ID_ID", Int(id)},
         {"ID_DAVINCIID", known ? Text(std::string("DV") + letter + "-" + Padded(id)) : Variant()},
         {"ID_DATA_FK", Int(dataFk)},
         {"ID_TYPE", Int(static_cast<int>(type))},
         {"ID_ID2", id2 ? Int(id2) : Variant()},
         {"ID_ID3", id3 ? Int(id3) : Variant()},
         {"ID_DAVINCICONCURRENCYTOKEN", known ? Text("T" + std::to_string(id)) : Variant()},
         {"ID_STATUSOBJECT",
          Int(static_cast<int>(known ? ObjectStatus::Aangemeld : ObjectStatus::NietAangemeld))}});
    return id;
  }

  //! A call made a minute after the previous one, attempted a minute later when it was.
  void Call(int record, const CallSeed& call) {
    const int id = s_.Next("WEBSERVICECALL");
    const std::string made = Moment(minute_++);
    const std::string tried = Moment(minute_++);
    const bool attempted = call.foutcode != 0;
    s_.w.Insert("WEBSERVICECALL",
                {{"WC_ID", Int(id)},
                 {"WC_CALLTYPE", Int(call.type)},
                 {"WC_CALLSTATUS", Text(std::string(1, call.status))},
                 {"WC_CALLFOUTCODE", attempted ? Text(std::string(1, call.foutcode)) : Variant()},
                 {"WC_EERSTECALL", attempted ? Text(tried) : Variant()},
                 {"WC_LAATSTECALL", attempted ? Text(tried) : Variant()},
                 {"WC_FLAGS", Int(0)},
                 {"WC_ZIDEZUZOID_FK", Int(record)},
                 {"WC_SCHOOL_FK", Int(kSchool)},
                 {"WC_PERSONEEL_FK", Int(kSender)},
                 {"WC_FOUT", call.error ? Text(call.error) : Variant()},
                 {"WC_DATA", Text(call.data)},
                 {"WC_POGINGEN", Int(call.attempts)},
                 {"WC_AANMAAKOP", Text(made)},
                 {"WC_AANMAAKDOOR", Int(1)},
                 {"WC_VERANDERDOP", Text(attempted ? tried : made)},
                 {"WC_VERANDERDDOOR", Int(1)}});
  }

  void Update(const std::string& sql, int davinciRecord, int id) {
    auto stmt = s_.db.Prepare(sql);
    stmt->BindInt64(stmt->ParameterIndex("REC"), davinciRecord);
    stmt->BindInt64(stmt->ParameterIndex("ID"), id);
    stmt->Step();
  }

 private:
  static std::string Padded(int id) {
    std::string digits = std::to_string(id);
    return std::string(digits.size() < 6 ? 6 - digits.size() : 0, '0') + digits;
  }
  //! The calls were made on the first days of the working year, during office hours.
  std::string Moment(int minute) const {
    const int day = 1 + minute / 480, inDay = minute % 480;
    char time[16];
    std::snprintf(time, sizeof time, " %02d:%02d:00", 9 + inDay / 60, inDay % 60);
    return Day(s_.year, 9, day) + time;
  }

  Seed& s_;
  int minute_ = 0;
};

std::string Dates(const std::string& from, const std::string& to) {
  return R"({"begindatum":")" + from + R"(","einddatum":")" + to + R"("})";
}

struct LessonRow {
  int id;
  std::string date, from, to;
};

std::vector<LessonRow> FirstLessons(Database& db, int imv, int count) {
  auto stmt = db.Prepare(
      "SELECT VWL_ID, VWL_DATUM, VWL_VANUUR, VWL_TOTUUR FROM VWOLES "
      "WHERE VWL_INGMODULEVARIANT_FK = :IMV ORDER BY VWL_DATUM");
  stmt->BindInt64(stmt->ParameterIndex("IMV"), imv);
  std::vector<LessonRow> rows;
  while (static_cast<int>(rows.size()) < count && stmt->Step()) {
    rows.push_back({static_cast<int>(stmt->ColumnInt64(0)), std::string(stmt->ColumnText(1)),
                    std::string(stmt->ColumnText(2)), std::string(stmt->ColumnText(3))});
  }
  return rows;
}

std::string LessonData(const LessonRow& lesson) {
  return R"({"datum":")" + lesson.date + R"(","van":")" + lesson.from + R"(","tot":")" + lesson.to +
         R"("})";
}

}  // namespace

void SeedDavinciRecords(Seed& s) {
  DavinciSeed d(s);
  const char ok = davinci::foutcode::kOk;
  const char sent = davinci::status::kVerzonden;
  const std::string from = Day(s.year - 1, 9, 1), to = Day(s.year + 2, 8, 31);

  // Programme variants: every one De Linde organises is known.
  for (const auto& [key, cio] : s.organisedVariants) {
    if (std::get<0>(key) != kInstitution) continue;
    const int record = d.Record(ObjectType::OpleidingsVariant, cio, true);
    d.Call(record, {.type = CallType(ObjectType::OpleidingsVariant, CallAction::Aanmelden),
                    .status = sent,
                    .foutcode = ok,
                    .attempts = 1,
                    .data = Dates(from, to)});
    d.Update("UPDATE VWOINGOPLEIDINGSVARIANT SET CIO_DAVINCIID = :REC WHERE CIO_ID = :ID", record,
             cio);
  }

  for (const DemoClass& klas : s.classes) {
    if (klas.institution != kInstitution) continue;
    const bool firstSemester = klas.id <= 3;
    if (firstSemester) {
      const int record = d.Record(ObjectType::Klas, klas.id, true);
      d.Call(record, {.type = CallType(ObjectType::Klas, CallAction::Aanmelden),
                      .status = sent,
                      .foutcode = ok,
                      .attempts = 1,
                      .data = Dates(Day(s.year, 9, 15), Day(s.year + 1, 1, 31))});
    }
    for (size_t k = 0; k < klas.moduleVariants.size(); ++k) {
      const int imv = klas.moduleVariants[k].id;
      const std::string period = firstSemester
                                     ? Dates(Day(s.year, 9, 15), Day(s.year + 1, 1, 31))
                                     : Dates(Day(s.year + 1, 2, 3), Day(s.year + 1, 6, 27));
      if (!firstSemester) {
        // The second semester's first class: one module variant waits to be reported, the other
        // could not be delivered at all.
        if (klas.id != 4) continue;
        const int record = d.Record(ObjectType::ModuleVariant, imv, false);
        if (k == 0) {
          d.Call(record, {.type = CallType(ObjectType::ModuleVariant, CallAction::Aanmelden),
                          .status = davinci::status::kWachtend,
                          .data = period});
          for (const LessonRow& lesson : FirstLessons(s.db, imv, 2)) {
            d.Call(d.Record(ObjectType::Les, lesson.id, false),
                   {.type = CallType(ObjectType::Les, CallAction::Aanmelden),
                    .status = davinci::status::kWachtend,
                    .data = LessonData(lesson)});
          }
        } else {
          d.Call(record, {.type = CallType(ObjectType::ModuleVariant, CallAction::Aanmelden),
                          .status = davinci::status::kMislukt,
                          .foutcode = davinci::foutcode::kVerbinding,
                          .error = "Geen verbinding met Davinci (Connection)",
                          .attempts = 5,
                          .data = period});
        }
        continue;
      }
      const int record = d.Record(ObjectType::ModuleVariant, imv, true);
      d.Call(record, {.type = CallType(ObjectType::ModuleVariant, CallAction::Aanmelden),
                      .status = sent,
                      .foutcode = ok,
                      .attempts = 1,
                      .data = period});
      d.Update(
          "UPDATE VWOINGMODULEVARIANT SET IMV_DAVINCIID = :REC, IMV_DAVINCIKLAAR = '+' "
          "WHERE IMV_ID = :ID",
          record, imv);
      if (imv == 1) {
        // A change that met an outage: it goes out again by itself.
        d.Call(record, {.type = CallType(ObjectType::ModuleVariant, CallAction::Wijzigen),
                        .status = davinci::status::kOpnieuw,
                        .foutcode = davinci::foutcode::kServerfout,
                        .error = "DV-503: Davinci is tijdelijk niet beschikbaar",
                        .attempts = 1,
                        .data = period});
      }
      // The first lessons; of the second module variant a change was refused.
      const std::vector<LessonRow> lessons = FirstLessons(s.db, imv, 3);
      for (const LessonRow& lesson : lessons) {
        const int les = d.Record(ObjectType::Les, lesson.id, true);
        d.Call(les, {.type = CallType(ObjectType::Les, CallAction::Aanmelden),
                     .status = sent,
                     .foutcode = ok,
                     .attempts = 1,
                     .data = LessonData(lesson)});
        d.Update("UPDATE VWOLES SET VWL_DAVINCIID = :REC WHERE VWL_ID = :ID", les, lesson.id);
        if (k == 1 && &lesson == &lessons.front()) {
          d.Call(les, {.type = CallType(ObjectType::Les, CallAction::Wijzigen),
                       .status = davinci::status::kGeweigerd,
                       .foutcode = davinci::foutcode::kRegel,
                       .error = "DV-103: Het einduur van de les ligt niet na het beginuur",
                       .attempts = 1,
                       .data = LessonData({lesson.id, lesson.date, lesson.to, lesson.from})});
        }
      }
      // Pupils: three reported, one refused; of the second module variant one still waits.
      const int pupils = k == 0 ? 4 : 1;
      for (int p = 0; p < pupils; ++p) {
        const int pupil = 1000 + imv * 10 + p;
        const bool refused = k == 0 && p == 3;
        const bool waiting = k == 1;
        const std::string number = refused ? "8501011234" : std::to_string(85010100000LL + pupil);
        d.Call(d.Record(ObjectType::Cursist, pupil, !refused && !waiting, imv, klas.id),
               {.type = CallType(ObjectType::Cursist, CallAction::Aanmelden),
                .status = refused   ? davinci::status::kGeweigerd
                          : waiting ? davinci::status::kWachtend
                                    : sent,
                .foutcode = refused   ? davinci::foutcode::kRegel
                            : waiting ? char(0)
                                      : ok,
                .error = refused ? "DV-301: Het rijksregisternummer van de cursist is ongeldig"
                                 : nullptr,
                .attempts = waiting ? 0 : 1,
                .data = R"({"rijksregisternummer":")" + number + R"("})"});
      }
    }
  }

  // Last year's register transfer was reported.
  const int transfer = d.Record(ObjectType::Registreeroverdracht, 1, true);
  d.Call(transfer, {.type = CallType(ObjectType::Registreeroverdracht, CallAction::Aanmelden),
                    .status = sent,
                    .foutcode = ok,
                    .attempts = 1,
                    .data = R"({"leraarsuren":80})"});
  d.Update("UPDATE REGISTEROVERDRACHT SET RO_DAVINCIOVERDRACHTID = :REC WHERE RO_ID = :ID",
           transfer, 1);
}

}  // namespace quil::server::demo

// The demo database: a small, believable adult-education centre to try the program on.
//
// Two institutions with their schools, locations, rooms, Davinci locations, official and own
// lesson places, staff with their employment, school years, coded values of every list the
// screens open, absence codes (the second institution has none, so its screen offers the standard
// codes), KBI contact persons, lesson materials, and:
// - the government's structure: fields of study, programmes, programme variants with their
//   module variants, official subjects, and the schools' authorisations per Davinci location;
// - per institution: organised modules, module groups and prerequisites, organised programme
//   variants with the locations that teach them, organised subjects, certificates with their
//   module paths, Davinci contact persons and a register transfer;
// - the classes of the working year, linked to the organised programme variants that hold their
//   module variants, with their organised module variants (materials, attainment targets,
//   competences, teaching assignment), weekly lessons, a memo and a contact person;
// - the school holidays of the demo's school years (general ones and one day per centre) and two
//   participations in every lesson of September.
// Users: "admin" (every right) and "demo" (rights on the reference screens).
//
// The data are the same on every run for the same working year: no clock, no randomness beyond
// a fixed-seed generator. All names are invented.
#pragma once

#include "server/db/Database.h"

namespace quil::server {

struct DemoOptions {
  //! The school year Y (1/9/Y .. 31/8/Y+1) the classes run in.
  int workingYear = 2025;
};

//! Fills a database that has the schema and no rows; generators follow the inserted keys.
void SeedDemoData(Database& db, const DemoOptions& options = {});

}  // namespace quil::server

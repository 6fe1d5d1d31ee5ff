// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "model/rocket_record.h"
#include "motors/motor_record.h"

namespace komet {

// The bundled sample rockets: examples/rockets/*.txt become
// examples/rockets/*.kmw, their motors taken from the bundled catalogue. The
// generator and the test that keeps the committed files current share these
// functions.

// The rocket a description gives, as the stage dialog's transfer would leave
// it (working values 0). Throws KometError "NAME.txt, Zeile N: ..." for a
// line it cannot use or a motor not in `motors`.
//
// The description, one "key = value" a line, "#" starts a comment line:
//   name = Einstufer C6        cw = 0.62        notiz = one line of the notes
//   [Hauptstufe] / [Stufe 2] / [Stufe 3], then per stage
//   motor = 1 C6 (count and name; up to three, slots 1..3),
//   masse_g, durchmesser_mm, flaechen_mm2, verzoegerung_s (stages 2 and 3).
RocketRecord BuildExampleRocket(std::string_view description, std::span<const MotorRecord> motors,
                                std::string_view fileName);

// Where the examples live, relative to the source directory.
inline constexpr std::string_view kExampleRocketDir = "examples/rockets";

struct ExampleRocket {
  std::filesystem::path file;  // the .kmw beside its description
  RocketRecord rocket;
};

// Everything the bundled examples hold, built from their sources.
struct Examples {
  std::vector<MotorRecord> motors;  // the catalogue, in record order
  std::vector<ExampleRocket> rockets;
};

// Builds the examples from the sources below `sourceDir`, descriptions in
// name order; writes nothing. Throws KometError.
Examples BuildExamples(const std::filesystem::path& sourceDir);

// Writes the rockets (SaveRocketFile) to their files. Throws KometError.
void WriteExamples(const Examples& examples);

}  // namespace komet

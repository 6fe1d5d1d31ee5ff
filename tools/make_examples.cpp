// SPDX-License-Identifier: GPL-3.0-or-later
// komet-make-examples SOURCE_DIR: rebuilds the sample rockets
// (examples/rockets/*.kmw from their .txt descriptions) with the motors of
// the bundled catalogue.

#include <cstdio>
#include <filesystem>

#include "common/komet_error.h"
#include "examples/eng_examples.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "Aufruf: komet-make-examples QUELLVERZEICHNIS\n");
    return 2;
  }
  const std::filesystem::path sourceDir = argv[1];
  try {
    const komet::Examples examples = komet::BuildExamples(sourceDir);
    komet::WriteExamples(examples);
    std::printf("%zu Raketen nach %s geschrieben\n", examples.rockets.size(),
                (sourceDir / komet::kExampleRocketDir).c_str());
  } catch (const komet::KometError& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  } catch (const std::filesystem::filesystem_error& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  }
  return 0;
}

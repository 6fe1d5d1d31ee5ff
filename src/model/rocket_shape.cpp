// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/rocket_shape.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>

#include "common/format.h"
#include "common/komet_error.h"
#include "common/text.h"

namespace komet {
namespace {

constexpr std::string_view kFirstLine = "komet-form 1";
constexpr int kMaxStages = 3;

struct Named {
  std::string_view key;
  const char* name;
};
constexpr std::array<std::string_view, 3> kNoseKeys{"cone", "ogive", "parabola"};
constexpr std::array<Named, 3> kFinishes{{{"smooth", "glatt"}, {"painted", "lackiert"}, {"rough", "rau"}}};

KometError LineError(int line, const std::string& what) {
  return KometError(KometError::Kind::Format, "Formdatei, Zeile " + std::to_string(line) + ": " + what);
}

std::vector<std::string_view> Words(std::string_view line) {
  std::vector<std::string_view> words;
  while (!(line = Trim(line, " \t\r")).empty()) {
    const std::size_t end = line.find_first_of(" \t");
    words.push_back(line.substr(0, end));
    line = end == std::string_view::npos ? std::string_view() : line.substr(end);
  }
  return words;
}

double Number(std::string_view word, int line) {
  double value = 0.0;
  const auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), value);
  if (ec != std::errc() || end != word.data() + word.size() || !std::isfinite(value))
    throw LineError(line, "\"" + std::string(word) + "\" ist keine Zahl");
  return value;
}

// The numbers after the key, exactly `count` of them.
std::vector<double> Numbers(const std::vector<std::string_view>& words, std::size_t first, std::size_t count,
                            int line) {
  if (words.size() != first + count)
    throw LineError(line, std::string(words[0]) + " braucht " + std::to_string(count) + " Zahlen");
  std::vector<double> values;
  for (std::size_t i = first; i < words.size(); ++i) values.push_back(Number(words[i], line));
  return values;
}

void ReadKey(StageShape& s, const std::vector<std::string_view>& w, int line) {
  const std::string_view key = w[0];
  if (key == "nose") {
    if (w.size() != 3) throw LineError(line, "nose braucht Form und Länge");
    const auto shape = NoseShapeFromKey(w[1]);
    if (!shape) throw LineError(line, "unbekannte Spitzenform \"" + std::string(w[1]) + "\"");
    s.nose = NoseCone{*shape, Number(w[2], line)};
  } else if (key == "bodyLength") {
    s.bodyLength = Numbers(w, 1, 1, line)[0];
  } else if (key == "diameter") {
    s.diameter = Numbers(w, 1, 1, line)[0];
  } else if (key == "fins") {
    const auto v = Numbers(w, 1, 7, line);
    if (v[0] != std::floor(v[0])) throw LineError(line, "die Zahl der Flossen ist keine ganze Zahl");
    s.fins = FinSet{static_cast<int>(v[0]), v[1], v[2], v[3], v[4], v[5], v[6]};
  } else if (key == "transition") {
    const auto v = Numbers(w, 1, 2, line);
    s.transition = Transition{v[0], v[1]};
  } else if (key == "mount") {
    const auto v = Numbers(w, 1, 3, line);
    s.mount = MotorMount{v[0], v[1], v[2]};
  } else if (key == "emptyCg") {
    if (w.size() == 2 && w[1] == "estimate")
      s.emptyCg.reset();
    else
      s.emptyCg = Numbers(w, 1, 1, line)[0];
  } else if (key == "finish") {
    const auto finish = w.size() == 2 ? FinishFromKey(w[1]) : std::nullopt;
    if (!finish) throw LineError(line, "finish braucht smooth, painted oder rough");
    s.finish = *finish;
  } else {
    throw LineError(line, "unbekannter Eintrag \"" + std::string(key) + "\"");
  }
}

std::string Num(double v) {
  return Format('.', "%.6g", v);
}

bool Within(double v, double lo, double hi) {
  return v >= lo && v <= hi;
}

}  // namespace

double NoseRadiusAt(const NoseCone& nose, double radius, double x) {
  const double l = nose.length;
  switch (nose.shape) {
    case NoseShape::Cone:
      return radius * x / l;
    case NoseShape::Parabola:
      return radius * std::sqrt(x / l);
    case NoseShape::Ogive: {
      // tangent ogive: an arc of radius rho that meets the tube without a kink
      const double rho = (radius * radius + l * l) / (2.0 * radius);
      return std::sqrt(std::max(0.0, rho * rho - (l - x) * (l - x))) + radius - rho;
    }
  }
  return radius;
}

double StageShape::Length() const {
  return TubeEnd() + (transition ? transition->length : 0.0);
}

const char* NoseShapeKey(NoseShape shape) {
  return kNoseKeys[static_cast<int>(shape)].data();
}
const char* FinishKey(SurfaceFinish finish) {
  return kFinishes[static_cast<int>(finish)].key.data();
}
const char* FinishName(SurfaceFinish finish) {
  return kFinishes[static_cast<int>(finish)].name;
}

std::optional<NoseShape> NoseShapeFromKey(std::string_view key) {
  for (std::size_t i = 0; i < kNoseKeys.size(); ++i)
    if (key == kNoseKeys[i]) return static_cast<NoseShape>(i);
  return std::nullopt;
}

std::optional<SurfaceFinish> FinishFromKey(std::string_view key) {
  for (std::size_t i = 0; i < kFinishes.size(); ++i)
    if (key == kFinishes[i].key) return static_cast<SurfaceFinish>(i);
  return std::nullopt;
}

std::string ShapeFileFor(std::string_view rocketPath) {
  std::string path(rocketPath);
  const std::size_t slash = path.find_last_of('/');
  const std::size_t dot = path.find_last_of('.');
  if (dot != std::string::npos && (slash == std::string::npos || dot > slash)) path.erase(dot);
  return path + ".kmf";
}

std::string ShapeText(const RocketShape& shape) {
  std::string t = std::string(kFirstLine) + "\n# Längen in m; Schlüssel wie komet-sim shape --json\n";
  for (std::size_t i = 0; i < shape.stages.size(); ++i) {
    const StageShape& s = shape.stages[i];
    t += "stage " + std::to_string(i + 1) + "\n";
    if (s.nose) t += std::string("nose ") + NoseShapeKey(s.nose->shape) + " " + Num(s.nose->length) + "\n";
    t += "bodyLength " + Num(s.bodyLength) + "\ndiameter " + Num(s.diameter) + "\n";
    if (const auto& f = s.fins)
      t += "fins " + std::to_string(f->count) + " " + Num(f->rootChord) + " " + Num(f->tipChord) + " " +
           Num(f->span) + " " + Num(f->sweep) + " " + Num(f->thickness) + " " + Num(f->fromAft) + "\n";
    if (s.transition)
      t += "transition " + Num(s.transition->length) + " " + Num(s.transition->aftDiameter) + "\n";
    t += "mount " + Num(s.mount.diameter) + " " + Num(s.mount.length) + " " + Num(s.mount.overhang) + "\n";
    t += "emptyCg " + (s.emptyCg ? Num(*s.emptyCg) : std::string("estimate")) + "\n";
    t += std::string("finish ") + FinishKey(s.finish) + "\n";
  }
  return t;
}

RocketShape ParseShapeText(std::string_view text) {
  RocketShape shape;
  int line = 0;
  bool first = true;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    const std::string_view raw = Trim(text.substr(0, end));
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    ++line;
    if (first) {
      if (raw != kFirstLine) throw LineError(line, "keine Komet-Formdatei");
      first = false;
      continue;
    }
    if (raw.empty() || raw.front() == '#') continue;
    const auto words = Words(raw);
    if (words[0] == "stage") {
      if (Numbers(words, 1, 1, line)[0] != static_cast<double>(shape.stages.size() + 1) ||
          shape.stages.size() == kMaxStages)
        throw LineError(line, "Stufen müssen von 1 bis 3 der Reihe nach kommen");
      shape.stages.emplace_back();
    } else if (shape.stages.empty()) {
      throw LineError(line, "vor der ersten Stufe");
    } else {
      ReadKey(shape.stages.back(), words, line);
    }
  }
  if (first) throw LineError(1, "keine Komet-Formdatei");
  return shape;
}

std::string ShapeProblem(const RocketShape& shape, int stageCount) {
  if (static_cast<int>(shape.stages.size()) != stageCount)
    return "Die Form beschreibt " + std::to_string(shape.stages.size()) + " Stufen, die Rakete hat " +
           std::to_string(stageCount) + ".";
  for (std::size_t i = 0; i < shape.stages.size(); ++i) {
    const StageShape& s = shape.stages[i];
    const std::string where = "Stufe " + std::to_string(i + 1) + ": ";
    if (i == 0 && (!s.nose || !(s.nose->length > 0.0))) return where + "die Spitze braucht eine Länge.";
    if (i > 0 && s.nose) return where + "nur die oberste Stufe hat eine Spitze.";
    if (!(s.diameter > 0.0) || !(s.bodyLength > 0.0)) return where + "Rohr braucht Länge und Durchmesser.";
    if (const auto& f = s.fins) {
      if (f->count != 3 && f->count != 4 && f->count != 6) return where + "3, 4 oder 6 Flossen.";
      if (!(f->rootChord > 0.0) || !(f->span > 0.0) || f->tipChord < 0.0 || f->thickness < 0.0 ||
          f->fromAft < 0.0 || f->fromAft + f->rootChord > s.bodyLength + 1e-12)
        return where + "die Flossen passen nicht an das Rohr.";
    }
    if (s.transition && (!(s.transition->length > 0.0) || !(s.transition->aftDiameter > 0.0)))
      return where + "der Übergang braucht Länge und hinteren Durchmesser.";
    if (!Within(s.mount.diameter, 0.0, s.diameter) || s.mount.length < 0.0 || s.mount.overhang < 0.0 ||
        s.mount.length > s.Length())
      return where + "die Motorhalterung passt nicht in die Stufe.";
    if (s.emptyCg && !Within(*s.emptyCg, 0.0, s.Length())) return where + "der Schwerpunkt liegt außerhalb.";
  }
  return {};
}

}  // namespace komet

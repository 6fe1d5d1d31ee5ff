// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/shape_json.h"

#include "app/json_text.h"
#include "common/json_reader.h"
#include "common/komet_error.h"

namespace komet {
namespace {

std::string Member(const char* key, const std::string& value) {
  return std::string("\"") + key + "\": " + value;
}

std::string Object(std::initializer_list<std::string> members) {
  std::string out = "{";
  for (const std::string& m : members) out += (out.size() > 1 ? ", " : "") + m;
  return out + "}";
}

std::string StageJson(const StageShape& s) {
  const std::string nose = s.nose ? Object({Member("shape", JsonString(NoseShapeKey(s.nose->shape))),
                                            Member("length", JsonNumber(s.nose->length))})
                                  : "null";
  const std::string fins =
      s.fins ? Object({Member("count", std::to_string(s.fins->count)),
                       Member("rootChord", JsonNumber(s.fins->rootChord)),
                       Member("tipChord", JsonNumber(s.fins->tipChord)),
                       Member("span", JsonNumber(s.fins->span)), Member("sweep", JsonNumber(s.fins->sweep)),
                       Member("thickness", JsonNumber(s.fins->thickness)),
                       Member("fromAft", JsonNumber(s.fins->fromAft))})
             : "null";
  const std::string transition = s.transition
                                     ? Object({Member("length", JsonNumber(s.transition->length)),
                                               Member("aftDiameter", JsonNumber(s.transition->aftDiameter))})
                                     : "null";
  const std::string mount =
      Object({Member("diameter", JsonNumber(s.mount.diameter)), Member("length", JsonNumber(s.mount.length)),
              Member("overhang", JsonNumber(s.mount.overhang))});
  return Object({Member("nose", nose), Member("bodyLength", JsonNumber(s.bodyLength)),
                 Member("diameter", JsonNumber(s.diameter)), Member("fins", fins),
                 Member("transition", transition), Member("mount", mount),
                 Member("emptyCg", JsonNumber(s.emptyCg)),
                 Member("finish", JsonString(FinishKey(s.finish)))});
}

class StageReader {
 public:
  StageReader(const JsonValue& stage, std::size_t index)
      : stage_(stage), where_("Stufe " + std::to_string(index + 1)) {}

  [[noreturn]] void Fail(const std::string& key, const char* what) const {
    throw KometError(KometError::Kind::Format, where_ + ", \"" + key + "\": " + what);
  }

  // The member's object, or nullptr for a missing or null one.
  const JsonValue* Part(const char* key) const {
    const JsonValue* v = stage_.Find(key);
    if (!v || v->kind == JsonValue::Kind::Null) return nullptr;
    if (v->kind != JsonValue::Kind::Object) Fail(key, "ein Objekt erwartet");
    return v;
  }

  double Number(const JsonValue* in, const char* key, const std::string& path) const {
    const JsonValue* v = in ? in->Find(key) : nullptr;
    if (!v || v->kind != JsonValue::Kind::Number) Fail(path + key, "eine Zahl erwartet");
    return v->number;
  }
  double Number(const char* key) const { return Number(&stage_, key, ""); }

  std::string Text(const JsonValue* in, const char* key, const std::string& path) const {
    const JsonValue* v = in ? in->Find(key) : nullptr;
    if (!v || v->kind != JsonValue::Kind::String) Fail(path + key, "ein Text erwartet");
    return v->text;
  }

  StageShape Read() const {
    if (stage_.kind != JsonValue::Kind::Object) Fail("stages", "ein Objekt je Stufe erwartet");
    StageShape s;
    if (const JsonValue* n = Part("nose")) {
      const auto shape = NoseShapeFromKey(Text(n, "shape", "nose."));
      if (!shape) Fail("nose.shape", "cone, ogive oder parabola erwartet");
      s.nose = NoseCone{*shape, Number(n, "length", "nose.")};
    }
    s.bodyLength = Number("bodyLength");
    s.diameter = Number("diameter");
    if (const JsonValue* f = Part("fins")) {
      const double count = Number(f, "count", "fins.");
      if (count != 3 && count != 4 && count != 6) Fail("fins.count", "3, 4 oder 6 erwartet");
      s.fins = FinSet{static_cast<int>(count),        Number(f, "rootChord", "fins."),
                      Number(f, "tipChord", "fins."), Number(f, "span", "fins."),
                      Number(f, "sweep", "fins."),    Number(f, "thickness", "fins."),
                      Number(f, "fromAft", "fins.")};
    }
    if (const JsonValue* t = Part("transition"))
      s.transition = Transition{Number(t, "length", "transition."), Number(t, "aftDiameter", "transition.")};
    const JsonValue* m = Part("mount");
    s.mount = MotorMount{Number(m, "diameter", "mount."), Number(m, "length", "mount."),
                         Number(m, "overhang", "mount.")};
    if (const JsonValue* cg = stage_.Find("emptyCg"); cg && cg->kind != JsonValue::Kind::Null)
      s.emptyCg = Number("emptyCg");
    if (const JsonValue* finish = stage_.Find("finish")) {
      const auto f = finish->kind == JsonValue::Kind::String ? FinishFromKey(finish->text) : std::nullopt;
      if (!f) Fail("finish", "smooth, painted oder rough erwartet");
      s.finish = *f;
    }
    return s;
  }

 private:
  const JsonValue& stage_;
  std::string where_;
};

}  // namespace

std::string ShapeJson(const RocketShape& shape, const std::optional<ShapeResults>& results) {
  std::string stages = "[";
  for (const StageShape& s : shape.stages)
    stages += (stages.size() > 1 ? ",\n    " : "\n    ") + StageJson(s);
  stages += shape.stages.empty() ? "]" : "\n  ]";
  const std::string r =
      results ? Object({Member("cp", JsonNumber(results->cp)), Member("cg", JsonNumber(results->cg)),
                        Member("margin", JsonNumber(results->margin)),
                        Member("minMargin", JsonNumber(results->minMargin)),
                        Member("cwEstimate", JsonNumber(results->cwEstimate))})
              : "null";
  return "{\n  \"stages\": " + stages + ",\n  \"results\": " + r + "\n}\n";
}

RocketShape ShapeFromJson(std::string_view json) {
  const JsonValue doc = ParseJson(json);
  const JsonValue* stages = doc.Find("stages");
  if (!stages || stages->kind != JsonValue::Kind::Array || stages->items.empty() || stages->items.size() > 3)
    throw KometError(KometError::Kind::Format, "\"stages\": eine Liste von 1 bis 3 Stufen erwartet");
  RocketShape shape;
  for (std::size_t i = 0; i < stages->items.size(); ++i)
    shape.stages.push_back(StageReader(stages->items[i], i).Read());
  return shape;
}

}  // namespace komet

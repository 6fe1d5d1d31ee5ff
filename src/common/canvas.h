// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace komet {

struct Color {
  std::uint8_t r = 0, g = 0, b = 0;
  friend bool operator==(const Color&, const Color&) = default;
};

inline constexpr Color kBlack{0, 0, 0};
inline constexpr Color kWhite{255, 255, 255};

enum class PenStyle { Solid, Dotted };

struct Pen {
  Color color = kBlack;
  int width = 1;  // device units (pixels on screen)
  PenStyle style = PenStyle::Solid;
  friend bool operator==(const Pen&, const Pen&) = default;
};

// A font is sized either in points (pointSize > 0) or by its character
// height in device units (pixelHeight, used when pointSize is 0).
struct Font {
  std::string face = "Arial";
  double pointSize = 0.0;
  int pixelHeight = 11;
  Color color = kBlack;
  bool bold = false;
  friend bool operator==(const Font&, const Font&) = default;
};

// Computed coordinates are pulled into this range before they reach a canvas,
// so a point far off the surface never overflows a back-end's fixed-point
// arithmetic (and never overflows an int on the way).
inline constexpr int kCanvasCoordinateLimit = 1 << 24;

// An integral-valued coordinate clamped to +-kCanvasCoordinateLimit; NaN gives 0.
inline int CanvasCoordinate(double v) {
  constexpr double kLimit = kCanvasCoordinateLimit;
  if (!(v == v)) return 0;
  if (v > kLimit) return kCanvasCoordinateLimit;
  if (v < -kLimit) return -kCanvasCoordinateLimit;
  return static_cast<int>(v);
}

// Text metrics of the current font, device units.
struct FontMetrics {
  int height = 0;  // cell height: ascent + descent
  int ascent = 0;
  int descent = 0;
  int externalLeading = 0;  // extra space the font asks for between lines
};

// The 2-D surface every picture of the program is drawn on: the screen
// plot, the curve viewer, the printed report and the line printer. The
// window layer implements it over QPainter; tests record the calls.
class Canvas {
 public:
  virtual ~Canvas() = default;

  virtual void MoveTo(int x, int y) = 0;
  // A line from the current point; the end becomes the current point.
  virtual void LineTo(int x, int y) = 0;
  // Outline of the rectangle with the two corners, in the current pen.
  virtual void Rectangle(int x1, int y1, int x2, int y2) = 0;
  virtual void SetPen(const Pen& pen) = 0;
  virtual const Pen& pen() const = 0;
  virtual void SetFont(const Font& font) = 0;
  virtual const Font& font() const = 0;
  // Background drawn behind text; none = transparent.
  virtual void SetTextBackground(std::optional<Color> color) = 0;
  // Text (UTF-8) with its top-left corner at (x, y).
  virtual void TextOut(int x, int y, std::string_view text) = 0;
  virtual int TextWidth(std::string_view text) = 0;
  virtual int TextHeight(std::string_view text) = 0;
  virtual FontMetrics Metrics() = 0;
  // Later drawing stays inside the rectangle (corners included); nothing:
  // anywhere. Surfaces that cannot clip draw everything.
  virtual void SetClip(std::optional<std::array<int, 4>> /*left, top, right, bottom*/) {}
};

}  // namespace komet

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QImage>
#include <QString>
#include <QtTest>

namespace komet::testing {

// How many pixels of the picture have exactly this colour.
inline int CountColour(const QImage& image, QColor colour) {
  int n = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) n += image.pixelColor(x, y) == colour;
  return n;
}

// Keeps the picture in $KOMET_PICTURES_DIR for a look by eye, when set.
inline void SavePicture(const QImage& image, const char* name) {
  const QString dir = qEnvironmentVariable("KOMET_PICTURES_DIR");
  if (!dir.isEmpty()) QVERIFY(image.save(dir + "/" + name));
}

}  // namespace komet::testing

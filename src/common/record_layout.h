// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <initializer_list>

namespace komet {

// Whether a record's fields, given by their offsets and their sizes in order,
// start at 0, each where the one before ends, the last ending at
// `recordSize`: no gap, no overlap.
constexpr bool FieldsFollowOn(std::initializer_list<std::size_t> offsets,
                              std::initializer_list<std::size_t> sizes, std::size_t recordSize) {
  if (offsets.size() != sizes.size()) return false;
  std::size_t end = 0;
  const std::size_t* size = sizes.begin();
  for (const std::size_t offset : offsets) {
    if (offset != end) return false;
    end = offset + *size++;
  }
  return end == recordSize;
}

}  // namespace komet

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

namespace komet {

// A key under which names sort as people read them: runs of digits by their
// value (D2 before D16, A2 before A10), letters without regard to ASCII case.
// Equal keys for names that differ only in case or leading zeros.
std::string NaturalSortKey(std::string_view text);

}  // namespace komet

#pragma once

#include <string_view>

namespace komet {

// The program's version, shown by the about box and printed in footers.
inline constexpr std::string_view kVersionNumber = "1.09";

}  // namespace komet

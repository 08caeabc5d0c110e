#pragma once

#include <string>
#include <string_view>

namespace zav {

// Text as the operator typed it: a sequence of 16-bit code units, counted in code units.
using Text = std::u16string;
using TextView = std::u16string_view;

} // namespace zav

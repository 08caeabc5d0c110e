#pragma once

#include <string>

namespace zav::testing {

// Names each row of a table after its `name`, so a failure says which case broke.
inline constexpr auto caseName = [](const auto &info) { return std::string(info.param.name); };

} // namespace zav::testing

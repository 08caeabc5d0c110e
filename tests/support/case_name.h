#pragma once

#include <ostream>
#include <string>

namespace zav::testing {

// Names each row of a table after its `name`, so a failure says which case broke.
inline constexpr auto caseName = [](const auto &info) { return std::string(info.param.name); };

// Prints a row by its `name` where GoogleTest shows a parameter. A test file brings it into the
// namespace of its rows (`using testing::PrintTo;`), where GoogleTest looks for it.
template<typename Case>
requires requires(const Case &c)
{
    std::string(c.name);
}
void PrintTo(const Case &c, std::ostream *out)
{
    *out << c.name;
}

} // namespace zav::testing

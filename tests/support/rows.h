#pragma once

#include <chrono>
#include <concepts>
#include <ostream>
#include <string>

namespace zav::testing {

// What every table of cases shares. A row derives from `Row`, so that GoogleTest finds the
// printer below through the row's base, wherever the row is declared.
struct Row
{
    const char *name; // the case's name in the test's own
};

// Names each row's test after its `name`, so a failure says which case broke.
inline constexpr auto caseName = [](const auto &info) { return std::string(info.param.name); };

// Prints a row by its `name` where GoogleTest shows a parameter.
template<std::derived_from<Row> Case>
void PrintTo(const Case &c, std::ostream *out)
{
    *out << c.name;
}

using namespace std::chrono_literals;
using namespace std::string_literals;

} // namespace zav::testing

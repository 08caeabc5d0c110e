#pragma once

#include "endpoint/datagram_endpoint.h"

#include <cstddef>
#include <vector>

namespace zav {

// Reports that came back, as the status line tells them: in the order they came, the same report
// in a row once with its count, and past the first few distinct ones only counted, so that a
// flood of reports costs neither memory nor time to tell.
class ReportTally
{
public:
    static constexpr std::size_t kReportsShown = 4;

    struct Entry
    {
        ReturnedDatagram report;
        std::size_t times = 1;
    };

    ReportTally() = default;
    explicit ReportTally(const std::vector<ReturnedDatagram> &reports) { add(reports); }

    void add(const ReturnedDatagram &report);
    void add(const std::vector<ReturnedDatagram> &reports);

    // The reports told by name, oldest first.
    [[nodiscard]] const std::vector<Entry> &shown() const { return m_shown; }
    // How many reports came after those told by name.
    [[nodiscard]] std::size_t notShown() const { return m_notShown; }
    // How many reports came in all.
    [[nodiscard]] std::size_t total() const { return m_total; }
    [[nodiscard]] bool empty() const { return m_total == 0; }

private:
    std::vector<Entry> m_shown;
    std::size_t m_notShown = 0;
    std::size_t m_total = 0;
};

} // namespace zav

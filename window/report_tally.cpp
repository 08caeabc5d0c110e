#include "window/report_tally.h"

namespace zav {

void ReportTally::add(const ReturnedDatagram &report)
{
    ++m_total;
    if (m_notShown == 0 && !m_shown.empty() && m_shown.back().report == report)
        ++m_shown.back().times;
    else if (m_notShown == 0 && m_shown.size() < kReportsShown)
        m_shown.push_back({report});
    else
        ++m_notShown;
}

void ReportTally::add(const std::vector<ReturnedDatagram> &reports)
{
    for (const ReturnedDatagram &report : reports)
        add(report);
}

} // namespace zav

#include "listedit/ViewOrder.h"

namespace orvik {

void ViewOrder::Reset(std::size_t rowCount)
{
    m_identity = true;
    m_rowCount = rowCount;
    m_shown = rowCount;
    m_width = 0;
    // Memory goes back at once: a reset follows a load, which may have freed far more.
    std::vector<std::uint8_t>().swap(m_viewToRow);
    std::vector<std::uint8_t>().swap(m_rowToView);
}

void ViewOrder::Assign(std::size_t rowCount, const std::vector<std::uint32_t>& shown)
{
    bool identity = shown.size() == rowCount;
    for (std::size_t k = 0; identity && k < shown.size(); ++k)
        identity = shown[k] == k;
    if (identity) {
        Reset(rowCount);
        return;
    }
    m_identity = false;
    m_rowCount = rowCount;
    m_shown = shown.size();
    // All ones marks a hidden row, so the width must hold rowCount + 1 values.
    m_width = 1;
    while (m_width < sizeof(std::size_t) && (rowCount >> (8 * m_width)) != 0)
        ++m_width;
    m_hidden = m_width >= sizeof(std::size_t) ? static_cast<std::size_t>(-1) : (std::size_t{1} << (8 * m_width)) - 1;
    std::vector<std::uint8_t>(shown.size() * m_width).swap(m_viewToRow);
    std::vector<std::uint8_t>(rowCount * m_width, 0xFF).swap(m_rowToView);
    for (std::size_t view = 0; view < shown.size(); ++view) {
        Put(m_viewToRow, view, shown[view]);
        Put(m_rowToView, shown[view], view);
    }
}

std::size_t ViewOrder::ViewPosition(std::size_t row) const
{
    if (m_identity)
        return row < m_rowCount ? row : kHidden;
    if (row >= m_rowCount)
        return kHidden;
    const std::size_t view = Get(m_rowToView, row);
    return view == m_hidden ? kHidden : view;
}

} // namespace orvik

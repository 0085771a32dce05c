#pragma once
// Which document rows the table shows, and in what order: view position -> document row and back.
// In file order with every row shown it keeps nothing. Otherwise both maps are packed with as few
// bytes an index as the row count needs (3 below 16,777,216 rows), so a large mission pays about
// six bytes a row for a sort or a filter.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace orvik {

class ViewOrder {
public:
    static constexpr std::size_t kHidden = static_cast<std::size_t>(-1);

    // Every row of rowCount in file order.
    void Reset(std::size_t rowCount);
    // The rows shown, in view order; every other row of rowCount is hidden.
    void Assign(std::size_t rowCount, const std::vector<std::uint32_t>& shown);

    bool IsIdentity() const { return m_identity; }
    std::size_t ShownCount() const { return m_identity ? m_rowCount : m_shown; }
    std::size_t RowCount() const { return m_rowCount; }
    std::size_t DocumentRow(std::size_t view) const { return m_identity ? view : Get(m_viewToRow, view); }
    // The row's view position, or kHidden.
    std::size_t ViewPosition(std::size_t row) const;
    // Bytes held for the maps.
    std::size_t BytesHeld() const { return m_viewToRow.capacity() + m_rowToView.capacity(); }

private:
    std::size_t Get(const std::vector<std::uint8_t>& packed, std::size_t k) const
    {
        const std::uint8_t* p = packed.data() + k * m_width;
        std::size_t value = 0;
        for (std::size_t b = 0; b < m_width; ++b)
            value |= static_cast<std::size_t>(p[b]) << (8 * b);
        return value;
    }
    void Put(std::vector<std::uint8_t>& packed, std::size_t k, std::size_t value) const
    {
        std::uint8_t* p = packed.data() + k * m_width;
        for (std::size_t b = 0; b < m_width; ++b)
            p[b] = static_cast<std::uint8_t>(value >> (8 * b));
    }

    bool m_identity = true;
    std::size_t m_rowCount = 0;
    std::size_t m_shown = 0;
    std::size_t m_width = 0;    // bytes an index
    std::size_t m_hidden = 0;   // the packed value of a hidden row: all ones
    std::vector<std::uint8_t> m_viewToRow;
    std::vector<std::uint8_t> m_rowToView;
};

} // namespace orvik

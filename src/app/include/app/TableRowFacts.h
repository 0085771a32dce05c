#pragma once
// What the table's filter asks about a row, answered from the document, the findings and the
// selection as they are when the filter is applied.
#include "check/ItemFindings.h"
#include "edit/EditDocument.h"
#include "edit/RowQuery.h"

#include <functional>
#include <memory>
#include <vector>

namespace orvik {

class TableRowFacts : public RowFacts {
public:
    // findings is read at each question (it may be made again, or be null); selected is by
    // document row; changed answers is:changed (none: no row is changed).
    TableRowFacts(const EditDocument& document, const std::unique_ptr<ItemFindings>& findings,
                  std::vector<bool> selected, std::function<bool(std::size_t)> changed);

    std::string_view Cell(std::size_t row, int column) const override { return m_document.Cell(row, column); }
    bool IsChanged(std::size_t row) const override { return m_changed && m_changed(row); }
    bool HasError(std::size_t row) const override { return Has(row, Severity::Error); }
    bool HasWarning(std::size_t row) const override { return Has(row, Severity::Warning); }
    bool IsSelected(std::size_t row) const override { return row < m_selected.size() && m_selected[row]; }

private:
    bool Has(std::size_t row, Severity severity) const;

    const EditDocument& m_document;
    const std::unique_ptr<ItemFindings>& m_findings;
    std::vector<bool> m_selected;
    std::function<bool(std::size_t)> m_changed;
};

} // namespace orvik

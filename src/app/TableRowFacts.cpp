#include "app/TableRowFacts.h"

#include <algorithm>

namespace orvik {

TableRowFacts::TableRowFacts(const EditDocument& document, const std::unique_ptr<ItemFindings>& findings,
                             std::vector<bool> selected, std::function<bool(std::size_t)> changed)
    : m_document(document), m_findings(findings), m_selected(std::move(selected)), m_changed(std::move(changed))
{
}

bool TableRowFacts::Has(std::size_t row, Severity severity) const
{
    if (!m_findings || row >= m_findings->RowCount())
        return false;
    const std::vector<Finding>& findings = m_findings->OfRow(row);
    return std::any_of(findings.begin(), findings.end(), [severity](const Finding& f) { return f.severity == severity; });
}

} // namespace orvik

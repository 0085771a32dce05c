#include "exercise/ViewCheck.h"

#include "app/FilterField.h"
#include "common/Text.h"
#include "exercise/Promises.h"
#include "listedit/EditListCtrl.h"
#include "listedit/ItemTableModel.h"
#include "mapwidget/MapWnd.h"

#include <QCheckBox>
#include <QCollator>
#include <QHeaderView>
#include <QLabel>

#include <cctype>
#include <optional>

namespace orvik::exercise {

namespace {

std::string Lower(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// A cell's whole number: blanks around, a sign, digits, 32 bits.
std::optional<std::int64_t> Number(const std::string& cell)
{
    std::size_t b = 0, e = cell.size();
    while (b < e && (cell[b] == ' ' || cell[b] == '\t'))
        ++b;
    while (e > b && (cell[e - 1] == ' ' || cell[e - 1] == '\t'))
        --e;
    std::size_t k = b;
    const bool minus = k < e && cell[k] == '-';
    if (k < e && (cell[k] == '-' || cell[k] == '+'))
        ++k;
    if (k == e || e - k > 11)
        return std::nullopt;
    std::int64_t value = 0;
    for (; k < e; ++k) {
        if (cell[k] < '0' || cell[k] > '9')
            return std::nullopt;
        value = value * 10 + (cell[k] - '0');
    }
    value = minus ? -value : value;
    if (value < -2147483648LL || value > 2147483647LL)
        return std::nullopt;
    return value;
}

int Collate(const std::string& a, const std::string& b)
{
    static const QCollator collator = [] {
        QCollator c;
        c.setNumericMode(true);
        c.setCaseSensitivity(Qt::CaseInsensitive);
        return c;
    }();
    return collator.compare(QString::fromStdString(Cp1252ToUtf8(a)), QString::fromStdString(Cp1252ToUtf8(b)));
}

const char* const kNames[] = {"item", "x", "y", "z", "angle", "id", "mp"};

} // namespace

std::string PlainTerm::Typed() const
{
    std::string out = negated ? "-" : "";
    if (column >= 0)
        out += kNames[column];
    const bool spaced = text.find(' ') != std::string::npos;
    const std::string value = spaced ? "\"" + text + "\"" : text;
    switch (op) {
    case 'r': return out + "=" + std::to_string(low) + ".." + std::to_string(high);
    case '<': return out + "<" + std::to_string(high + 1);
    case '>': return out + ">" + std::to_string(low - 1);
    default: return column < 0 ? out + value : out + op + value;
    }
}

void ViewCheck::SetFilter(std::vector<PlainTerm> terms, bool readable, std::string text)
{
    m_terms = std::move(terms);
    m_readable = readable;
    m_text = std::move(text);
}

void ViewCheck::Reset()
{
    m_terms.clear();
    m_readable = true;
    m_text.clear();
    m_edited.clear();
}

bool ViewCheck::Matches(const ItemRow& row) const
{
    if (!m_readable)
        return true;
    for (const PlainTerm& t : m_terms) {
        bool pass = false;
        if (t.column < 0) {
            for (const std::string& cell : row)
                pass = pass || Lower(cell).find(Lower(t.text)) != std::string::npos;
        } else {
            const std::string& cell = row[static_cast<std::size_t>(t.column)];
            const auto number = Number(cell);
            switch (t.op) {
            case ':': pass = Lower(cell).find(Lower(t.text)) != std::string::npos; break;
            case '=': pass = Number(t.text) ? number == Number(t.text) : Lower(cell) == Lower(t.text); break;
            default: pass = number && *number >= t.low && *number <= t.high; break;
            }
        }
        if (pass == t.negated)
            return false;
    }
    return true;
}

int ViewCheck::Compare(const ItemRow& a, const ItemRow& b, int column)
{
    const std::string& x = a[static_cast<std::size_t>(column)];
    const std::string& y = b[static_cast<std::size_t>(column)];
    if (column != kColItem) {
        const auto nx = Number(x), ny = Number(y);
        if (nx && ny)
            return *nx < *ny ? -1 : *nx > *ny ? 1 : 0;
        if (nx || ny)
            return nx ? -1 : 1;
    }
    return Collate(x, y);
}

void ViewCheck::Check(const CEditorDlg& dialog) const
{
    const CEditListCtrl* table = dialog.ItemTable();
    const ItemTableModel* model = table->TableModel();
    const std::vector<ItemRow>& rows = dialog.Document().Rows();
    const int shown = table->rowCount();
    std::vector<bool> isShown(rows.size());
    for (int v = 0; v < shown; ++v) {
        const std::size_t r = table->DocumentRow(v);
        Require(r < rows.size() && !isShown[r], "view row " + std::to_string(v) + " shows a row twice or none");
        Require(table->ViewRow(r) == v, "row " + std::to_string(r + 1) + " and its view position disagree");
        isShown[r] = true;
    }
    const std::string filter = " (filter \"" + m_text + "\")";
    Require(dialog.FilterBox()->text().toStdString() == m_text,
            "the filter box holds \"" + dialog.FilterBox()->text().toStdString() + "\"" + filter);
    for (std::size_t r = 0; r < rows.size(); ++r)
        if (!m_edited.count(r))
            Require(isShown[r] == Matches(rows[r]), "row " + std::to_string(r + 1) +
                                                        (isShown[r] ? " is shown" : " is hidden") + filter);
    const auto order = model->Order();
    const int column = model->SortColumn();
    for (int v = 1; v < shown; ++v) {
        const std::size_t a = table->DocumentRow(v - 1), b = table->DocumentRow(v);
        if (m_edited.count(a) || m_edited.count(b))
            continue;
        int c = 0;
        if (order != ItemTableModel::SortOrder::None)
            c = order == ItemTableModel::SortOrder::Ascending ? Compare(rows[a], rows[b], column)
                                                              : Compare(rows[b], rows[a], column);
        Require(c < 0 || (c == 0 && a < b), "rows " + std::to_string(a + 1) + " and " + std::to_string(b + 1) +
                                                " are out of order, sorting column " + std::to_string(column));
    }
    Require(table->horizontalHeader()->isSortIndicatorShown() == (order != ItemTableModel::SortOrder::None),
            "the title's sort arrow and the order disagree");
    const bool filtered = m_readable && !m_terms.empty();
    Require(model->IsFiltered() == filtered, "the table is " + std::string(filtered ? "not " : "") + "filtered" + filter);
    const QString count = dialog.FilterCount()->text();
    Require(m_readable ? (count.isEmpty() != filtered) : count == "not a filter",
            "the count says \"" + count.toStdString() + "\"" + filter);
    // The map draws the rows shown, or every row.
    const MapView& view = dialog.MapWnd()->View();
    const bool only = dialog.MapOnlyFilteredSwitch()->isChecked() && filtered;
    Require(view.ShowsOnlyRows() == only, "the map's only-filtered state and the switch disagree");
    if (only)
        for (std::size_t r = 0; r < rows.size(); ++r)
            Require(view.IsRowShown(r) == isShown[r], "the map and the table disagree on row " + std::to_string(r + 1));
}

} // namespace orvik::exercise

// The item table's filter box and the map's "only filtered" switch. The filter is applied as the
// user types; a text it cannot read shows every row and says why.
#include "app/EditorDlg.h"

#include "app/FilterField.h"
#include "app/QtText.h"
#include "app/TableRowFacts.h"
#include "edit/RowQuery.h"
#include "listedit/EditListCtrl.h"
#include "listedit/ItemTableModel.h"
#include "mapwidget/MapWnd.h"

#include <QCheckBox>
#include <QLabel>
#include <QShortcut>
#include <QSignalBlocker>
#include <QTimer>

#include <memory>

namespace orvik {

namespace {

const char* const kFilterHelp =
    "Filter rows: every term must match (Ctrl+L; Escape clears).\n"
    "tank  a word in any cell, any case\n"
    "item:tank  a part of the Item cell;  item:\"dead tree\"  with spaces\n"
    "item=tank  the whole cell\n"
    "x>1000000  z<0  angle=90  id=12..40  numbers (also <=, >=)\n"
    "mp:y  the MP Only column\n"
    "is:changed  is:error  is:warning  is:selected  the row's state\n"
    "-item:tree  a leading - negates a term";

constexpr int kCountWidth = 130;
constexpr int kSwitchWidth = 120;

// 1234567 as "1,234,567".
QString Thousands(std::size_t n)
{
    QString digits = QString::number(n);
    for (int k = static_cast<int>(digits.size()) - 3; k > 0; k -= 3)
        digits.insert(k, QLatin1Char(','));
    return digits;
}

} // namespace

void CEditorDlg::CreateFilterControls()
{
    // The box and its count share the strip above the table with the find field, which covers
    // them while it is open.
    const QRect table = m_list->geometry();
    m_filter = new FilterField(this);
    m_filter->setObjectName(QStringLiteral("filter"));
    m_filter->setGeometry(table.left(), table.top() - 19, table.width() - kCountWidth - 4, 18);
    m_filter->setToolTip(QString::fromLatin1(kFilterHelp));
    m_filterCount = new QLabel(this);
    m_filterCount->setObjectName(QStringLiteral("filterCount"));
    m_filterCount->setGeometry(table.right() + 1 - kCountWidth, table.top() - 19, kCountWidth, 18);
    m_filterCount->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    connect(m_filter, &QLineEdit::textChanged, this, [this] { RunCommand([this] { ApplyFilterText(); }); });
    connect(m_filter, &FilterField::done, this, [this] { m_list->setFocus(Qt::OtherFocusReason); });
    auto* keys = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_L), this);
    keys->setContext(Qt::WindowShortcut);
    connect(keys, &QShortcut::activated, this, &CEditorDlg::OnFilterRows);

    // Beside the status line above the map.
    const QRect status = m_status->geometry();
    m_status->setGeometry(status.adjusted(0, 0, -kSwitchWidth, 0));
    m_mapOnlyFiltered = new QCheckBox(QStringLiteral("Map: only filtered"), this);
    m_mapOnlyFiltered->setObjectName(QStringLiteral("mapOnlyFiltered"));
    m_mapOnlyFiltered->setGeometry(status.right() + 1 - kSwitchWidth, status.top(), kSwitchWidth, status.height());
    m_mapOnlyFiltered->setFocusPolicy(Qt::ClickFocus);
    connect(m_mapOnlyFiltered, &QCheckBox::toggled, this, [this] { OnMapOnlyFiltered(); });

    // Typing never waits for the map: it follows once the keystroke is shown.
    m_mapRowsTimer = new QTimer(this);
    m_mapRowsTimer->setSingleShot(true);
    m_mapRowsTimer->setInterval(0);
    connect(m_mapRowsTimer, &QTimer::timeout, this, &CEditorDlg::SyncMapRows);
    connect(m_list, &CEditListCtrl::viewChanged, this, [this] {
        if (m_mapOnlyFiltered->isChecked())
            m_mapRowsTimer->start();
    });
}

void CEditorDlg::ClearFilter()
{
    // The table shows every row already: the box only says so.
    {
        // setText, unlike clear, forgets the box's undo: Ctrl+Z in it cannot bring the old
        // mission's filter back.
        const QSignalBlocker blocker(m_filter);
        m_filter->setText(QString());
    }
    m_filter->setStyleSheet(QString());
    m_filter->setToolTip(QString::fromLatin1(kFilterHelp));
    UpdateFilterCount(QString());
    SyncMapRows();
}

void CEditorDlg::OnFilterRows()
{
    m_filter->setFocus(Qt::ShortcutFocusReason);
    m_filter->selectAll();
}

void CEditorDlg::OnMapOnlyFiltered() { SyncMapRows(); }

void CEditorDlg::ApplyFilterText()
{
    std::string error;
    std::optional<RowQuery> query = RowQuery::Parse(FromQt(m_filter->text()), error);
    if (!query) {
        // Never a silent empty table: while a term is bad, every row is shown.
        m_filter->setStyleSheet(QStringLiteral("QLineEdit { background-color: #ffc0c0; }"));
        m_filter->setToolTip(ToQt(error));
        m_list->SetRowFilter(nullptr);
        UpdateFilterCount(QStringLiteral("not a filter"));
        return;
    }
    m_filter->setStyleSheet(QString());
    m_filter->setToolTip(QString::fromLatin1(kFilterHelp));
    if (query->IsEmpty()) {
        m_list->SetRowFilter(nullptr);
    } else {
        std::vector<bool> selected(m_document.RowCount());
        for (const std::size_t row : m_list->SelectedRows())
            selected[row] = true;
        // is:changed: a row with a cell that differs from what the archive holds.
        auto facts = std::make_shared<TableRowFacts>(m_document, m_findings, std::move(selected), [this](std::size_t row) {
            return m_document.Saved().IsRowChanged(row);
        });
        auto shared = std::make_shared<const RowQuery>(std::move(*query));
        m_list->SetRowFilter([facts, shared](std::size_t row) { return shared->Matches(row, *facts); });
    }
    UpdateFilterCount(QString());
}

void CEditorDlg::UpdateFilterCount(const QString& problem)
{
    const ItemTableModel* model = m_list->TableModel();
    if (!problem.isEmpty())
        m_filterCount->setText(problem);
    else if (!model->IsFiltered())
        m_filterCount->clear();
    else
        m_filterCount->setText(QStringLiteral("%1 of %2 rows")
                                   .arg(Thousands(model->View().ShownCount()), Thousands(m_document.RowCount())));
}

void CEditorDlg::SyncMapRows()
{
    m_mapRowsTimer->stop();
    if (m_map == nullptr)
        return;
    MapView& view = m_map->View();
    const ItemTableModel* model = m_list->TableModel();
    if (m_mapOnlyFiltered->isChecked() && model->IsFiltered()) {
        std::vector<bool> rows(m_document.RowCount());
        for (int v = 0; v < m_list->rowCount(); ++v)
            rows[model->DocumentRow(v)] = true;
        view.ShowOnlyRows(std::move(rows));
    } else if (view.ShowsOnlyRows()) {
        view.ShowAllRows();
    } else {
        return;
    }
    m_map->RepaintNow();
}

} // namespace orvik

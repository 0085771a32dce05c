// The user's sort and filter: a click on a column's title, a filter typed into the box (some with a
// term it cannot read), and the map's only-filtered switch.
#include "exercise/Exerciser.h"

#include "app/FilterField.h"
#include "listedit/EditListCtrl.h"

#include <QCheckBox>
#include <QHeaderView>
#include <QScrollBar>
#include <QTest>

#include <limits>

namespace orvik::exercise {

namespace {

constexpr std::int64_t kLowest = std::numeric_limits<std::int64_t>::min();
constexpr std::int64_t kHighest = std::numeric_limits<std::int64_t>::max();

const char* const kColumnTitles[] = {"Item", "X", "Y", "Z", "Angle", "ID", "MP Only"};

// A term from the random number: a word, a column's text, or a number test; some negated.
PlainTerm MakeTerm(std::uint32_t pick, const std::vector<std::string>& names)
{
    PlainTerm t;
    const std::uint32_t value = pick / 16;
    const std::string& name = names[value % names.size()];
    const std::int64_t units = (static_cast<std::int64_t>(value % 301) - 150) * kUnit;
    t.negated = (pick / 8) % 2 != 0 && pick % 3 == 0;
    switch (pick % 8) {
    case 0: t.text = name.substr(0, 3); break;
    case 1: t.column = kColItem; t.text = name.substr(0, 2 + value % 4); break;
    case 2: t.column = kColItem; t.op = '='; t.text = name; break;
    case 3: t.column = kColX + static_cast<int>(value % 3); t.op = '>'; t.low = units + 1; t.high = kHighest; break;
    case 4: t.column = kColX + static_cast<int>(value % 3); t.op = '<'; t.low = kLowest; t.high = units - 1; break;
    case 5: t.column = kColAngle; t.op = '='; t.text = std::to_string(value % 4 * 90); break;
    case 6:
        t.column = kColId;
        t.op = 'r';
        t.low = value % 40;
        t.high = t.low + static_cast<std::int64_t>(value / 40 % 60) - 10;
        break;
    default: t.column = kColMpOnly; t.text = value % 2 ? "y" : "n"; break;
    }
    return t;
}

} // namespace

void Session::SortFilter(const Action& a)
{
    CEditListCtrl* table = m_dialog->ItemTable();
    switch (a.p[0] % 4) {
    case 0:
    case 1: {
        const int column = static_cast<int>(a.p[1] % kColumnCount);
        // Up to three clicks: up, down and back to file order.
        const int clicks = 1 + static_cast<int>(a.p[2] % 3);
        Say(std::string("click the ") + kColumnTitles[column] + " title " + std::to_string(clicks) + " times");
        QHeaderView* header = table->horizontalHeader();
        // A title off to the right is scrolled into view first, as the user would.
        if (header->sectionViewportPosition(column) < 0 ||
            header->sectionViewportPosition(column) + header->sectionSize(column) > header->width())
            table->horizontalScrollBar()->setValue(header->sectionPosition(column));
        const int x = header->sectionViewportPosition(column) + header->sectionSize(column) / 2;
        for (int k = 0; k < clicks; ++k)
            QTest::mouseClick(header->viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(x, header->height() / 2));
        break;
    }
    case 2: {
        static const char* const unreadable[] = {"foo:1", "is:big", "x>abc", "id=..", "item:\"open"};
        std::vector<PlainTerm> terms;
        const int count = static_cast<int>(a.p[1] % 3);
        for (int k = 0; k < count; ++k)
            terms.push_back(MakeTerm(k == 0 ? a.p[2] : a.p[3], m_game.names));
        std::string text;
        for (const PlainTerm& t : terms)
            text += (text.empty() ? "" : " ") + t.Typed();
        const bool bad = a.p[1] / 3 % 5 == 0;
        if (bad)
            text += std::string(text.empty() ? "" : " ") + unreadable[a.p[1] / 15 % std::size(unreadable)];
        Keys(Qt::Key_L, Qt::ControlModifier, "Ctrl+L, then the filter \"" + text + "\"");
        FilterField* box = m_dialog->FilterBox();
        if (!box->hasFocus())
            return;
        m_promises.View().SetFilter(terms, !bad, text);
        if (text.empty()) {
            QTest::keyClick(box, Qt::Key_Escape);
        } else {
            // Typed key by key: the table follows each one.
            box->selectAll();
            for (const char c : text)
                QTest::keyClick(box, c);
        }
        // Enter goes back to the table, so that the next keys are the table's.
        QTest::keyClick(box, Qt::Key_Return);
        break;
    }
    default: {
        QCheckBox* only = m_dialog->MapOnlyFilteredSwitch();
        Say(std::string("click Map: only filtered (") + (only->isChecked() ? "on" : "off") + ")");
        QTest::mouseClick(only, Qt::LeftButton, Qt::NoModifier, QPoint(7, only->height() / 2));
        break;
    }
    }
}

} // namespace orvik::exercise

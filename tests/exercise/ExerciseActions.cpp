// The user's actions on the table and the map, and the changes made to the archive behind the
// editor's back.
#include "exercise/Exerciser.h"

#include "app/FindField.h"
#include "common/File.h"
#include "edit/DocumentRows.h"
#include "gamedata/PffWriter.h"
#include "listedit/EditListCtrl.h"
#include "mapwidget/MapWnd.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QTest>
#include <QWheelEvent>

#include <algorithm>
#include <iterator>

namespace orvik::exercise {

namespace {

const char* const kColumnNames[] = {"Item", "X", "Y", "Z", "Angle", "ID", "MP Only"};

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

std::string Row(int row) { return "row " + std::to_string(row + 1); }

// A point on the map widget for a frame pixel (inside the one-pixel border).
QPoint MapPoint(std::int64_t x, std::int64_t y) { return {static_cast<int>(x) + 1, static_cast<int>(y) + 1}; }

// Types text key by key; QTest knows keys for ASCII only, so other letters come as text alone.
void Type(QWidget* widget, const QString& text)
{
    for (const QChar c : text) {
        if (c.unicode() < 128)
            QTest::keyClick(widget, c.toLatin1());
        else
            QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

} // namespace

std::string Session::CellText(std::uint32_t pick) const
{
    static const char* const odd[] = {"12abc", "abc", " -7", "+5", "2147483647", "-2147483648", "2147483648",
                                      "0x10",  "tree", "Spaceship", "Caf\xc3\xa9", "  ", "-", "Map Center"};
    const std::uint32_t value = pick / 8;
    switch (pick % 8) {
    case 0:
    case 1: return m_game.names[value % m_game.names.size()];
    case 2:
    case 3: return std::to_string((static_cast<std::int64_t>(value % 301) - 150) * kUnit + value % 7);
    case 4: return std::to_string(static_cast<std::int64_t>(value % 1000) - 500);
    case 5:
    case 6: return odd[value % std::size(odd)];
    default: return {};
    }
}

QPoint Session::CellPoint(int row, int column)
{
    CEditListCtrl* table = m_dialog->ItemTable();
    table->scrollTo(table->model()->index(row, column));
    return {table->columnViewportPosition(column) + table->columnWidth(column) / 2,
            table->rowViewportPosition(row) + table->rowHeight(row) / 2};
}

void Session::ClickCell(int row, int column)
{
    const QPoint point = CellPoint(row, column);
    QTest::mouseClick(m_dialog->ItemTable()->viewport(), Qt::LeftButton, Qt::NoModifier, point);
}

void Session::Choose(const Action& a)
{
    QComboBox* list = m_dialog->MissionCombo();
    if (list->count() == 0) {
        Say("choose a mission: the list is empty");
        return;
    }
    const int line = static_cast<int>(a.p[0] % static_cast<unsigned>(list->count()));
    Say("choose " + list->itemText(line).toStdString());
    // The list takes the focus as it drops down, which ends an open edit.
    list->setFocus(Qt::MouseFocusReason);
    list->setCurrentIndex(line);
}

void Session::TypeCell(const Action& a)
{
    CEditListCtrl* table = m_dialog->ItemTable();
    const int rows = table->rowCount();
    if (rows == 0) {
        Say("type into a cell: the table is empty");
        return;
    }
    const int row = static_cast<int>(a.p[0] % static_cast<unsigned>(rows));
    const int column = static_cast<int>(a.p[1] % kColumnCount);
    const std::string text = CellText(a.p[2]);
    static const char* const endings[] = {"Enter", "Escape", "Tab", "a click elsewhere"};
    const unsigned ending = a.p[3] % 4;
    Say("type " + Quoted(text) + " into " + Row(static_cast<int>(table->DocumentRow(row))) + ", " +
        kColumnNames[column] + ", then " + endings[ending]);

    // The first click makes the row current, the next opens the cell (row is a view position).
    if (!table->currentIndex().isValid() || table->currentIndex().row() != row)
        ClickCell(row, column);
    ClickCell(row, column);
    Settle();
    // The keys go where the focus is: the box that opened, or the table when none did.
    auto* line = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    if (line == nullptr || !table->isAncestorOf(line))
        return;
    line->selectAll();
    if (text.empty())
        QTest::keyClick(line, Qt::Key_Backspace);
    else
        Type(line, QString::fromStdString(text));
    switch (ending) {
    case 0: QTest::keyClick(line, Qt::Key_Return); break;
    case 1: QTest::keyClick(line, Qt::Key_Escape); break;
    case 2: QTest::keyClick(line, Qt::Key_Tab); break;
    default: {
        const int other = static_cast<int>((a.p[3] / 4) % static_cast<unsigned>(rows));
        ClickCell(other, static_cast<int>((a.p[3] / 4) % kColumnCount));
        break;
    }
    }
}

void Session::Find(const Action& a)
{
    static const char* const texts[] = {"cr", "Tree", "so", "map c", "zz", "e"};
    static const std::pair<int, const char*> endings[] = {
        {Qt::Key_Return, "Enter"}, {Qt::Key_F3, "F3"}, {Qt::Key_Escape, "Escape"}, {Qt::Key_unknown, "nothing"}};
    const std::string text = texts[a.p[0] % std::size(texts)];
    const auto& ending = endings[a.p[1] % std::size(endings)];
    const bool shift = a.p[2] % 2 != 0 && ending.first == Qt::Key_F3;
    Keys(Qt::Key_F, Qt::ControlModifier,
         "Ctrl+F, " + Quoted(text) + ", then " + (shift ? "Shift+" : "") + ending.second);
    FindField* find = m_dialog->FindBox();
    if (!find->isVisible() || !find->hasFocus())
        return;
    Type(find, QString::fromStdString(text));
    if (ending.first != Qt::Key_unknown)
        QTest::keyClick(find, static_cast<Qt::Key>(ending.first), shift ? Qt::ShiftModifier : Qt::NoModifier);
}

std::optional<QPoint> Session::AimAtMarker(std::uint32_t pick, const std::string& what, const std::string& how)
{
    const MapView& view = m_dialog->MapWnd()->View();
    const std::size_t count = view.Model() ? view.Model()->items.size() : 0;
    if (count == 0) {
        Say(what + " a marker: there is none");
        return std::nullopt;
    }
    const std::size_t item = pick % count;
    const auto [x, y] = MarkerPoint(view, item);
    Say(what + " the marker of " + Row(static_cast<int>(item)) + " at (" + std::to_string(x) + ", " +
        std::to_string(y) + ")" + how);
    if (x < 1 || y < 1 || x >= view.FrameSize() - 1 || y >= view.FrameSize() - 1)
        return std::nullopt; // off the map
    return MapPoint(x, y);
}

void Session::ClickMarker(const Action& a)
{
    const bool ctrl = a.p[1] % 3 == 0;
    if (const auto at = AimAtMarker(a.p[0], ctrl ? "Ctrl+click" : "click", ""))
        QTest::mouseClick(m_dialog->MapWnd(), Qt::LeftButton, ctrl ? Qt::ControlModifier : Qt::NoModifier, *at);
}

void Session::DragMarker(const Action& a)
{
    const int dx = static_cast<int>(a.p[1] % 121) - 60;
    const int dy = static_cast<int>(a.p[2] % 121) - 60;
    const bool cancel = a.p[3] % 4 == 0;
    const auto from = AimAtMarker(a.p[0], "drag",
                                  " by (" + std::to_string(dx) + ", " + std::to_string(dy) + ")" +
                                      (cancel ? ", Escape before the release" : ""));
    if (!from)
        return;
    CMapWnd* map = m_dialog->MapWnd();
    QTest::mousePress(map, Qt::LeftButton, Qt::NoModifier, *from);
    for (int step = 1; step <= 4; ++step)
        QTest::mouseMove(map, *from + QPoint(dx * step / 4, dy * step / 4));
    if (cancel)
        QTest::keyClick(map, Qt::Key_Escape);
    QTest::mouseRelease(map, Qt::LeftButton, Qt::NoModifier, *from + QPoint(dx, dy));
}

void Session::Pan(const Action& a)
{
    CMapWnd* map = m_dialog->MapWnd();
    const QPoint from(static_cast<int>(a.p[0] % 500) + 6, static_cast<int>(a.p[1] % 500) + 6);
    const QPoint by(static_cast<int>(a.p[2] % 201) - 100, static_cast<int>((a.p[2] / 256) % 201) - 100);
    const Qt::MouseButton button = a.p[3] % 2 ? Qt::MiddleButton : Qt::LeftButton;
    Say(std::string("drag the map with the ") + (button == Qt::LeftButton ? "left" : "middle") + " button from (" +
        std::to_string(from.x()) + ", " + std::to_string(from.y()) + ") by (" + std::to_string(by.x()) + ", " +
        std::to_string(by.y()) + ")");
    QTest::mousePress(map, button, Qt::NoModifier, from);
    for (int step = 1; step <= 4; ++step)
        QTest::mouseMove(map, from + by * step / 4);
    QTest::mouseRelease(map, button, Qt::NoModifier, from + by);
}

void Session::Zoom(const Action& a)
{
    CMapWnd* map = m_dialog->MapWnd();
    if (map->hasFocus() && a.p[0] % 2) {
        static const std::pair<Qt::Key, const char*> keys[] = {
            {Qt::Key_Plus, "+"}, {Qt::Key_Minus, "-"}, {Qt::Key_0, "0"}};
        const auto& key = keys[a.p[1] % 3];
        Say(std::string("press ") + key.second + " on the map");
        QTest::keyClick(map, key.first);
        return;
    }
    const QPoint at(static_cast<int>(a.p[1] % 510) + 1, static_cast<int>(a.p[2] % 510) + 1);
    const int delta = a.p[3] % 2 ? 120 : -120;
    Say(std::string("wheel ") + (delta > 0 ? "up" : "down") + " over the map at (" + std::to_string(at.x()) + ", " +
        std::to_string(at.y()) + ")");
    QWheelEvent wheel(QPointF(at), QPointF(map->mapToGlobal(at)), QPoint(), QPoint(0, delta), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(map, &wheel);
}

void Session::TableKeys(const Action& a)
{
    static const std::pair<Qt::Key, const char*> keys[] = {
        {Qt::Key_Up, "Up"},     {Qt::Key_Down, "Down"},         {Qt::Key_Home, "Home"}, {Qt::Key_End, "End"},
        {Qt::Key_PageDown, "Page Down"}, {Qt::Key_Left, "Left"}, {Qt::Key_Right, "Right"}};
    const auto& key = keys[a.p[0] % std::size(keys)];
    CEditListCtrl* table = m_dialog->ItemTable();
    Say(std::string(table->hasFocus() ? "" : "Tab into the table, ") + key.second);
    table->setFocus(Qt::TabFocusReason);
    QTest::keyClick(table, key.first);
}

void Session::DiskSave(const Action& a)
{
    // Mostly the mission on screen, so that the editor's next save meets the change.
    std::string name = LoadedMissionName(*m_dialog);
    if (name.empty() || a.p[0] % 3 == 0)
        name = m_game.missionNames[a.p[0] / 3 % m_game.missionNames.size()];
    const CItemDefList& catalogue = m_dialog->Catalogue();
    const auto disk = ReadDiskMission(m_game.basePath, name, catalogue);
    if (!disk) {
        Say("another program saves " + name + ": not in the archive");
        return;
    }
    CMissionModel model;
    {
        File file(m_game.basePath, File::Mode::Read);
        model.ReadItems(file, disk->info.offset, disk->info.size);
    }
    EditDocument document;
    document.Load(disk->rows);
    const std::size_t row = a.p[1] % disk->rows.size();
    const std::string x = CellText(a.p[2] / 8 * 8 + 2);
    document.SetCell(row, kColX, x);
    const SaveOutcome outcome = SaveMission(m_game.basePath, disk->info, model, document.Rows(), catalogue);
    Say("another program saves " + name + " with X of " + Row(static_cast<int>(row)) + " = " + x + ": " +
        outcome.message);
}

void Session::Repack(const Action& a)
{
    std::vector<gamedata::PffFile> files;
    {
        File file(m_game.basePath, File::Mode::Read);
        CPffArchive archive;
        archive.WalkEntries(file, [&](const PffEntry& entry) {
            files.push_back({entry.name, std::vector<std::uint8_t>(entry.dataSize)});
            return true;
        });
        std::size_t i = 0;
        archive.WalkEntries(file, [&](const PffEntry& entry) {
            file.Seek(entry.dataOffset);
            file.ReadExact(files[i++].data.data(), entry.dataSize);
            return true;
        });
    }
    const std::size_t turn = a.p[0] % files.size();
    std::rotate(files.begin(), files.begin() + static_cast<std::ptrdiff_t>(turn), files.end());
    const gamedata::PffLayout layout{a.p[1], a.p[2] % 2 == 0, a.p[3] % 16};
    Say("another program repacks the archive (entries turned by " + std::to_string(turn) + ", gap " +
        std::to_string(layout.gapBetween) + ")");
    gamedata::WritePff(m_game.basePath, files, layout);
}

void Session::ManyRows(const Action& a)
{
    CEditListCtrl* table = m_dialog->ItemTable();
    CMapWnd* map = m_dialog->MapWnd();
    // Clipboard texts a user might bring from elsewhere: headed, headerless, quoted CSV, refused ones.
    static const char* const pasted[] = {"Item\tX Position\nRifleman\t100\n", "1\t2\t3", "\"7,5\",\"x\"\n",
                                         "X Position\n5\n6\n7\n", "Bogus\n1", "ID\tMP Only\n1\t0\n", ""};
    switch (a.p[0] % 9) {
    case 0:
        table->setFocus();
        Keys(Qt::Key_A, Qt::ControlModifier, "Ctrl+A in the table");
        break;
    case 1: {
        table->setFocus();
        const int n = 1 + static_cast<int>(a.p[1] % 5);
        Say("Shift+Down " + std::to_string(n) + " times in the table");
        for (int i = 0; i < n; ++i)
            QTest::keyClick(table, Qt::Key_Down, Qt::ShiftModifier);
        break;
    }
    case 2: Keys(Qt::Key_C, Qt::ControlModifier, "Ctrl+C"); break;
    case 3: Keys(Qt::Key_V, Qt::ControlModifier, "Ctrl+V"); break;
    case 4: Keys(Qt::Key_D, Qt::ControlModifier, "Ctrl+D"); break;
    case 5: Keys(Qt::Key_M, Qt::ControlModifier, "Ctrl+M"); break;
    case 6: {
        const char* text = pasted[a.p[1] % std::size(pasted)];
        QApplication::clipboard()->setText(QString::fromUtf8(text));
        // The action log holds one line an action: tabs and line ends are written as escapes.
        std::string shown;
        for (const char* c = text; *c != '\0'; ++c)
            shown += *c == '\n' ? std::string("\\n") : *c == '\t' ? std::string("\\t") : std::string(1, *c);
        Keys(Qt::Key_V, Qt::ControlModifier, "Ctrl+V of " + Quoted(shown));
        break;
    }
    default: {
        static const std::pair<Qt::Key, const char*> arrows[] = {
            {Qt::Key_Left, "Left"}, {Qt::Key_Right, "Right"}, {Qt::Key_Up, "Up"}, {Qt::Key_Down, "Down"}};
        const auto& arrow = arrows[a.p[1] % 4];
        const bool shift = a.p[2] % 2;
        map->setFocus();
        Say(std::string(shift ? "Shift+" : "") + arrow.second + " on the map");
        QTest::keyClick(map, arrow.first, shift ? Qt::ShiftModifier : Qt::NoModifier);
        break;
    }
    }
}

} // namespace orvik::exercise


// The session: the dialog on the game, the action stream, and the promises after every action.
#include "exercise/Exerciser.h"

#include "app/ControlIds.h"
#include "listedit/EditListCtrl.h"
#include "mapwidget/MapWnd.h"
#include "support/TestSupport.h"

#include <QAbstractButton>
#include <QApplication>
#include <QTest>

namespace orvik::exercise {

namespace {

// How often each action comes, roughly as a busy user mixes them.
struct Weight {
    Act act;
    unsigned weight;
};
constexpr Weight kWeights[] = {
    {Act::Choose, 3},   {Act::TypeCell, 30}, {Act::Undo, 8},      {Act::Redo, 5},     {Act::Find, 4},
    {Act::ClickMarker, 8}, {Act::DragMarker, 8}, {Act::Pan, 3},   {Act::Zoom, 3},     {Act::TableKeys, 5},
    {Act::Refresh, 3},  {Act::Filter, 3},    {Act::Save, 6},      {Act::Reopen, 1},   {Act::Close, 1},
    {Act::DiskSave, 2}, {Act::Repack, 1},    {Act::UndoRedoAll, 2}, {Act::ManyRows, 12}, {Act::Kill, 1},
    {Act::SortFilter, 8}};

} // namespace

Action ActionSource::Next()
{
    unsigned total = 0;
    for (const Weight& w : kWeights)
        total += w.weight;
    unsigned pick = static_cast<unsigned>(m_rng() % total);
    Action action;
    for (const Weight& w : kWeights) {
        if (pick < w.weight) {
            action.act = w.act;
            break;
        }
        pick -= w.weight;
    }
    for (auto& p : action.p)
        p = static_cast<std::uint32_t>(m_rng());
    action.answers = static_cast<std::uint32_t>(m_rng());
    return action;
}

Session::Session(const std::string& dir, std::function<void(const std::string&)> say,
                 const std::optional<Action>& killed)
    : m_game(killed ? ExistingExerciseGame(dir) : WriteExerciseGame(dir)), m_say(std::move(say))
{
    m_prompts.openFileAnswer = QString::fromStdString(m_game.basePath);
    if (!killed) {
        Start();
        return;
    }
    // The start-up's file dialog takes the first bit; the offer of the killed editor's edits the next.
    Say("the editor starts again after the kill");
    Start(killed->answers | 1u);
    CheckResumed();
    m_promises.CheckViews();
}

Session::~Session() { Stop(); }

void Session::Start(std::uint32_t answers)
{
    // The start-up asks for the archive: that answer is always yes.
    m_prompts.Begin(answers);
    m_dialog = std::make_unique<CEditorDlg>(m_prompts);
    m_promises.Attach(*m_dialog);
    FollowCleanRows();
    m_dialog->OnInitDialog();
    m_dialog->show();
    m_dialog->activateWindow();
    if (!QTest::qWaitForWindowActive(m_dialog.get()))
        throw Broken("the dialog did not become the active window");
    Settle();
}

void Session::Stop()
{
    if (!m_dialog)
        return;
    m_promises.Detach();
    m_dialog->Session().Document().Unsubscribe(m_cleanListener);
    m_dialog->hide();
    m_dialog.reset();
    Settle();
}

void Session::Say(const std::string& text)
{
    if (m_say)
        m_say(text);
}

void Session::Settle()
{
    QApplication::processEvents();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QApplication::processEvents();
    // The offscreen platform leaves no window active once a popup (the names' completer) closes;
    // a desktop gives the activation back to the dialog.
    if (m_dialog && m_dialog->isVisible() && QApplication::activePopupWidget() == nullptr &&
        QApplication::activeWindow() != m_dialog.get()) {
        m_dialog->activateWindow();
        QApplication::processEvents();
    }
}

QWidget* Session::FocusWidget() const
{
    QWidget* focus = QApplication::focusWidget();
    return focus != nullptr && m_dialog->isAncestorOf(focus) ? focus : m_dialog.get();
}

void Session::Keys(int key, Qt::KeyboardModifiers modifiers, const std::string& what)
{
    Say(what);
    QTest::keyClick(FocusWidget(), static_cast<Qt::Key>(key), modifiers);
}

void Session::ClickButton(int id, const std::string& what)
{
    auto* button = m_dialog->findChild<QAbstractButton*>(ControlName(id));
    Say("click " + what + (button->isEnabled() ? "" : " (disabled)"));
    // A filter is clicked on its round mark, a push button in its middle.
    const bool filter = id >= kIdPeople && id != kIdCoord && id != kIdMap;
    QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier,
                      filter ? QPoint(7, button->height() / 2) : button->rect().center());
}

void Session::Perform(const Action& a)
{
    m_prompts.Begin(a.answers);
    switch (a.act) {
    case Act::Choose: Choose(a); break;
    case Act::TypeCell: TypeCell(a); break;
    case Act::Undo: Keys(Qt::Key_Z, Qt::ControlModifier, "Ctrl+Z"); break;
    case Act::Redo:
        if (a.p[0] % 2)
            Keys(Qt::Key_Y, Qt::ControlModifier, "Ctrl+Y");
        else
            Keys(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier, "Ctrl+Shift+Z");
        break;
    case Act::Find: Find(a); break;
    case Act::ClickMarker: ClickMarker(a); break;
    case Act::DragMarker: DragMarker(a); break;
    case Act::Pan: Pan(a); break;
    case Act::Zoom: Zoom(a); break;
    case Act::TableKeys: TableKeys(a); break;
    case Act::Refresh: ClickButton(kIdRefreshMap, "Refresh Map"); break;
    case Act::Filter: {
        static const std::pair<int, const char*> filters[] = {
            {kIdPeople, "People"},   {kIdBuildings, "Buildings"}, {kIdDecorations, "Decorations"},
            {kIdVehicles, "Vehicles"}, {kIdMarkers, "Markers"},   {kIdObjects, "Objects"}, {kIdIds, "IDs"}};
        if (a.p[0] % 8 == 7) {
            // The change marks' switch has a name of its own, not an id.
            auto* changes = m_dialog->findChild<QAbstractButton*>(QStringLiteral("changes"));
            Say("click the Changes switch");
            QTest::mouseClick(changes, Qt::LeftButton, Qt::NoModifier, QPoint(7, changes->height() / 2));
            break;
        }
        const auto& f = filters[a.p[0] % 8];
        ClickButton(f.first, std::string("the ") + f.second + " switch");
        break;
    }
    case Act::Save: Save(); break;
    case Act::Reopen: Keys(Qt::Key_O, Qt::ControlModifier, "Ctrl+O"); break;
    case Act::Close: Close(); break;
    case Act::DiskSave: DiskSave(a); break;
    case Act::Repack: Repack(a); break;
    case Act::UndoRedoAll: UndoRedoAll(); break;
    case Act::ManyRows: ManyRows(a); break;
    case Act::SortFilter: SortFilter(a); break;
    case Act::Kill: Kill(a);
    case Act::Count: break;
    }
    Settle();
    Require(m_prompts.fileErrors.empty(), m_prompts.fileErrors.empty()
                                              ? std::string()
                                              : "file error report: " + m_prompts.fileErrors.front().toStdString());
    m_promises.CheckViews();
}

void Session::Save()
{
    auto* save = m_dialog->findChild<QAbstractButton*>(ControlName(kIdSave));
    if (!save->isEnabled()) {
        ClickButton(kIdSave, "Save");
        return;
    }
    // The bytes before the click; the rows as the save finds them, once the click has ended an
    // open edit (the first thing the save says comes after it has read them).
    Promises::SaveStart start = m_promises.BeginSave();
    m_prompts.onPrompt = [&] {
        const Promises::SaveStart now = m_promises.BeginSave();
        start.rows = now.rows;
        start.clean = now.clean;
    };
    ClickButton(kIdSave, "Save");
    Settle();
    m_prompts.onPrompt = nullptr;
    if (m_prompts.Said(QString::fromLatin1(kDataSavedMessage)))
        m_promises.CheckSaved(start);
    else if (m_prompts.Said(QStringLiteral("Reload the mission list")))
        Require(test::ReadBytes(m_game.basePath) == start.bytes, "a save that found its mission moved wrote");
    else
        m_promises.CheckRefused(start);
}

void Session::Close()
{
    Say("close the window");
    m_dialog->close();
    Settle();
    if (m_dialog->isVisible())
        return;
    Say("the editor ended; start it again");
    Stop();
    Start();
}

void Session::UndoRedoAll()
{
    Say("undo every step, then redo them all, then undo back to where it was");
    CEditListCtrl* table = m_dialog->ItemTable();
    // Into the table, as Tab would go: an open edit ends there and is stored.
    table->setFocus(Qt::TabFocusReason);
    Settle();
    const EditDocument& document = m_dialog->Document();
    const std::vector<ItemRow> present = document.Rows();
    const bool clean = document.IsClean();
    // Presses Ctrl+Z (or Ctrl+Y) until there is nothing more to do, or count times; returns the presses.
    const auto press = [&](bool undo, int count) {
        int presses = 0;
        for (; presses != count && (undo ? document.CanUndo() : document.CanRedo()); ++presses) {
            Require(presses < 100000, "undo or redo never ends");
            QTest::keyClick(table, undo ? Qt::Key_Z : Qt::Key_Y, Qt::ControlModifier);
        }
        Settle();
        m_promises.CheckViews();
        return presses;
    };
    const int undone = press(true, -1);
    RequireRows(document.Rows(), m_promises.LoadedRows(), "undoing every step");
    const int redone = press(false, -1);
    Require(redone >= undone, "fewer steps to redo than were undone");
    press(true, redone - undone);
    RequireRows(document.Rows(), present, "undoing and redoing every step");
    Require(document.IsClean() == clean, "undoing and redoing every step moved the clean mark");
}

} // namespace orvik::exercise

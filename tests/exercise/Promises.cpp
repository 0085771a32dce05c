#include "exercise/Promises.h"

#include "app/ControlIds.h"
#include "check/ItemChecks.h"
#include "common/File.h"
#include "common/Text.h"
#include "edit/DocumentRows.h"
#include "exercise/PlainCheck.h"
#include "exercise/PlainPainter.h"
#include "labels/LabelPainter.h"
#include "listedit/EditListCtrl.h"
#include "listedit/ItemTableModel.h"
#include "mapwidget/MapWnd.h"
#include "support/TestSupport.h"

#include <QAbstractButton>
#include <QHeaderView>
#include <QItemSelectionModel>

#include <algorithm>

namespace orvik::exercise {

namespace {

std::string Show(const ItemRow& row)
{
    std::string text;
    for (const std::string& cell : row)
        text += (text.empty() ? "" : " | ") + cell;
    return text;
}

// A row as Save writes it and a load shows it again: numbers as the record holds them, and a
// name the catalogue holds twice as the first kind of that name.
ItemRow AsSaved(ItemRow row, const CItemDefList& catalogue)
{
    row[kColItem] = catalogue.GetNameById(catalogue.GetIdByName(row[kColItem]));
    for (int c : {kColX, kColY, kColZ, kColAngle})
        row[static_cast<std::size_t>(c)] = FormatLong(DecimalToInt(row[static_cast<std::size_t>(c)]));
    return row;
}

struct Filter {
    int id;
    ItemCategory category;
};
constexpr Filter kFilters[] = {{kIdPeople, ItemCategory::People},       {kIdBuildings, ItemCategory::Buildings},
                               {kIdDecorations, ItemCategory::Decorations}, {kIdVehicles, ItemCategory::Vehicles},
                               {kIdMarkers, ItemCategory::Markers},     {kIdObjects, ItemCategory::Objects}};

// Each drawn marker is found where it stands by the map's hit test, and no switched-off one is.
void CheckMarkers(const MapView& view)
{
    const CMissionModel* model = view.Model();
    if (model == nullptr)
        return;
    // The rows the table shows only, with the map's switch on (checked against the table elsewhere).
    const auto shown = [&](std::size_t i) {
        return view.IsShown(CategoryOf(model->items[i]->m_nId)) && view.IsRowShown(i);
    };
    const int size = view.FrameSize();
    for (std::size_t i = 0; i < model->items.size(); ++i) {
        const auto [x, y] = MarkerPoint(view, i);
        if (!(x > 0 && x < size && y > 0 && y < size))
            continue;
        const auto hit = view.ItemAt(static_cast<int>(x), static_cast<int>(y));
        const std::string at = "the marker of row " + std::to_string(i + 1) + " at (" + std::to_string(x) + ", " +
                               std::to_string(y) + ")";
        if (!shown(i)) {
            Require(hit != i, at + " is switched off but answers the hit test");
            continue;
        }
        Require(hit.has_value() && shown(*hit), at + " is not found by the hit test");
        const auto [hx, hy] = MarkerPoint(view, *hit);
        Require((hx - x) * (hx - x) + (hy - y) * (hy - y) <= 9, at + " finds a marker elsewhere");
    }
}

} // namespace

void RequireRows(const std::vector<ItemRow>& seen, const std::vector<ItemRow>& wanted, const std::string& what)
{
    Require(seen.size() == wanted.size(), what + ": " + std::to_string(seen.size()) + " rows instead of " +
                                              std::to_string(wanted.size()));
    for (std::size_t r = 0; r < seen.size(); ++r)
        Require(seen[r] == wanted[r], what + ", row " + std::to_string(r + 1) + ": [" + Show(seen[r]) +
                                          "] instead of [" + Show(wanted[r]) + "]");
}

std::pair<std::int64_t, std::int64_t> MarkerPoint(const MapView& view, std::size_t item)
{
    const WorldPoint p = view.PositionOf(item);
    const auto zoomed = [&view](std::int32_t world) {
        return static_cast<std::int64_t>(static_cast<double>(world) * MapView::kPixelsPerUnit * view.Zoom());
    };
    const std::int64_t origin = view.FrameSize() / 2 + MapView::kSize / 2;
    return {zoomed(p.x) + origin - view.CenterX(), origin - zoomed(p.y) - view.CenterY()};
}

void Require(bool ok, const std::string& what)
{
    if (!ok)
        throw Broken(what);
}

std::optional<DiskMission> ReadDiskMission(const std::string& basePath, const std::string& name,
                                           const CItemDefList& catalogue)
{
    std::optional<MissionInfo> info;
    CPffArchive archive;
    archive.WalkMissions(basePath, [&](const MissionInfo& m) {
        if (!info && m.name == name)
            info = m;
    });
    if (!info)
        return std::nullopt;
    CMissionModel model;
    File file(basePath, File::Mode::Read);
    model.ReadItems(file, info->offset, info->size);
    return DiskMission{*info, RowsOfModel(model, catalogue)};
}

std::string LoadedMissionName(const CEditorDlg& dialog)
{
    const std::string title = dialog.windowTitle().toStdString();
    const auto dash = title.find(" - ");
    if (dash == std::string::npos)
        return {};
    std::string name = title.substr(dash + 3);
    if (name.ends_with(" *"))
        name.resize(name.size() - 2);
    return name;
}

void Promises::Attach(CEditorDlg& dialog)
{
    m_dialog = &dialog;
    // A mission the editor loaded before it was handed over is as the archive holds it.
    m_loaded = dialog.Document().Rows();
    m_clean = m_loaded;
    m_shadow = std::make_unique<ShadowTable>(*dialog.ItemTable()->TableModel());
    // Listening only: the document is the dialog's, and nothing here changes it.
    auto& document = const_cast<EditDocument&>(dialog.Document());
    m_view.Reset();
    m_listener = document.Subscribe([this](const DocumentChange& change) {
        if (change.kind == DocumentChange::Kind::Reset) {
            m_view.Reset();
            OnLoaded();
        } else if (change.kind == DocumentChange::Kind::Cells) {
            for (const CellRef& cell : change.cells)
                m_view.Edited(cell.row);
        }
    });
    m_viewConnection = QObject::connect(dialog.ItemTable(), &CEditListCtrl::viewChanged, [this] { m_view.ViewChanged(); });
}

void Promises::Detach()
{
    if (m_dialog)
        const_cast<EditDocument&>(m_dialog->Document()).Unsubscribe(m_listener);
    QObject::disconnect(m_viewConnection);
    m_shadow.reset();
    m_dialog = nullptr;
}

void Promises::OnLoaded()
{
    m_loaded = m_dialog->Document().Rows();
    m_clean = m_loaded;
    if (m_loaded.empty() || !m_loadFailure.empty())
        return;
    const std::string name = LoadedMissionName(*m_dialog);
    try {
        const auto disk = ReadDiskMission(m_dialog->BasePath(), name, m_dialog->Catalogue());
        if (!disk)
            m_loadFailure = "loaded " + name + ", which the archive does not hold";
        else
            RequireRows(m_loaded, disk->rows, "loaded " + name + " against the disk");
    } catch (const std::exception& e) {
        m_loadFailure = e.what();
    }
}

void Promises::CheckViews() const
{
    Require(m_loadFailure.empty(), m_loadFailure);
    const CEditorDlg& dialog = *m_dialog;
    const EditDocument& document = dialog.Document();
    const std::size_t rows = document.RowCount();

    // The title: the loaded mission, and a mark exactly while the document is off its clean mark.
    const QString title = dialog.windowTitle();
    if (LoadedMissionName(dialog).empty())
        Require(rows == 0 && document.IsClean(), "no mission in the title, but the document holds rows or edits");
    else
        Require(title.endsWith(QStringLiteral(" *")) == !document.IsClean(),
                "the title \"" + title.toStdString() + "\" and the clean mark disagree");

    // The table.
    const CEditListCtrl* table = dialog.ItemTable();
    const int shown = table->rowCount();
    Require(table->TableModel()->DocumentRowCount() == rows && table->verticalHeader()->count() == shown,
            "the table shows " + std::to_string(table->verticalHeader()->count()) + " rows of " +
                std::to_string(table->TableModel()->DocumentRowCount()) + ", the document has " +
                std::to_string(rows));
    m_view.Check(dialog);
    for (std::size_t r = 0; r < rows; ++r)
        for (int c = 0; c < kColumnCount; ++c)
            if (table->GetItemText(static_cast<int>(r), c).toStdString() != Cp1252ToUtf8(document.Cell(r, c)))
                throw Broken("table cell (" + std::to_string(r + 1) + ", " + std::to_string(c) +
                             ") differs from the document");
    CheckTable();
    CheckFindings();
    CheckChanges();

    // The map: the model's items, markers where the cells say, the filters, the selection.
    const CMapWnd* map = dialog.MapWnd();
    const MapView& view = map->View();
    const CMissionModel& model = dialog.Model();
    if (rows > 0)
        Require(model.items.size() == rows && view.Model() == &model, "the map does not show the loaded mission");
    for (const Filter& f : kFilters)
        Require(view.IsShown(f.category) == dialog.findChild<QAbstractButton*>(ControlName(f.id))->isChecked(),
                "filter " + std::to_string(f.id) + " and the map disagree");
    Require(view.m_bShowChanges == dialog.findChild<QAbstractButton*>(QStringLiteral("changes"))->isChecked(),
            "the Changes switch and the map disagree");
    for (std::size_t r = 0; r < rows; ++r) {
        const WorldPoint p = view.PositionOf(r);
        const auto x = ParseCoordinate(document.Cell(r, kColX));
        const auto y = ParseCoordinate(document.Cell(r, kColY));
        Require((!x || *x == p.x) && (!y || *y == p.y),
                "marker " + std::to_string(r + 1) + " at (" + std::to_string(p.x) + ", " + std::to_string(p.y) +
                    "), its cells say (" + document.Cell(r, kColX) + ", " + document.Cell(r, kColY) + ")");
    }
    std::vector<std::size_t> selected;
    for (const QModelIndex& index : table->selectionModel()->selectedRows())
        selected.push_back(table->DocumentRow(index.row()));
    std::sort(selected.begin(), selected.end());
    Require(selected == view.Selection(), "the table's selection and the map's rings differ");
    CheckMarkers(view);

    CheckFrame();
}

void Promises::CheckTable() const
{
    const EditDocument& document = m_dialog->Document();
    const ShadowTable& shadow = *m_shadow;
    Require(shadow.Complaint().empty(), "the model tester: " + shadow.Complaint());
    Require(shadow.Rows() == m_dialog->ItemTable()->rowCount(),
            "the model signalled " + std::to_string(shadow.Rows()) + " rows, the document has " +
                std::to_string(document.RowCount()));
    // The shadow's rows are view positions.
    const CEditListCtrl* table = m_dialog->ItemTable();
    for (int v = 0; v < shadow.Rows(); ++v) {
        const std::size_t r = table->DocumentRow(v);
        for (int c = 0; c < kColumnCount; ++c)
            Require(shadow.Cell(v, c).toStdString() == Cp1252ToUtf8(document.Cell(r, c)),
                    "cell (" + std::to_string(r + 1) + ", " + std::to_string(c) + ") shows \"" +
                        shadow.Cell(v, c).toStdString() + "\" as last signalled, the document holds \"" +
                        Cp1252ToUtf8(document.Cell(r, c)) + "\"");
    }
}

void Promises::CheckFindings() const
{
    const EditDocument& document = m_dialog->Document();
    if (document.RowCount() == 0)
        return;
    const std::vector<PlainFinding> wanted = PlainCheck(document.Rows(), m_dialog->Model(), m_dialog->Catalogue());
    const ItemFindings* kept = m_dialog->ItemTable()->TableModel()->Findings();
    Require(kept != nullptr, "the table shows no findings for a loaded mission");
    std::vector<PlainFinding> seen;
    for (const Finding& f : kept->All())
        seen.push_back({f.row, f.column, f.severity == Severity::Error, f.message});
    for (std::size_t i = 0; i < std::max(seen.size(), wanted.size()); ++i)
        Require(i < seen.size() && i < wanted.size() && seen[i] == wanted[i],
                "finding " + std::to_string(i + 1) + ": the table has [" +
                    (i < seen.size() ? Describe(seen[i]) : std::string("none")) + "], a plain check [" +
                    (i < wanted.size() ? Describe(wanted[i]) : std::string("none")) + "]");
    // What the table's signals last showed: each row's sentences and the count in the title.
    const ShadowTable& shadow = *m_shadow;
    std::vector<std::string> tips(document.RowCount());
    for (const PlainFinding& f : wanted)
        if (f.row)
            tips[*f.row] += (tips[*f.row].empty() ? "" : "\n") + Cp1252ToUtf8(f.text);
    // A changed Item cell also gives the text the archive holds.
    for (std::size_t r = 0; r < tips.size() && r < m_clean.size(); ++r)
        if (m_clean[r][kColItem] != document.Cell(r, kColItem))
            tips[r] += (tips[r].empty() ? "" : "\n") + ("saved: " + Cp1252ToUtf8(m_clean[r][kColItem]));
    const CEditListCtrl* table = m_dialog->ItemTable();
    for (int v = 0; v < shadow.Rows(); ++v) {
        const std::size_t r = table->DocumentRow(v);
        if (r < tips.size())
            Require(shadow.Tip(v).toStdString() == tips[r],
                    "row " + std::to_string(r + 1) + "'s tooltip as last signalled is \"" +
                        shadow.Tip(v).toStdString() + "\", a plain check says \"" + tips[r] + "\"");
    }
    const std::string title = std::string(ItemColumnTitles()[kColItem]) +
                              (wanted.empty() ? std::string() : " (" + std::to_string(wanted.size()) + ")");
    Require(shadow.Title(kColItem).toStdString() == title, "the Item column's title as last signalled is \"" +
                                                               shadow.Title(kColItem).toStdString() +
                                                               "\", a plain check says \"" + title + "\"");
}

void Promises::CheckChanges() const
{
    const EditDocument& document = m_dialog->Document();
    const ShadowTable& shadow = *m_shadow;
    Require(m_clean.size() == document.RowCount(), "the rows as saved and the document differ in count");
    const MapView& view = m_dialog->MapWnd()->View();
    const CEditListCtrl* table = m_dialog->ItemTable();
    for (std::size_t r = 0; r < m_clean.size(); ++r) {
        // The shadow's rows are view positions; a hidden row shows no marks.
        const int v = table->ViewRow(r);
        for (int c = 0; c < kColumnCount && v >= 0 && v < shadow.Rows(); ++c) {
            const bool changed = m_clean[r][static_cast<std::size_t>(c)] != document.Cell(r, c);
            Require(shadow.Marked(v, c) == changed,
                    "cell (" + std::to_string(r + 1) + ", " + std::to_string(c) + ") is " +
                        (changed ? "not marked, but differs from" : "marked, but equals") + " the saved text");
        }
        // A saved place where the saved cells give one that is not where the marker stands.
        std::optional<WorldPoint> wanted;
        if (m_clean[r][kColX] != document.Cell(r, kColX) || m_clean[r][kColY] != document.Cell(r, kColY)) {
            const auto x = ParseCoordinate(m_clean[r][kColX]);
            const auto y = ParseCoordinate(m_clean[r][kColY]);
            if (x && y && !(WorldPoint{*x, *y} == view.PositionOf(r)))
                wanted = WorldPoint{*x, *y};
        }
        Require(view.SavedPositionOf(r) == wanted, "the map's saved place of row " + std::to_string(r + 1) +
                                                       " disagrees with the saved cells");
    }
}

void Promises::CheckFrame() const
{
    // Only between gestures: a drag draws its items elsewhere.
    const CMapWnd* map = m_dialog->MapWnd();
    const MapView& view = map->View();
    Require(!view.IsDragging(), "a drag is still under way after the action");
    const Canvas plain = PaintPlain(view);
    const Canvas& shown = map->Frame();
    Require(shown.Width() == plain.Width() && shown.Height() == plain.Height(),
            "the map's frame is not its view's size");
    const auto row = [](const Canvas& c, int y) { return c.Data() + static_cast<std::ptrdiff_t>(y) * c.Stride(); };
    for (int y = 0; y < plain.Height(); ++y) {
        if (std::equal(row(plain, y), row(plain, y) + plain.Width() * 3, row(shown, y)))
            continue;
        int x = 0;
        while (plain.Pixel(x, y) == shown.Pixel(x, y))
            ++x;
        const Rgb a = shown.Pixel(x, y), b = plain.Pixel(x, y);
        const auto rgb = [](Rgb c) {
            return "(" + std::to_string(c.r) + ", " + std::to_string(c.g) + ", " + std::to_string(c.b) + ")";
        };
        throw Broken("the map shows " + rgb(a) + " at frame pixel (" + std::to_string(x) + ", " + std::to_string(y) +
                     "), a plain paint " + rgb(b));
    }
}

Promises::SaveStart Promises::BeginSave() const
{
    return {test::ReadBytes(m_dialog->BasePath()), m_dialog->Document().Rows(), m_dialog->Document().IsClean(),
            LoadedMissionName(*m_dialog)};
}

void Promises::CheckSaved(const SaveStart& start) const
{
    const CItemDefList& catalogue = m_dialog->Catalogue();
    const auto disk = ReadDiskMission(m_dialog->BasePath(), start.mission, catalogue);
    Require(disk.has_value(), "saved " + start.mission + ", which the archive no longer holds");
    std::vector<ItemRow> wanted;
    for (const ItemRow& row : m_dialog->Document().Rows())
        wanted.push_back(AsSaved(row, catalogue));
    RequireRows(disk->rows, wanted, "saved " + start.mission + " read back");
    Require(m_dialog->Document().IsClean(), "a saved document is not at its clean mark");
    m_clean = m_dialog->Document().Rows();

    const std::vector<std::uint8_t> after = test::ReadBytes(m_dialog->BasePath());
    Require(after.size() == start.bytes.size(), "a save changed the archive's size");
    const std::size_t first = disk->info.offset + static_cast<std::size_t>(CMissionModel::kItemsOffset);
    const std::size_t last = first + disk->rows.size() * CMissionItem::kRecordSize;
    for (std::size_t i = 0; i < after.size(); ++i)
        Require(after[i] == start.bytes[i] || (i >= first && i < last),
                "a save changed byte " + std::to_string(i) + ", outside the records of " + start.mission);
}

void Promises::CheckRefused(const SaveStart& start) const
{
    Require(test::ReadBytes(m_dialog->BasePath()) == start.bytes, "a refused save changed the archive");
    RequireRows(m_dialog->Document().Rows(), start.rows, "the rows after a refused save");
    Require(m_dialog->Document().IsClean() == start.clean, "a refused save moved the clean mark");
}

} // namespace orvik::exercise

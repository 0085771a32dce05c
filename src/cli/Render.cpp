// The commands that draw pictures: the map as the editor paints it, and PCX to PNG.
#include "Commands.h"

#include "common/FileError.h"
#include "common/OutputFile.h"
#include "common/Text.h"
#include "image/Bitmap.h"
#include "image/Canvas.h"
#include "image/Pcx.h"
#include "labels/LabelPainter.h"
#include "map/MapView.h"
#include "mission/ItemRows.h"
#include "mission/MissionModel.h"

#include <QBuffer>
#include <QByteArray>
#include <QGuiApplication>
#include <QImage>

#include <iostream>
#include <memory>

#ifdef _WIN32
#include <windows.h>
#endif

namespace orvik::cli {

namespace {

// Fonts need a GUI application; the offscreen platform needs no display.
void EnsureGuiApplication()
{
    if (QGuiApplication::instance())
        return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
#ifdef _WIN32
    // The offscreen platform reads fonts from files; on Windows they lie in the system's font folder.
    wchar_t windows[MAX_PATH];
    const UINT length = GetWindowsDirectoryW(windows, MAX_PATH);
    if (length > 0 && length < MAX_PATH)
        qputenv("QT_QPA_FONTDIR",
                (QString::fromWCharArray(windows, static_cast<int>(length)) + QStringLiteral("\\Fonts")).toLocal8Bit());
#endif
    // Qt's notes about the desktop session (runtime folders, fonts) mean nothing to a command-line
    // user; keep stderr for this program's own messages.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& message) {
        if (type == QtCriticalMsg || type == QtFatalMsg)
            std::cerr << message.toStdString() << '\n';
    });
    static int argc = 1;
    static char name[] = "orvik";
    static char* argv[] = {name, nullptr};
    static std::unique_ptr<QGuiApplication> app = std::make_unique<QGuiApplication>(argc, argv);
}

// Encoded in memory first, so a picture that cannot be made never leaves an empty or cut-off
// file, and an older picture of that name stays until the new one is complete.
void WritePng(const std::uint8_t* rgb, int width, int height, const std::string& path)
{
    const QImage image(rgb, width, height, width * 3, QImage::Format_RGB888);
    QByteArray png;
    QBuffer buffer(&png);
    if (!buffer.open(QIODevice::WriteOnly) || !image.save(&buffer, "PNG"))
        throw UserError("Could not make the picture " + path + ".");
    WriteOutputFile(path, png.constData(), static_cast<std::size_t>(png.size()));
}

void HideCategory(MapView& view, const std::string& name)
{
    const std::string n = FoldLower(Trim(name));
    if (n == "people")
        view.m_bShowPeople = false;
    else if (n == "buildings")
        view.m_bShowBuildings = false;
    else if (n == "decorations")
        view.m_bShowDecorations = false;
    else if (n == "vehicles")
        view.m_bShowVehicles = false;
    else if (n == "markers")
        view.m_bShowMarkers = false;
    else if (n == "objects")
        view.m_bShowObjects = false;
    else if (!n.empty())
        throw UserError("Unknown category \"" + name +
                        "\" in --hide: use people, buildings, decorations, vehicles, markers, objects.");
}

// Row numbers from 1 as items; a number that names no row is refused before anything is written.
std::vector<std::size_t> SelectedItems(const std::vector<std::string>& rows, std::size_t count)
{
    std::vector<std::size_t> items;
    for (const std::string& text : rows) {
        const std::optional<std::int32_t> row = ParseCoordinate(text);
        if (!row || *row < 1 || static_cast<std::size_t>(*row) > count)
            throw UserError("--select: \"" + text + "\" is not a row of this mission (rows 1 to " +
                            std::to_string(count) + ").");
        items.push_back(static_cast<std::size_t>(*row - 1));
    }
    return items;
}

} // namespace

int Render(const std::string& base, const std::string& mission, const RenderOptions& options,
           const std::string& catalogue)
{
    MapView view;
    if (!MapView::IsValidZoom(options.zoom))
        throw UserError("--zoom must be 1, 2, 4 or 8.");
    // Set before any centre, so centres are placed in the zoomed picture's own pixels.
    view.SetZoom(options.zoom, MapView::kSize / 2, MapView::kSize / 2);
    for (const auto& name : options.hide)
        HideCategory(view, name);
    CheckOutputTarget(options.output); // before the work of drawing
    const MissionInfo info = FindMission(base, mission);
    const CItemDefList defs = LoadCatalogue(base, catalogue);

    // The editor's load: items, terrain, centre items (the last wins), then the repaint that ends it.
    CMissionModel model;
    LoadReport report;
    {
        File file(base, File::Mode::Read);
        report = model.Load(file, info.offset, base, view, info.size);
    }
    if (const auto center = CenterItemPosition(model, defs))
        view.SetCenter(center->first, center->second);
    view.SetModel(&model);
    view.SetSelection(SelectedItems(options.select, model.items.size()));

    EnsureGuiApplication();
    Canvas frame(MapView::kSize, MapView::kSize);
    InstallMapLabelDrawer(frame);
    const bool ids = options.ids;
    view.m_bShowIds = false;
    view.Paint(frame);
    if (options.center)
        view.SetCenter(options.center->first, options.center->second);
    for (const auto& [px, py] : options.clicks) {
        view.Click(px, py);
        view.Paint(frame);
    }
    view.m_bShowIds = ids;
    view.Paint(frame);
    WritePng(frame.Data(), frame.Width(), frame.Height(), options.output);

    const std::string message = LoadReportMessage(report, info.name);
    if (!message.empty())
        std::cerr << Cp1252ToUtf8(message) << '\n';
    return report.itemsDamaged ? 1 : 0;
}

int Pcx(const std::string& input, const std::string& output, const std::string& shrink)
{
    CheckOutputTarget(output);
    std::uint32_t width = 0, height = 0;
    PcxError error = PcxError::None;
    std::optional<PackedImage> image = LoadPcxImage(input, width, height, &error);
    if (!image)
        throw UserError(input + " could not be read as a PCX image: " + PcxErrorText(error) + ".");
    if (!shrink.empty()) {
        const auto [w, h] = ParsePair(shrink, 'x', "size (write WIDTHxHEIGHT)");
        if (w <= 0 || h <= 0)
            throw UserError("The size " + shrink + " must be positive.");
        auto small = ShrinkImage(image->pixels.data(), image->width, image->height, static_cast<std::uint32_t>(w),
                                 static_cast<std::uint32_t>(h));
        if (!small)
            throw UserError("Cannot shrink a " + std::to_string(image->width) + "x" + std::to_string(image->height) +
                            " image to " + shrink + ": images are only made smaller.");
        image = std::move(small);
    }
    WritePng(image->pixels.data(), static_cast<int>(image->width), static_cast<int>(image->height), output);
    return 0;
}

} // namespace orvik::cli

// Helper of the end-to-end test: writes a demo game, and checks a screenshot without any tool
// beyond what the project builds with.
//   e2e_tool demo DIR [SEED]
//   e2e_tool check-png FILE WIDTH HEIGHT
//   e2e_tool find-frame SCREEN.png FRAME.png   prints where FRAME's visible part lies in SCREEN
#include "gamedata/DemoGame.h"

#include <QImage>
#include <QSet>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>

namespace {

int CheckPng(const char* path, int width, int height)
{
    QImage image;
    if (!image.load(QString::fromLocal8Bit(path), "PNG")) {
        std::fprintf(stderr, "%s is not a readable PNG\n", path);
        return 1;
    }
    if (image.width() != width || image.height() != height) {
        std::fprintf(stderr, "%s is %dx%d, expected %dx%d\n", path, image.width(), image.height(), width, height);
        return 1;
    }
    // A real picture of the window has many colours; a blank or failed grab has one or two.
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); y += 3)
        for (int x = 0; x < image.width(); x += 3)
            colours.insert(image.pixel(x, y));
    if (colours.size() < 16) {
        std::fprintf(stderr, "%s shows only %lld colours\n", path, static_cast<long long>(colours.size()));
        return 1;
    }
    std::printf("%s: %dx%d, %lld colours sampled\n", path, width, height, static_cast<long long>(colours.size()));
    return 0;
}

// The map widget shows frame pixels 0..509 in both directions; finds where they lie in a picture of
// the screen, pixel for pixel, and prints that point, so that a driver knows where the window is.
int FindFrame(const char* screenPath, const char* framePath)
{
    constexpr int kVisible = 510;
    QImage screen;
    QImage frame;
    if (!screen.load(QString::fromLocal8Bit(screenPath)) || !frame.load(QString::fromLocal8Bit(framePath))) {
        std::fprintf(stderr, "%s or %s is not a readable picture\n", screenPath, framePath);
        return 1;
    }
    screen = screen.convertToFormat(QImage::Format_RGB32);
    frame = frame.convertToFormat(QImage::Format_RGB32);
    if (frame.width() < kVisible || frame.height() < kVisible) {
        std::fprintf(stderr, "%s is smaller than the map\n", framePath);
        return 1;
    }
    const auto row = [](const QImage& image, int x, int y) {
        return reinterpret_cast<const QRgb*>(image.constScanLine(y)) + x;
    };
    const auto matches = [&](int left, int top) {
        for (int y = 0; y < kVisible; ++y)
            if (!std::equal(row(frame, 0, y), row(frame, kVisible, y), row(screen, left, top + y)))
                return false;
        return true;
    };
    for (int top = 0; top + kVisible <= screen.height(); ++top)
        for (int left = 0; left + kVisible <= screen.width(); ++left)
            if (*row(screen, left, top) == *row(frame, 0, 0) && matches(left, top)) {
                std::printf("%d %d\n", left, top);
                return 0;
            }
    std::fprintf(stderr, "the map of %s is nowhere on %s\n", framePath, screenPath);
    return 1;
}

} // namespace

int main(int argc, char** argv)
{
    try {
        const std::string command = argc > 1 ? argv[1] : "";
        if (command == "demo" && (argc == 3 || argc == 4)) {
            orvik::gamedata::DemoOptions options;
            if (argc == 4)
                options.seed = static_cast<std::uint32_t>(std::strtoul(argv[3], nullptr, 10));
            std::string dir = argv[2];
            if (!dir.empty() && dir.back() != '/')
                dir += '/';
            orvik::gamedata::WriteDemoGame(dir, options);
            return 0;
        }
        if (command == "check-png" && argc == 5) {
            // PNG reading is built into QtGui and needs no application object or display.
            return CheckPng(argv[2], std::atoi(argv[3]), std::atoi(argv[4]));
        }
        if (command == "find-frame" && argc == 4)
            return FindFrame(argv[2], argv[3]);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "e2e_tool: %s\n", e.what());
        return 1;
    }
    std::fprintf(stderr, "usage: e2e_tool demo DIR [SEED] | check-png FILE WIDTH HEIGHT | find-frame SCREEN FRAME\n");
    return 2;
}

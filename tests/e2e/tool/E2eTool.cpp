// Helper of the end-to-end test: writes a demo game, and checks a screenshot without any tool
// beyond what the project builds with.
//   e2e_tool demo DIR [SEED]
//   e2e_tool check-png FILE WIDTH HEIGHT
#include "gamedata/DemoGame.h"

#include <QImage>
#include <QSet>

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
    } catch (const std::exception& e) {
        std::fprintf(stderr, "e2e_tool: %s\n", e.what());
        return 1;
    }
    std::fprintf(stderr, "usage: e2e_tool demo DIR [SEED] | check-png FILE WIDTH HEIGHT\n");
    return 2;
}

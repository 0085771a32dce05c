// orvik-editor [BASE]: the item placement editor.
#include "app/EditorApp.h"
#include "app/EditorArgs.h"

#include <QtGlobal>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

QtMessageHandler g_previousHandler = nullptr;

// Without a display Qt ends the process from inside QApplication's constructor with abort(); say what
// is missing and exit with a status of our own instead.
void StartupMessage(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (type != QtFatalMsg) {
        if (g_previousHandler)
            g_previousHandler(type, context, message);
        return;
    }
    std::fprintf(stderr,
                 "orvik-editor: %s\norvik-editor: the editor needs a display (X11 or Wayland); "
                 "the orvik command does the same work without one (orvik --help).\n",
                 qUtf8Printable(message));
    std::fflush(stderr);
    std::_Exit(3);
}

void Print(std::FILE* stream, const std::string& text)
{
#ifdef _WIN32
    // A GUI program has no console of its own; write into the one it was started from, if any.
    if (AttachConsole(ATTACH_PARENT_PROCESS)) {
        std::freopen("CONOUT$", "w", stdout);
        std::freopen("CONOUT$", "w", stderr);
    }
#endif
    std::fputs(text.c_str(), stream);
    std::fflush(stream);
}

} // namespace

int main(int argc, char** argv)
{
    using orvik::EditorArgs;
    const EditorArgs parsed = orvik::ParseEditorArgs(std::vector<std::string>(argv + 1, argv + argc));
    switch (parsed.action) {
    case EditorArgs::Action::Help: Print(stdout, orvik::EditorUsage()); return 0;
    case EditorArgs::Action::Version: Print(stdout, orvik::EditorVersion()); return 0;
    case EditorArgs::Action::UsageError:
        Print(stderr, "orvik-editor: " + parsed.error + "\n" + orvik::EditorUsage());
        return 2;
    case EditorArgs::Action::Run:
    case EditorArgs::Action::ProbeDisplay: break;
    }

    g_previousHandler = qInstallMessageHandler(StartupMessage);
    orvik::CEditorApp app(argc, argv);
    qInstallMessageHandler(g_previousHandler);
    if (parsed.action == EditorArgs::Action::ProbeDisplay)
        return 0;
    return app.InitInstance();
}

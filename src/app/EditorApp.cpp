#include "app/EditorApp.h"

#include "app/EditorDlg.h"
#include "app/QtPrompts.h"
#include "app/QtText.h"
#include "app/ScreenshotRun.h"

#include <QStringList>

#include <cstdio>
#include <optional>

namespace orvik {

CEditorApp::CEditorApp(int& argc, char** argv) : QApplication(argc, argv)
{
    setApplicationName(ApplicationName());
}

int CEditorApp::InitInstance()
{
    const QStringList args = arguments();
    if (args.size() > 2 || (args.size() == 2 && (args[1] == "--help" || args[1] == "-h"))) {
        std::fprintf(stderr, "usage: orvik-editor [BASE]\n  BASE  the game's kqbase.pff; without it the editor asks\n");
        return args.size() > 2 ? 2 : 0;
    }
    std::optional<std::string> basePath;
    if (args.size() == 2)
        basePath = PathFromQt(args[1]);

    QtPrompts prompts;
    CEditorDlg dialog(prompts, basePath);
    prompts.SetParent(&dialog);
    ScreenshotRun screenshot(dialog);
    dialog.DoModal();
    return screenshot.ExitCode();
}

} // namespace orvik

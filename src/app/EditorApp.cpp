#include "app/EditorApp.h"

#include "app/EditorArgs.h"
#include "app/EditorDlg.h"
#include "app/EditorSettings.h"
#include "app/QtPrompts.h"
#include "app/QtText.h"

#include <QStringList>

#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace orvik {

CEditorApp::CEditorApp(int& argc, char** argv) : QApplication(argc, argv)
{
    setApplicationName(ApplicationName());
    // Lets a Wayland desktop match the window to the installed desktop entry and its icon.
    setDesktopFileName(QStringLiteral("io.github.orvik.OrvikEditor"));
}

int CEditorApp::InitInstance()
{
    // main() has read the options already; Qt has taken its own out since. BASE is read again from
    // Qt's copy of the arguments, which keeps characters that the local code page lacks (Windows).
    const QStringList args = arguments();
    std::vector<std::string> rest;
    for (qsizetype i = 1; i < args.size(); ++i)
        rest.push_back(args[i].toStdString());
    const EditorArgs parsed = ParseEditorArgs(rest);
    if (parsed.action == EditorArgs::Action::UsageError) {
        std::fprintf(stderr, "orvik-editor: %s\n%s", parsed.error.c_str(), EditorUsage().c_str());
        return 2;
    }
    std::optional<std::string> basePath;
    if (parsed.baseIndex >= 0)
        basePath = PathFromQt(args[parsed.baseIndex + 1]);

    std::unique_ptr<EditorSettings> settings;
    if (!parsed.noSettings || parsed.resetSettings) {
        const QString path = EditorSettings::DefaultPath();
        if (parsed.resetSettings && !EditorSettings::Remove(path))
            return 1;
        if (!parsed.noSettings)
            settings = std::make_unique<EditorSettings>(path);
    }

    QtPrompts prompts;
    CEditorDlg dialog(prompts, basePath);
    prompts.SetParent(&dialog);
    dialog.UseSettings(settings.get());
    dialog.DoModal();
    return 0;
}

} // namespace orvik

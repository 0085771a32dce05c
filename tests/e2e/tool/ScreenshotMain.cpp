// orvik-screenshot OUT.png BASE [--mission N] [--zoom Z] [--rows R,R...] [--size WxH]
// The real editor dialog on BASE, photographed once it is on screen: for the end-to-end test and the
// README's pictures. Test-only; never installed.
#include "ScreenshotRun.h"

#include "app/EditorDlg.h"
#include "support/PrivateDataFolder.h"
#include "app/QtPrompts.h"
#include "app/QtText.h"

#include <QApplication>
#include <QStringList>

#include <cstdio>

namespace {

int Usage()
{
    std::fprintf(stderr,
                 "usage: orvik-screenshot OUT.png BASE [--mission N] [--zoom Z] [--rows R,R...] [--size WxH]\n");
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    const orvik::test::PrivateDataFolder data;
    QApplication app(argc, argv);
    // Message boxes are captioned with the editor's name, as in the real program.
    QApplication::setApplicationName(QStringLiteral("orvik-editor"));
    const QStringList args = QApplication::arguments();
    if (args.size() < 3 || args.size() % 2 == 0)
        return Usage();
    orvik::ScreenshotOptions options;
    options.path = args[1];
    for (qsizetype i = 3; i + 1 < args.size(); i += 2) {
        const QString& name = args[i];
        const QString& value = args[i + 1];
        bool ok = true;
        if (name == QLatin1String("--mission")) {
            options.mission = value.toInt(&ok);
        } else if (name == QLatin1String("--zoom")) {
            options.zoom = value.toInt(&ok);
        } else if (name == QLatin1String("--rows")) {
            for (const QString& row : value.split(QLatin1Char(','), Qt::SkipEmptyParts))
                if (ok)
                    options.rows.push_back(row.toInt(&ok));
        } else if (name == QLatin1String("--size")) {
            const QStringList size = value.split(QLatin1Char('x'));
            ok = size.size() == 2;
            if (ok)
                options.width = size[0].toInt(&ok);
            if (ok)
                options.height = size[1].toInt(&ok);
        } else {
            ok = false;
        }
        if (!ok)
            return Usage();
    }
    orvik::QtPrompts prompts;
    orvik::CEditorDlg dialog(prompts, orvik::PathFromQt(args[2]));
    prompts.SetParent(&dialog);
    orvik::ScreenshotRun screenshot(dialog, options);
    dialog.DoModal();
    return screenshot.ExitCode();
}

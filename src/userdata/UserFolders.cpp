#include "userdata/UserFolders.h"

#include <QDir>
#include <QStandardPaths>

namespace orvik {

std::string RecoveryFolder()
{
    // AppLocalDataLocation is this folder with the application's name added; asking for the
    // generic one keeps a program of another name (orvik, a test) from landing elsewhere.
    const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    return QDir::toNativeSeparators(base + QStringLiteral("/orvik-editor/recovery")).toStdString();
}

} // namespace orvik

#include "userdata/UserFolders.h"

#include <QDir>
#include <QStandardPaths>

namespace orvik {

std::string RecoveryFolder()
{
    // AppLocalDataLocation is this folder with the application's name added; asking for the
    // generic one keeps a program of another name (orvik, a test) from landing elsewhere.
    // Windows users know the program by its title there, as the settings' folder is named.
#ifdef _WIN32
    const QString folder = QStringLiteral("/Orvik Editor/recovery");
#else
    const QString folder = QStringLiteral("/orvik-editor/recovery");
#endif
    const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    return QDir::toNativeSeparators(base + folder).toStdString();
}

} // namespace orvik

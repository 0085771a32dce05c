#pragma once
// Test programs that run the editor keep its data and config folders (recovery files, settings) to themselves: never the
// user's, never another test program's. Call before the QApplication is made.
#include <QByteArray>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>

namespace orvik::test {

class PrivateDataFolder {
public:
    PrivateDataFolder()
    {
#if defined(Q_OS_LINUX) || defined(Q_OS_FREEBSD)
        // Qt's test mode would share ~/.qttest between programs; a folder of our own does not. The
        // settings (and Qt's own file dialog state) go there too.
        qputenv("XDG_DATA_HOME", QFile::encodeName(m_dir.path()));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_dir.path() + QStringLiteral("/config")));
#else
        QStandardPaths::setTestModeEnabled(true);
#endif
    }
    QString Path() const { return m_dir.path(); }

private:
    QTemporaryDir m_dir;
};

} // namespace orvik::test

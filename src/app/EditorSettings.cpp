#include "app/EditorSettings.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <algorithm>
#include <cstdio>

namespace orvik {

namespace {

// Written into every file we make; a file without it is not ours to read.
const QString kFormatKey = QStringLiteral("format");
constexpr int kFormat = 1;

#ifdef _WIN32
const char* const kFolderName = "Orvik Editor";
#else
const char* const kFolderName = "orvik-editor";
#endif

QString Hex(const QString& text)
{
    return QString::fromLatin1(
        QCryptographicHash::hash(text.toUtf8(), QCryptographicHash::Sha1).toHex().left(16));
}

bool SamePath(const QString& a, const QString& b)
{
#ifdef _WIN32
    return a.compare(b, Qt::CaseInsensitive) == 0;
#else
    return a == b;
#endif
}

} // namespace

EditorSettings::EditorSettings(QString path) : m_path(std::move(path))
{
    const QFileInfo info(m_path);
    if (!info.exists())
        return;
    QSettings reader(m_path, QSettings::IniFormat);
    const bool readable = QFile(m_path).open(QIODevice::ReadOnly);
    if (!readable || reader.status() != QSettings::NoError || reader.value(kFormatKey).toInt() != kFormat) {
        m_damaged = true;
        std::fprintf(stderr,
                     "orvik-editor: the settings in %s cannot be read; the editor starts with the defaults and "
                     "leaves the file as it is until a setting changes.\n",
                     qUtf8Printable(QDir::toNativeSeparators(m_path)));
        return;
    }
    for (const QString& key : reader.allKeys())
        m_known.insert(key, reader.value(key));
}

EditorSettings::~EditorSettings() { Flush(); }

QString EditorSettings::DefaultPath()
{
    // QSettings' own user scope: $XDG_CONFIG_HOME (~/.config) here, the roaming %APPDATA% on Windows.
    const QSettings probe(QSettings::IniFormat, QSettings::UserScope, QString::fromLatin1(kFolderName),
                          QStringLiteral("orvik-editor"));
    return probe.fileName();
}

bool EditorSettings::Remove(const QString& path)
{
    if (!QFileInfo::exists(path) || QFile::remove(path))
        return true;
    std::fprintf(stderr, "orvik-editor: the settings file %s could not be deleted.\n",
                 qUtf8Printable(QDir::toNativeSeparators(path)));
    return false;
}

QVariant EditorSettings::Value(const QString& key, const QVariant& fallback) const
{
    return m_known.value(key, fallback);
}

void EditorSettings::OpenForWriting()
{
    if (m_store)
        return;
    if (m_damaged) {
        // The user has changed a setting: the file that could not be read gives way to a new one.
        QFile::remove(m_path);
        m_damaged = false;
    }
    QDir().mkpath(QFileInfo(m_path).absolutePath());
    m_store = std::make_unique<QSettings>(m_path, QSettings::IniFormat);
    if (m_known.value(kFormatKey).toInt() != kFormat) {
        m_store->setValue(kFormatKey, kFormat);
        m_known.insert(kFormatKey, kFormat);
    }
}

void EditorSettings::SetValue(const QString& key, const QVariant& value)
{
    const auto found = m_known.constFind(key);
    if (found != m_known.cend() && *found == value)
        return;
    OpenForWriting();
    m_known.insert(key, value);
    m_store->setValue(key, value);
}

void EditorSettings::RemoveKey(const QString& key)
{
    if (!m_known.contains(key))
        return;
    OpenForWriting();
    m_known.remove(key);
    m_store->remove(key);
}

void EditorSettings::Flush()
{
    if (!m_store)
        return;
    m_store->sync();
    if (m_store->status() == QSettings::AccessError)
        std::fprintf(stderr, "orvik-editor: the settings could not be written to %s.\n",
                     qUtf8Printable(QDir::toNativeSeparators(m_path)));
}

QStringList EditorSettings::RecentArchives() const
{
    QStringList recent = Value(QStringLiteral("archives/recent")).toStringList();
    recent.removeAll(QString());
    while (recent.size() > kMaxRecent)
        recent.removeLast();
    return recent;
}

void EditorSettings::NoteArchive(const QString& path)
{
    const QString absolute = QFileInfo(path).absoluteFilePath();
    QStringList recent = RecentArchives();
    recent.erase(std::remove_if(recent.begin(), recent.end(), [&](const QString& p) { return SamePath(p, absolute); }),
                 recent.end());
    recent.prepend(absolute);
    while (recent.size() > kMaxRecent) {
        // An archive that leaves the list takes its views with it.
        const QString group = ArchiveGroup(recent.takeLast()) + QLatin1Char('/');
        for (const QString& key : m_known.keys())
            if (key.startsWith(group))
                RemoveKey(key);
    }
    SetValue(QStringLiteral("archives/last"), absolute);
    SetValue(QStringLiteral("archives/recent"), recent);
}

QRect EditorSettings::PlaceWindow(const QRect& saved, const QList<QRect>& screens, const QRect& mainScreen,
                                  const QSize& defaultSize)
{
    if (saved.isValid() && saved.width() >= defaultSize.width() && saved.height() >= defaultSize.height())
        for (const QRect& screen : screens)
            if (screen.contains(saved))
                return saved;
    QRect centred(QPoint(), defaultSize);
    centred.moveCenter(mainScreen.center());
    return centred;
}

QString EditorSettings::ArchiveGroup(const QString& path)
{
    // Paths hold characters that INI keys cannot; a hash of the path names its group.
    return QStringLiteral("archive-") + Hex(QFileInfo(path).absoluteFilePath());
}

QString EditorSettings::MissionKey(const QString& archivePath, const QString& mission)
{
    return ArchiveGroup(archivePath) + QStringLiteral("/view-") + Hex(mission.toLower());
}

} // namespace orvik

#pragma once
// The user's settings: an INI file in the user's config folder (never the registry, never the game
// folder). Values are read once at start; a value is written only when it differs from what the file
// held or what we last wrote, so that two editors running at once each write only their own changes
// and the last writer wins per key. A file that cannot be read gives the defaults and is left as it
// is until the user changes a setting.
#include <QHash>
#include <QList>
#include <QRect>
#include <QSettings>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <memory>

namespace orvik {

class EditorSettings {
public:
    static constexpr int kMaxRecent = 10;

    // Reads path; when it is there but cannot be read, says so in one line on stderr.
    explicit EditorSettings(QString path);
    ~EditorSettings();

    // ~/.config/orvik-editor/orvik-editor.ini, %APPDATA%\Orvik Editor\orvik-editor.ini.
    static QString DefaultPath();
    // Deletes the file; false (with a line on stderr) when it is there and cannot be deleted.
    static bool Remove(const QString& path);

    const QString& Path() const { return m_path; }
    bool Damaged() const { return m_damaged; }

    QVariant Value(const QString& key, const QVariant& fallback = {}) const;
    void SetValue(const QString& key, const QVariant& value);
    // Takes value as what the file holds for a key it lacks, without writing it: the defaults a
    // start shows are no change of the user's.
    void Baseline(const QString& key, const QVariant& value) { m_known.insert(key, value); }
    void RemoveKey(const QString& key);
    // Puts what was set into the file (QSettings merges it with what another editor wrote).
    void Flush();

    // Up to ten archives, the most recent first, as absolute paths.
    QStringList RecentArchives() const;
    void NoteArchive(const QString& path);
    // The group that holds one archive's last mission and its missions' views.
    static QString ArchiveGroup(const QString& path);
    static QString MissionKey(const QString& archivePath, const QString& mission);

    // Where a window kept at saved goes: there when one screen holds it whole, else at its default
    // size in the middle of the main screen (a monitor that is gone never takes the window with it).
    static QRect PlaceWindow(const QRect& saved, const QList<QRect>& screens, const QRect& mainScreen,
                             const QSize& defaultSize);

private:
    void OpenForWriting();

    QString m_path;
    bool m_damaged = false;
    std::unique_ptr<QSettings> m_store;
    QHash<QString, QVariant> m_known; // what the file holds as far as we know
};

} // namespace orvik

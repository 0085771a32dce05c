// The dialog's side of the recovery file: starting this editor's own, and offering back the edits
// of editors that ended without saving them.
#include "app/EditorDlg.h"

#include "app/ComboSortedList.h"
#include "app/QtText.h"
#include "session/RecoveryFolder.h"
#include "userdata/UserFolders.h"

#include <QComboBox>
#include <QDateTime>
#include <QDir>
#include <QPointer>
#include <QSignalBlocker>

namespace orvik {

namespace {

QString FileName(const std::string& path) { return QDir::toNativeSeparators(PathToQt(path)); }

QString WhenText(std::int64_t seconds)
{
    return QDateTime::fromSecsSinceEpoch(seconds).toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

} // namespace

void CEditorDlg::StartRecovery()
{
    try {
        QPointer<CEditorDlg> self(this);
        // Said once per run of failures, on the user's thread.
        m_session.StartRecovery(RecoveryFolder(), [self](const std::string& error) {
            QMetaObject::invokeMethod(
                self.data(),
                [self, error] {
                    if (self)
                        self->m_prompts.Message(ToQt(error));
                },
                Qt::QueuedConnection);
        });
    } catch (const std::exception& e) {
        m_prompts.Message(QStringLiteral("Unsaved edits cannot be kept for recovery: ") + ToQt(e.what()));
    }
}

void CEditorDlg::OfferRecovery()
{
    if (m_strBasePath.empty())
        return;
    const std::string archive = AbsoluteArchivePath(m_strBasePath);
    QStringList problems;
    std::vector<RecoveryEntry> offers;
    for (RecoveryEntry& entry : ListRecoveryFiles(RecoveryFolder())) {
        // A running editor's file (this one's too) is its own business.
        if (entry.live || entry.path == m_session.RecoveryPath())
            continue;
        const QString file = FileName(entry.path);
        if (entry.read.status == RecoveryReadStatus::Damaged) {
            problems << QStringLiteral("The recovery file %1 is damaged; it was left as it is.").arg(file);
        } else if (entry.read.status == RecoveryReadStatus::OtherVersion) {
            problems << QStringLiteral("The recovery file %1 is from another version of the editor (format %2); "
                                       "it was left as it is.")
                            .arg(file)
                            .arg(entry.read.version);
        } else if (entry.archiveGone) {
            const RecoveryHeader& header = entry.read.record.header;
            problems << QStringLiteral("The recovery file %1 holds edits to %2 in %3, which is no longer there; "
                                       "it was left as it is.")
                            .arg(file, ToQt(header.missionName), FileName(header.archivePath));
        } else if (entry.read.record.header.archivePath == archive) {
            offers.push_back(std::move(entry));
        }
    }
    if (!problems.isEmpty())
        m_prompts.Message(problems.join(QLatin1Char('\n')));

    // The newest first; once one is restored the table holds it, and the rest wait for next time.
    for (auto it = offers.rbegin(); it != offers.rend(); ++it) {
        const RecoveryRecord& record = it->read.record;
        const QString text =
            QStringLiteral("An editor that ended without saving kept its unsaved edits to %1: %3 row(s) changed, "
                           "the last at %2.\n\n"
                           "Restore them? Discard deletes them; Later keeps them for the next time.")
                .arg(ToQt(record.header.missionName), WhenText(record.time))
                .arg(record.rows.size());
        const RecoveryAnswer answer = m_prompts.AskRecovery(text);
        if (answer == RecoveryAnswer::Discard) {
            if (!RemoveRecoveryFile(it->path))
                m_prompts.Message(QStringLiteral("The recovery file %1 could not be deleted.").arg(FileName(it->path)));
        } else if (answer == RecoveryAnswer::Restore && RestoreRecovery(*it)) {
            return;
        }
    }
}

bool CEditorDlg::RestoreRecovery(const RecoveryEntry& entry)
{
    const RecoveryRecord& record = entry.read.record;
    const RecoveryHeader& wanted = record.header;
    const QString name = ToQt(wanted.missionName);
    // By name, where it was first: a repack moves a mission without changing it, and the records'
    // hash tells whether it is still the one the edits were made on.
    int line = -1;
    for (int i = 0; i < m_cbMission->count(); ++i) {
        if (MissionNameFromLine(FromQt(m_cbMission->itemText(i))) != wanted.missionName)
            continue;
        if (line < 0 || ComboSortedList::ItemData(*m_cbMission, i) == wanted.missionOffset)
            line = i;
    }
    if (line < 0) {
        m_prompts.Message(QStringLiteral("The archive has no mission %1 any more; its edits stay in the recovery "
                                         "file %2.")
                              .arg(name, FileName(entry.path)));
        return false;
    }
    {
        const QSignalBlocker blocker(m_cbMission);
        m_cbMission->setCurrentIndex(line);
    }
    OnSelchangeMission();
    if (!m_loadedMission)
        return false;
    const RecoveryHeader& loaded = m_session.Header();
    QStringList changed;
    if (loaded.recordsHash != wanted.recordsHash || loaded.rowCount != wanted.rowCount)
        changed << QStringLiteral("The items of %1 on disk are not the ones the edits were made on: the mission "
                                  "was saved by another program, or the archive was repacked or replaced since.")
                       .arg(name);
    if (loaded.catalogueHash != wanted.catalogueHash)
        changed << QStringLiteral("items.def is not the one the edits were made with.");
    if (!changed.isEmpty()) {
        changed << QStringLiteral("\nRestore the edits over the items as they are now anyway?");
        if (!m_prompts.AskYesNo(changed.join(QLatin1Char('\n'))))
            return false;
    }
    const RestoreResult restored = m_session.Restore(record);
    // The edits are in this editor's own file before the old one goes.
    m_session.FlushRecovery();
    RemoveRecoveryFile(entry.path);
    if (restored.skipped > 0)
        m_prompts.Message(QStringLiteral("%1 recovered row(s) lie past the end of %2 and were left out.")
                              .arg(restored.skipped)
                              .arg(name));
    return true;
}

} // namespace orvik

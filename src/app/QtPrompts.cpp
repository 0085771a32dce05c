#include "app/QtPrompts.h"

#include <QCoreApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QListWidget>
#include <QFormLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QSpinBox>

#include <algorithm>
#include <array>
#include <limits>

namespace orvik {

QString ApplicationName()
{
    const QString path = QCoreApplication::applicationFilePath();
    if (path.isEmpty())
        return QStringLiteral("orvik-editor");
    return QFileInfo(path).completeBaseName();
}

void QtPrompts::Message(const QString& text)
{
    QMessageBox box(QMessageBox::Information, ApplicationName(), text, QMessageBox::Ok, m_parent);
    box.exec();
}

void QtPrompts::FileErrorReport(const QString& text)
{
    QMessageBox box(QMessageBox::Critical, ApplicationName(), text, QMessageBox::Ok, m_parent);
    box.exec();
}

bool QtPrompts::AskYesNo(const QString& text)
{
    QMessageBox box(QMessageBox::Question, ApplicationName(), text, QMessageBox::Yes | QMessageBox::No, m_parent);
    // Discarding work should take a deliberate answer.
    box.setDefaultButton(QMessageBox::No);
    box.setEscapeButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

QString QtPrompts::OpenFile()
{
    // Qt's file dialog has no read-only check box to hide; an empty filter shows every file.
    return QFileDialog::getOpenFileName(m_parent, QCoreApplication::translate("QtPrompts", "Open"));
}

QString QtPrompts::OpenFile(const OpenFileHint& hint)
{
    if (hint.folder.isEmpty() && hint.recent.isEmpty())
        return OpenFile();
    // Qt's own dialog on every system, so that the recent archives can be listed inside it.
    QFileDialog dialog(m_parent, QCoreApplication::translate("QtPrompts", "Open"), hint.folder);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(QFileDialog::ExistingFile);
    if (!hint.selected.isEmpty() && QFileInfo(hint.selected).isFile())
        dialog.selectFile(hint.selected);
    if (!hint.recent.isEmpty()) {
        auto* list = new QListWidget(&dialog);
        list->setObjectName(QStringLiteral("recentArchives"));
        for (const QString& path : hint.recent) {
            const bool gone = !QFileInfo(path).isFile();
            auto* item = new QListWidgetItem(QDir::toNativeSeparators(path) + (gone ? QStringLiteral("  (gone)") : QString()), list);
            item->setData(Qt::UserRole, path);
            if (gone)
                item->setFlags(item->flags() & ~Qt::ItemIsEnabled);
        }
        list->setMaximumHeight(list->sizeHintForRow(0) * static_cast<int>(std::min<qsizetype>(hint.recent.size(), 5)) + 6);
        const auto choose = [&dialog](QListWidgetItem* item) {
            const QFileInfo file(item->data(Qt::UserRole).toString());
            dialog.setDirectory(file.absolutePath());
            dialog.selectFile(file.absoluteFilePath());
        };
        QObject::connect(list, &QListWidget::itemClicked, &dialog, choose);
        QObject::connect(list, &QListWidget::itemActivated, &dialog, [&dialog, choose](QListWidgetItem* item) {
            choose(item);
            static_cast<QDialog&>(dialog).accept(); // the file dialog's own check of the choice runs
        });
        if (auto* grid = qobject_cast<QGridLayout*>(dialog.layout())) {
            const int row = grid->rowCount();
            grid->addWidget(new QLabel(QCoreApplication::translate("QtPrompts", "Recent archives:"), &dialog), row, 0);
            grid->addWidget(list, row, 1, 1, grid->columnCount() - 1);
        }
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().constFirst();
}

RecoveryAnswer QtPrompts::AskRecovery(const QString& text)
{
    QMessageBox box(QMessageBox::Question, ApplicationName(), text, QMessageBox::NoButton, m_parent);
    QPushButton* restore = box.addButton(QStringLiteral("Restore"), QMessageBox::AcceptRole);
    QPushButton* discard = box.addButton(QStringLiteral("Discard"), QMessageBox::DestructiveRole);
    QPushButton* later = box.addButton(QStringLiteral("Later"), QMessageBox::RejectRole);
    // Getting the work back is one Enter; closing the box keeps the file for next time.
    box.setDefaultButton(restore);
    box.setEscapeButton(later);
    box.exec();
    if (box.clickedButton() == restore)
        return RecoveryAnswer::Restore;
    return box.clickedButton() == discard ? RecoveryAnswer::Discard : RecoveryAnswer::Later;
}

std::optional<MoveOffset> QtPrompts::AskMoveOffset(const QString& text)
{
    QDialog dialog(m_parent);
    dialog.setWindowTitle(ApplicationName());
    auto* form = new QFormLayout(&dialog);
    form->addRow(new QLabel(text, &dialog));
    std::array<QSpinBox*, 3> boxes{};
    const char* labels[] = {"dX", "dY", "dZ"};
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        boxes[i] = new QSpinBox(&dialog);
        boxes[i]->setRange(-std::numeric_limits<int>::max(), std::numeric_limits<int>::max());
        boxes[i]->setSingleStep(131072); // one map pixel
        boxes[i]->setMinimumWidth(120);
        form->addRow(QString::fromLatin1(labels[i]), boxes[i]);
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    form->addRow(buttons);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return MoveOffset{boxes[0]->value(), boxes[1]->value(), boxes[2]->value()};
}

} // namespace orvik

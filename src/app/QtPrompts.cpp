#include "app/QtPrompts.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

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

} // namespace orvik

#pragma once
// Prompts shown with Qt's message boxes and file dialog, captioned with the application name.
#include "app/Prompts.h"

#include <QPointer>
#include <QWidget>

namespace orvik {

// The executable's file name without its extension ("orvik-editor").
QString ApplicationName();

class QtPrompts : public Prompts {
public:
    explicit QtPrompts(QWidget* parent = nullptr) : m_parent(parent) {}
    void SetParent(QWidget* parent) { m_parent = parent; }

    void Message(const QString& text) override;
    void FileErrorReport(const QString& text) override;
    bool AskYesNo(const QString& text) override;
    QString OpenFile() override;
    QString OpenFile(const OpenFileHint& hint) override;
    std::optional<MoveOffset> AskMoveOffset(const QString& text) override;
    RecoveryAnswer AskRecovery(const QString& text) override;

private:
    QPointer<QWidget> m_parent;
};

} // namespace orvik

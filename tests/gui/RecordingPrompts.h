#pragma once
// A Prompts that shows nothing: it records every call in order and gives scripted answers.
#include "app/Prompts.h"

#include <QString>

#include <deque>
#include <functional>
#include <vector>

namespace orvik::test {

struct PromptCall {
    enum class Kind { Message, FileErrorReport, Question, OpenFile, MoveOffset, Recovery };
    Kind kind;
    QString text; // empty for OpenFile
};

class RecordingPrompts : public Prompts {
public:
    void Message(const QString& text) override { Record(PromptCall::Kind::Message, text); }
    void FileErrorReport(const QString& text) override { Record(PromptCall::Kind::FileErrorReport, text); }
    bool AskYesNo(const QString& text) override
    {
        Record(PromptCall::Kind::Question, text);
        if (answers.empty())
            return false;
        const bool answer = answers.front();
        answers.pop_front();
        return answer;
    }
    QString OpenFile() override
    {
        Record(PromptCall::Kind::OpenFile, QString());
        return openFileAnswer;
    }
    QString OpenFile(const OpenFileHint& hint) override
    {
        openFileHint = hint;
        return OpenFile();
    }

    std::optional<MoveOffset> AskMoveOffset(const QString& text) override
    {
        Record(PromptCall::Kind::MoveOffset, text);
        return moveAnswer;
    }

    RecoveryAnswer AskRecovery(const QString& text) override
    {
        Record(PromptCall::Kind::Recovery, text);
        if (recoveryAnswers.empty())
            return RecoveryAnswer::Later;
        const RecoveryAnswer answer = recoveryAnswers.front();
        recoveryAnswers.pop_front();
        return answer;
    }

    // Texts of the calls of one kind, in order.
    std::vector<QString> Texts(PromptCall::Kind kind) const
    {
        std::vector<QString> texts;
        for (const PromptCall& call : calls)
            if (call.kind == kind)
                texts.push_back(call.text);
        return texts;
    }
    void Clear() { calls.clear(); }

    std::vector<PromptCall> calls;
    std::deque<bool> answers;                      // for AskYesNo; No when none is left
    QString openFileAnswer;                        // "" means cancelled
    OpenFileHint openFileHint;                     // where the last file dialog would have started
    std::optional<MoveOffset> moveAnswer;          // none means cancelled
    std::deque<RecoveryAnswer> recoveryAnswers;    // Later when none is left
    std::function<void(const PromptCall&)> onCall; // looks at the dialog while a prompt is up

private:
    void Record(PromptCall::Kind kind, const QString& text)
    {
        calls.push_back({kind, text});
        if (onCall)
            onCall(calls.back());
    }
};

} // namespace orvik::test

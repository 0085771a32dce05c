#pragma once
// The exerciser's Prompts: shows nothing, answers each question from the running action's bits,
// and keeps what was said during that action.
#include "app/Prompts.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace orvik::exercise {

class ScriptedPrompts : public Prompts {
public:
    void Message(const QString& text) override { Note(text); }
    void FileErrorReport(const QString& text) override
    {
        fileErrors.push_back(text);
        Note(text);
    }
    bool AskYesNo(const QString& text) override
    {
        Note(text);
        return (answers >> (asked++ % 32)) & 1u;
    }
    QString OpenFile() override { return (answers >> (asked++ % 32)) & 1u ? openFileAnswer : QString(); }
    // Small moves, far moves that clamp at the 32-bit edge, or Cancel; negative, zero or positive.
    std::optional<MoveOffset> AskMoveOffset(const QString& text) override
    {
        Note(text);
        const std::uint32_t bits = answers >> (asked++ % 32);
        if ((bits & 3u) == 0)
            return std::nullopt;
        const std::int64_t scale = (bits & 3u) == 3 ? 1'500'000'000 : 4096;
        // Signed: each of -2 to 2 steps (dZ -1 to 1), so that moves go both ways and stay still.
        const auto steps = [bits](int shift, std::uint32_t span) {
            return static_cast<std::int64_t>((bits >> shift) % span) - static_cast<std::int64_t>(span / 2);
        };
        return MoveOffset{steps(2, 5) * scale, steps(5, 5) * scale, steps(8, 3) * 100};
    }

    RecoveryAnswer AskRecovery(const QString& text) override
    {
        Note(text);
        static constexpr RecoveryAnswer kAnswers[] = {RecoveryAnswer::Restore, RecoveryAnswer::Discard,
                                                      RecoveryAnswer::Later};
        recoveryAnswers.push_back(kAnswers[(answers >> (asked++ % 32)) % 3u]);
        return recoveryAnswers.back();
    }

    // Before each action: its answers, and nothing said yet.
    void Begin(std::uint32_t bits)
    {
        answers = bits;
        asked = 0;
        said.clear();
        fileErrors.clear();
        recoveryAnswers.clear();
    }
    bool Said(const QString& text) const
    {
        for (const QString& s : said)
            if (s.contains(text))
                return true;
        return false;
    }

    std::vector<QString> said;       // messages and questions of the running action
    std::vector<QString> fileErrors; // file error reports of the running action
    std::vector<RecoveryAnswer> recoveryAnswers; // the offers of edits answered in the running action
    QString openFileAnswer;
    std::function<void()> onPrompt; // looks at the dialog while the first prompt of an action is up

private:
    void Note(const QString& text)
    {
        said.push_back(text);
        if (said.size() == 1 && onPrompt)
            onPrompt();
    }

    std::uint32_t answers = 0;
    unsigned asked = 0;
};

} // namespace orvik::exercise

#pragma once
// Region mode: the user selects regions at the CAD program's own mass-properties prompt, once or
// pass after pass while the continuous box is checked.

#include <cstdint>
#include <optional>
#include <string>

#include "run/run_context.h"

namespace app {

class RegionRun : public ModeRun {
public:
    explicit RegionRun(RunContext& run) : run_(run) {}

    ModeNext Perform(int step) override;
    bool Seen(const Look& look) override;
    void Postpone(std::uint64_t busyMs) override { passStart_ += busyMs; }

    // A question still shown after its answer is answered again only this much later: a host that
    // handles input at once asks again, a late one has not read the answer yet.
    static constexpr std::uint64_t kRepeatAnswerMs = 200;

private:
    enum Step { Begin, AskDrawing, BeginGroup, ChangeDrawing, AskFileDialogs, StartPass, EndPass };

    ModeNext BeginRun();
    ModeNext AskAboutDrawing();
    // Each pass is its own undo group (one U takes back one circle and its regions), or part of
    // the user's own group.
    ModeNext NextGroup();
    ModeNext StartThePass();
    ModeNext EndThePass();
    // Answers the questions of the mass-properties command on one prompt, and the next ones the
    // host shows at once; returns the prompt it stopped at.
    std::u16string AnswerQuestions(std::u16string prompt);

    RunContext& run_;
    platform::WindowHandle historyPane_ = 0;
    // Each pass after the first takes the last line the pass before it read as its baseline: the
    // lines that the settings and the circle add in between are never a command's cancel.
    std::optional<std::u16string> passHistoryBefore_;
    std::u16string historyBefore_;
    std::u16string reportPath_;
    std::optional<std::uint64_t> reportBefore_;
    // The selection's looks.
    std::uint64_t passStart_ = 0;
    bool firstLook_ = true;
    bool started_ = false;
    bool selectionLate_ = false;
    bool historyLooked_ = false;
    std::uint64_t historyLookedAt_ = 0;
    std::u16string answered_;
    std::uint64_t answeredAt_ = 0;
};

}  // namespace app

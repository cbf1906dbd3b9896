#pragma once
// Face-centre mode: the user picks a point inside a closed area; the CAD program makes a region
// of the boundary there and measures it; the circle goes to the region's centroid.

#include <cstdint>
#include <optional>
#include <string>

#include "run/run_context.h"

namespace app {

class FaceCentreRun : public ModeRun {
public:
    explicit FaceCentreRun(RunContext& run) : run_(run) {}

    ModeNext Perform(int step) override;
    bool Seen(const Look& look) override;
    void Postpone(std::uint64_t busyMs) override;

    // A host that takes typed input late still shows the idle prompt for a while: a wait ends on
    // it only on evidence that the command ran, or after this long.
    static constexpr std::uint64_t kLateHostMs = 10000;
    // How often the history is looked at while a late host has shown nothing of the pick yet:
    // every look at it is a clipboard exchange.
    static constexpr std::uint64_t kHistoryLookMs = 250;

private:
    enum Step {
        OpenGroup,
        AskForPick,
        JudgePick,
        UsePoint,
        UseBoundaryKind,
        Measure,
        AnswerReplace,
        DrawCircle,
        PutSettingsBack
    };
    // What the wait that is on looks for.
    enum class Watch { Pick, Report, ReplaceAnswered };

    ModeNext Ask();
    ModeNext Judge();
    ModeNext Use();
    ModeNext UseKind();
    ModeNext MeasureAtPoint();
    ModeNext Replace();
    ModeNext Draw();
    ModeNext PutBack();
    bool PickOver(const Look& look);
    bool ReportWritten(const Look& look);

    RunContext& run_;
    Watch watch_ = Watch::Pick;
    std::uint64_t watchStart_ = 0;
    // The pick: the history's last line before it, and what the looks saw of it.
    std::string historyBefore_;
    bool firstLook_ = true;
    bool sawCommand_ = false;
    bool lateHost_ = true;  // the host did not show the pick prompt inside the send
    bool historyLooked_ = false;
    std::uint64_t historyLookedAt_ = 0;
    std::string pickLine_;
    bool pickInHistory_ = false;
    // The measurement.
    std::string pointX_, pointY_;
    std::u16string reportPath_;
    std::optional<std::uint64_t> reportBefore_;
    bool boundaryMakesRegion_ = false;
    bool sawQuestion_ = false;
};

}  // namespace app

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

private:
    enum Step {
        AskDrawing,
        BeginGroup,
        ChangeDrawing,
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

    ModeNext AskAboutDrawing();
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
    // The massprop record has been read to its end without a report: the report's name, typed
    // after it, reached the idle command line.
    bool MeasuredNothing();

    RunContext& run_;
    Watch watch_ = Watch::Pick;
    std::uint64_t watchStart_ = 0;
    // The pick: the history's last line before it, and what the looks saw of it.
    std::u16string historyBefore_;
    bool firstLook_ = true;
    bool sawCommand_ = false;
    bool lateHost_ = true;  // the host did not show the pick prompt inside the send
    bool historyLooked_ = false;
    std::uint64_t historyLookedAt_ = 0;
    std::u16string pickLine_;
    bool pickInHistory_ = false;
    // The measurement.
    std::u16string pointX_, pointY_;
    std::u16string reportPath_;
    std::optional<std::uint64_t> reportBefore_;
    bool boundaryMakesRegion_ = false;
    bool sawQuestion_ = false;
    std::uint64_t reportHistoryAt_ = 0;
};

}  // namespace app

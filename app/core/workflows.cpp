#include "workflows.h"

#include "cad_numbers.h"
#include "cadlink/text_lines.h"
#include "framework/exceptions.h"
#include "platform/abort.h"
#include "report_bounds.h"

namespace app {
namespace {

const char kIdlePrompt[] = "コマンド: ";
const char kCancelled[] = "キャンセル";
const char kAskWrite[] = "書き出しますか";
const char kAskReplace[] = "置き換えますか";
const char kAskFileName[] = "ファイル名を入力";
const char kFaceCentreHint[] = "計算したい面の内側をクリック";
const char kRegionHint[] = "基データを選択";
const char kSizeMissing[] = "円の大きさが入力されていません";

// Every command but a reply begins with Ctrl+C, so that whatever the CAD program still does ends first.
const char kCancel[] = "\x03";
const char16_t kCancelOnly[] = u"\x03";
const char16_t kPickPoint[] = u"\x03ID ";
const char16_t kRegionFromLast[] = u"\x03_region L \r";
const char16_t kMassPropBySelection[] = u"\x03_massprop\r";
const char16_t kFileDialogsOn[] =
    u"\x03"
    u"FILEDIA 1\r";
const char16_t kFileDialogsOff[] =
    u"\x03"
    u"FILEDIA 0\r";
const char16_t kFileDialogsOffTwice[] =
    u"\x03\x03"
    u"FILEDIA 0\r";
const char16_t kYes[] = u"Y\r";
const char16_t kBoundaryMakesRegions[] =
    u"\x03"
    u"HPBOUND 0\r";

bool Contains(const std::string& text, const char* part) {
    return text.find(part) != std::string::npos;
}

// A prompt other than the idle one: the command waited for has started.
bool ShowsCommand(const std::string& prompt) {
    return !prompt.empty() && prompt != kIdlePrompt;
}

// A cancel other than the one of a Ctrl+C typed at the idle prompt, which a late host prints
// between the parts of a record before it reaches the command.
bool IsCommandCancel(const std::string& line) {
    return Contains(line, kCancelled) && line.rfind(cadlink::Trim(kIdlePrompt), 0) != 0;
}

// Whether a history line shows that the user ended a command since baseline was the last line.
bool ShowsUserEnd(const std::string& line, const std::string& baseline) {
    return line != baseline && (Contains(line, "X") || IsCommandCancel(line));
}

}  // namespace

std::string SplitFirst(std::string& text) {
    text = cadlink::Trim(text);
    const std::size_t comma = text.find(',');
    std::string item;
    if (comma == std::string::npos) {
        item.swap(text);
    } else {
        item = text.substr(0, comma);
        text.erase(0, comma + 1);
    }
    return item;
}

bool IsTypeableValue(const std::string& value) {
    for (char c : value) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte <= 32 || byte == 0x7F)
            return false;
    }
    return true;
}

std::string TrimSpaces(const std::string& text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos)
        return std::string();
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

void CentroidWorkflows::CheckFitsRecord(const std::string& command) {
    if (!link_.FitsRecord(system_.AnsiToWide(command)))
        throw framework::EInOutError("作業フォルダ " + paths_.WorkFolder() + " のパスが長すぎます");
}

void CentroidWorkflows::ClearLabels() {
    host_.ShowArea("");
    host_.ShowPerimeter("");
}

std::string QuotedIfBlank(const std::string& text) {
    return text.find(' ') == std::string::npos ? text : "\"" + text + "\"";
}

// Marks a run as active and, on every way out of it, puts back the CAD settings the run changed
// (file dialogs, the boundary kind) and gives the main window back its normal state.
class CentroidWorkflows::RunScope {
public:
    explicit RunScope(CentroidWorkflows& owner) : owner_(owner) { owner_.running_ = true; }
    ~RunScope() {
        try {
            owner_.PutBackCadSettings();
        } catch (...) {
            // Nothing leaves a destructor; the window still comes back below.
        }
        if (minimized_)
            owner_.host_.SetMinimized(false);
        owner_.running_ = false;
    }
    RunScope(const RunScope&) = delete;
    RunScope& operator=(const RunScope&) = delete;

    void Minimize() {
        owner_.host_.SetMinimized(true);
        minimized_ = true;
    }

private:
    CentroidWorkflows& owner_;
    bool minimized_ = false;
};

void CentroidWorkflows::PutBackCadSettings() {
    if (!running_)
        return;
    const bool changed = fileDialogsOff_ || !boundaryKind_.empty();
    if (changed && link_.Discovery().IsCadReady()) {
        // Even a CAD program that stopped answering gets the settings back, should it wake.
        link_.ExpectAnswers();
        if (fileDialogsOff_)
            Send(kFileDialogsOn);
        RestoreBoundaryKind();
    }
    fileDialogsOff_ = false;
    boundaryKind_.clear();
    // A command the run typed that still asks for input (a pick nobody made, a value the CAD
    // program refused) would take the user's next click in the drawing: one Ctrl+C ends it.
    if (link_.Answering() && link_.Discovery().IsCadReady()) {
        const Look look = LookAtHost();
        if (!look.gone && !look.prompt.empty() && look.prompt != kIdlePrompt)
            Send(kCancelOnly);
    }
}

void CentroidWorkflows::LetTheClickSettle() {
    const unsigned doubleClickMs = host_.DoubleClickTimeMs();
    std::uint64_t quietSince = host_.NowMs();
    for (;;) {
        const std::uint64_t now = host_.NowMs();
        if (host_.MouseButtonsDown())
            quietSince = now;
        else if (now - quietSince >= doubleClickMs)
            return;
        host_.HandleMessagesFor(kLookIntervalMs);
        if (host_.StopRequested())
            platform::Abort();
    }
}

void CentroidWorkflows::ProcessMessages() {
    host_.ProcessMessages();
    if (host_.StopRequested())
        platform::Abort();
}

CentroidWorkflows::Look CentroidWorkflows::LookAtHost() {
    Look look;
    const platform::WindowHandle promptWindow = link_.Discovery().FindPromptWindow();
    if (promptWindow)
        look.prompt = link_.ReadWindowText(promptWindow);
    // A prompt that reads empty for a moment (the host redrawing it) is no sign of anything.
    look.gone = !promptWindow || !link_.Answering();
    return look;
}

CentroidWorkflows::Look CentroidWorkflows::WaitFor(const std::function<bool(const Look&)>& done,
                                                   std::uint64_t limitMs) {
    const std::uint64_t start = host_.NowMs();
    for (;;) {
        Look look = LookAtHost();
        if (done(look) || host_.NowMs() - start >= limitMs)
            return look;
        if (fixedSleepMs_ > 0) {
            host_.Sleep(fixedSleepMs_);
            host_.ProcessMessages();
        } else {
            host_.HandleMessagesFor(kLookIntervalMs);
        }
        if (host_.StopRequested())
            platform::Abort();
    }
}

void CentroidWorkflows::SwitchFileDialogs(bool on) {
    // Switched on only once the command went out: otherwise the run guard tries again.
    if (Send(on ? kFileDialogsOn : kFileDialogsOff) || !on)
        fileDialogsOff_ = !on;
}

std::string CentroidWorkflows::QuerySysVar(const std::string& name) {
    std::string value = link_.QuerySysVar(name);
    if (!value.empty() || !lateHost_)
        return value;
    // A late host reaches the query after the link has looked: its prompt shows the value then.
    const Look look = WaitFor(
        [&](const Look& seen) { return seen.gone || !cadlink::ValueShownFor(seen.prompt, name).empty(); }, kLateHostMs);
    value = cadlink::ValueShownFor(look.prompt, name);
    if (!value.empty())
        Send(kCancelOnly);  // leave the prompt that shows the value
    return value;
}

bool CentroidWorkflows::SwitchBoundaryToRegions() {
    const std::string kind = QuerySysVar("HPBOUND");
    if (kind.empty() || !IsTypeableValue(kind))
        return false;
    if (kind != "0") {
        boundaryKind_ = kind;
        Send(kBoundaryMakesRegions);
    }
    return true;
}

void CentroidWorkflows::RestoreBoundaryKind() {
    if (!boundaryKind_.empty() && SendAssembled(std::string(kCancel) + "HPBOUND " + boundaryKind_ + "\r"))
        boundaryKind_.clear();
}

std::optional<std::string> CentroidWorkflows::ReadFreshReport(const std::string& path,
                                                              std::optional<std::uint64_t> before) {
    // A report this run did not write belongs to an earlier measurement: its centroid is not ours.
    const std::optional<std::uint64_t> now = host_.FileVersion(path);
    if (!now || (before && *before == *now))
        return std::nullopt;
    return host_.ReadReportFile(path);
}

void CentroidWorkflows::FaceCentre() {
    if (running_)
        return;
    if (host_.SizeText().empty()) {
        host_.ShowMessage(kSizeMissing);
        return;
    }
    CheckedRadius(cadlink::Trim(host_.SizeText()), host_.SizeText());
    if (!link_.ActivateCad()) {
        host_.ShowCadMissing();
        return;
    }
    if (link_.ReadPrompt().empty())
        return;
    const std::string measure =
        std::string(kCancel) + "_massprop LAST \rY\r" + QuotedIfBlank(paths_.ReportStem()) + "\r";
    CheckFitsRecord(measure);

    RunScope run(*this);
    ClearLabels();
    LetTheClickSettle();
    run.Minimize();
    const platform::WindowHandle historyPane = link_.Discovery().FindHistoryPane();
    ProcessMessages();

    // The history's last line before the pick: a late host that has handled nothing yet still
    // shows an older pick or cancel there.
    const std::string historyBefore = link_.LastHistoryLine();
    Send(kPickPoint);
    if (historyPane)
        host_.DrawHint(historyPane, kFaceCentreHint);
    // The pick is over once the host, having shown the pick prompt, is idle again. A late host
    // shows its idle prompt before it has taken the command (between its Ctrl+C and "ID" too);
    // a user quicker than the looks leaves only the history to show the pick.
    bool sawCommand = false;
    bool pickInHistory = false;
    std::string pickLine;
    bool firstLook = true;
    lateHost_ = true;
    const std::uint64_t pickStart = host_.NowMs();
    std::uint64_t historyLookedAt = 0;
    bool historyLooked = false;
    WaitFor(
        [&](const Look& look) {
            if (look.gone)
                return true;
            if (ShowsCommand(look.prompt)) {
                lateHost_ = lateHost_ && !firstLook;
                firstLook = false;
                sawCommand = true;
                return false;
            }
            firstLook = false;
            if (look.prompt != kIdlePrompt)
                return false;
            if (sawCommand)
                return true;
            const std::uint64_t now = host_.NowMs();
            if (now - pickStart >= kLateHostMs)
                return true;
            if (!historyLooked || now - historyLookedAt >= kHistoryLookMs) {
                historyLooked = true;
                historyLookedAt = now;
                pickLine = link_.LastHistoryLine();
                pickInHistory = ShowsUserEnd(pickLine, historyBefore);
            }
            return pickInHistory;
        },
        kWaitLimitMs);
    // A run that stops here leaves a host that may still take the pick command later idle.
    const auto stopPicking = [&] {
        if (!sawCommand)
            Send(kCancelOnly);
    };

    // The line that showed the pick is still the last: the host is idle.
    const std::string lastLine = pickInHistory ? pickLine : link_.LastHistoryLine();
    if (Contains(lastLine, kCancelled) || !Contains(lastLine, "X")) {
        stopPicking();
        return;
    }
    std::string point = QuerySysVar("LASTPOINT");
    const std::string pointX = SplitFirst(point);
    const std::string pointY = SplitFirst(point);
    // Without a usable point the boundary would make nothing and "_region L" would turn the
    // user's last object into a region: stop as after a cancelled pick.
    if (!IsCadNumber(pointX) || !IsCadNumber(pointY)) {
        Send(kCancelOnly);  // a late host has the query still to come: it must not stay at its prompt
        return;
    }

    const std::string reportPath = paths_.ReportPath();
    const std::optional<std::uint64_t> reportBefore = host_.FileVersion(reportPath);
    const bool boundaryMakesRegion = SwitchBoundaryToRegions();
    SwitchFileDialogs(false);
    SendAssembled(std::string(kCancel) + "-BOUNDARY " + pointX + "," + pointY + " " + "\r");
    if (!boundaryMakesRegion)
        Send(kRegionFromLast);
    SendAssembled(measure);

    // What ends this wait is the host's word about this command: the report rewritten, its
    // questions seen and then the idle prompt, or the replace question. An idle prompt alone may be
    // one that a late host shows between the records, or between the parts of one. The first look
    // comes at once: a host that handles input inside the send may have asked to replace already.
    bool sawQuestion = false;
    const std::uint64_t reportStart = host_.NowMs();
    Look look = WaitFor(
        [&](const Look& seen) {
            if (seen.gone || Contains(seen.prompt, kAskReplace))
                return true;
            if (Contains(seen.prompt, kAskWrite) || Contains(seen.prompt, kAskFileName))
                sawQuestion = true;
            if (seen.prompt != kIdlePrompt)
                return false;
            return sawQuestion || host_.FileVersion(reportPath) != reportBefore ||
                   host_.NowMs() - reportStart >= kLateHostMs;
        },
        kWaitLimitMs);
    if (Contains(look.prompt, kAskReplace)) {
        Send(kYes);
        // The report is complete once the host has handled the answer and left the question.
        WaitFor([](const Look& seen) { return seen.gone || seen.prompt == kIdlePrompt; }, kWaitLimitMs);
    }
    SwitchFileDialogs(true);
    RestoreBoundaryKind();

    const std::optional<std::string> report = ReadFreshReport(reportPath, reportBefore);
    // When -BOUNDARY found nothing, "_massprop LAST" measured an older object: its box is elsewhere.
    if (!report || !ReportBoxHolds(*report, pointX, pointY))
        return;
    const ReportValues values = ParseReport(*report, ReportVariant::FaceCentre, host_, host_.DecimalSeparator());
    if (!IsCadNumber(values.centroidX) || !IsCadNumber(values.centroidY))
        return;
    // The box may have been changed during the run.
    const std::string radius = CheckedRadius(cadlink::Trim(host_.SizeText()), host_.SizeText());
    if (SendAssembled(std::string(kCancel) + "CIRCLE " + values.centroidX + "," + values.centroidY + " " + radius +
                      "\r"))
        host_.MeasurementDrawn(MeasurementAsShown(ReportVariant::FaceCentre, values, radius, host_.DecimalSeparator()));
}

void CentroidWorkflows::Region() {
    if (running_)
        return;
    const std::string size = host_.SizeText();
    if (size.empty()) {
        host_.ShowMessage(kSizeMissing);
        return;
    }
    CheckedRadius(TrimSpaces(size), size);
    if (!link_.ActivateCad()) {
        host_.ShowCadMissing();
        return;
    }
    CheckFitsRecord(QuotedIfBlank(paths_.ReportPath()) + "\r");

    RunScope run(*this);
    ClearLabels();
    LetTheClickSettle();
    run.Minimize();
    historyPane_ = link_.Discovery().FindHistoryPane();
    ProcessMessages();

    // Each pass after the first takes the last line the pass before it read as its baseline: the
    // lines that the settings and the circle add in between are never a command's cancel, and a
    // second read of the whole history in every pass made each pass cost more as the history grew.
    std::optional<std::string> historyBefore;
    std::string centroidX;
    do {
        const RegionPassResult pass = RegionPass(paths_.ReportPath(), historyBefore);
        historyBefore = pass.lastLine;
        centroidX = pass.values.centroidX;
        if (!IsCadNumber(pass.values.centroidX) || !IsCadNumber(pass.values.centroidY))
            centroidX.clear();  // only numbers the CAD program takes are typed as the centre
        if (pass.reportRead && !centroidX.empty()) {
            // Read afresh for every circle: a size changed during the run is checked again. Blanks
            // around it are not typed: the Enter after a blank would start the circle command again.
            const std::string size = host_.SizeText();
            const std::string radius = CheckedRadius(TrimSpaces(size), size);
            if (SendAssembled(std::string(kCancel) + "CIRCLE " + centroidX + "," + pass.values.centroidY + " " +
                              radius + "\r"))
                host_.MeasurementDrawn(
                    MeasurementAsShown(ReportVariant::Region, pass.values, radius, host_.DecimalSeparator()));
        }
    } while (host_.ContinuousChecked() && !centroidX.empty());
}

std::string CentroidWorkflows::AnswerMasspropQuestions(std::string prompt, const std::string& reportPath) {
    for (;;) {
        bool answered = false;
        if (Contains(prompt, kAskWrite)) {
            Send(kYes);
            answered = true;
        }
        if (Contains(prompt, kAskReplace)) {
            Send(kYes);
            answered = true;
        }
        if (Contains(prompt, kAskFileName)) {
            SendAssembled(QuotedIfBlank(reportPath) + "\r");
            answered = true;
        }
        if (!answered)
            return prompt;
        // A host that handles input inside the send shows its next question at once: answer it
        // without waiting. An unchanged prompt is still the one answered, so it waits for the next look.
        std::string next = link_.ReadPrompt();
        if (next == prompt)
            return prompt;
        prompt = std::move(next);
    }
}

RegionPassResult CentroidWorkflows::RegionPass(const std::string& reportPath,
                                               const std::optional<std::string>& knownHistoryBefore) {
    RegionPassResult result;
    const std::optional<std::uint64_t> reportBefore = host_.FileVersion(reportPath);
    const std::string historyBefore = knownHistoryBefore ? *knownHistoryBefore : link_.LastHistoryLine();
    fileDialogsOff_ = true;
    Send(kFileDialogsOffTwice);
    Send(kMassPropBySelection);
    if (historyPane_ && link_.Discovery().IsLive(historyPane_))
        host_.DrawHint(historyPane_, kRegionHint);

    // The selection waits for the user, so a host that handles input inside the send shows it at
    // the first look, and its questions come back answered or changed at once. A late host shows
    // its idle prompt until it reaches the command, and still shows a question it has not read the
    // answer to: that is not asked again yet.
    const std::uint64_t passStart = host_.NowMs();
    bool started = false;
    bool lateHost = false;
    bool firstLook = true;
    bool historyLooked = false;
    std::uint64_t historyLookedAt = 0;
    std::string answered;
    std::uint64_t answeredAt = 0;
    WaitFor(
        [&](const Look& look) {
            const bool first = firstLook;
            firstLook = false;
            if (look.gone)
                return true;
            const std::uint64_t now = host_.NowMs();
            if (look.prompt == kIdlePrompt) {
                lateHost = lateHost || first;
                if (started || now - passStart >= kLateHostMs)
                    return true;
                // A quick user may have cancelled the selection before any look saw it.
                if (historyLooked && now - historyLookedAt < kHistoryLookMs)
                    return false;
                historyLooked = true;
                historyLookedAt = now;
                const std::string line = link_.LastHistoryLine();
                return ShowsUserEnd(line, historyBefore) && IsCommandCancel(line);
            }
            if (!ShowsCommand(look.prompt))
                return false;
            started = true;
            if (look.prompt == answered && now - answeredAt < (lateHost ? kLateHostMs : kRepeatAnswerMs))
                return false;
            answered = AnswerMasspropQuestions(look.prompt, reportPath);
            answeredAt = now;
            return answered == kIdlePrompt;
        },
        kWaitLimitMs);
    result.lastLine = link_.LastHistoryLine();
    SwitchFileDialogs(true);
    if (IsCommandCancel(result.lastLine))
        return result;
    const std::optional<std::string> report = ReadFreshReport(reportPath, reportBefore);
    if (report) {
        result.reportRead = true;
        result.values = ParseReport(*report, ReportVariant::Region, host_, host_.DecimalSeparator());
    }
    return result;
}

}  // namespace app

#include "workflows.h"

#include "cadlink/text_lines.h"
#include "platform/abort.h"

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

bool Contains(const std::string& text, const char* part) {
    return text.find(part) != std::string::npos;
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

// Marks a run as active and, on every way out of it, switches file dialogs back on if the run
// switched them off and gives the main window back its normal state.
class CentroidWorkflows::RunScope {
public:
    explicit RunScope(CentroidWorkflows& owner) : owner_(owner) { owner_.running_ = true; }
    ~RunScope() {
        if (owner_.fileDialogsOff_ && owner_.link_.Discovery().IsCadReady())
            owner_.Send(kFileDialogsOn);
        owner_.fileDialogsOff_ = false;
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

std::string CentroidWorkflows::Poll() {
    host_.Sleep(kPollIntervalMs);
    host_.ProcessMessages();
    if (host_.StopRequested())
        platform::Abort();
    return link_.ReadPrompt();
}

void CentroidWorkflows::SwitchFileDialogs(bool on) {
    fileDialogsOff_ = !on;
    Send(on ? kFileDialogsOn : kFileDialogsOff);
}

bool CentroidWorkflows::ReadFreshReport(const std::string& path,
                                        std::optional<std::uint64_t> before,
                                        ReportVariant variant,
                                        ReportValues& values) {
    // A report this run did not write belongs to an earlier measurement: its centroid is not ours.
    const std::optional<std::uint64_t> now = host_.FileVersion(path);
    if (!now || (before && *before == *now))
        return false;
    const std::optional<std::string> content = host_.ReadReportFile(path);
    if (!content)
        return false;
    values = ParseReport(*content, variant, host_, host_.DecimalSeparator());
    return true;
}

void CentroidWorkflows::FaceCentre() {
    if (running_)
        return;
    if (host_.SizeText().empty()) {
        host_.ShowMessage(kSizeMissing);
        return;
    }
    if (!link_.ActivateCad())
        return;
    if (link_.ReadPrompt().empty())
        return;

    RunScope run(*this);
    run.Minimize();
    const platform::WindowHandle historyPane = link_.Discovery().FindHistoryPane();
    host_.ProcessMessages();

    Send(kPickPoint);
    if (historyPane)
        host_.DrawHint(historyPane, kFaceCentreHint);
    for (int poll = 0; poll < kPollLimit; ++poll) {
        const std::string prompt = Poll();
        if (prompt == kIdlePrompt || prompt.empty())
            break;
    }

    const std::string lastLine = link_.LastHistoryLine();
    if (Contains(lastLine, kCancelled) || !Contains(lastLine, "X"))
        return;
    std::string point = link_.QuerySysVar("LASTPOINT");
    const std::string pointX = SplitFirst(point);
    const std::string pointY = SplitFirst(point);
    // Without a usable point the boundary would make nothing and "_region L" would turn the
    // user's last object into a region: stop as after a cancelled pick.
    if (pointX.empty() || pointY.empty() || !IsTypeableValue(pointX) || !IsTypeableValue(pointY))
        return;

    const std::string reportPath = paths_.ReportPath();
    const std::optional<std::uint64_t> reportBefore = host_.FileVersion(reportPath);
    SwitchFileDialogs(false);
    SendAssembled(std::string(kCancel) + "-BOUNDARY " + pointX + "," + pointY + " " + "\r");
    Send(kRegionFromLast);
    SendAssembled(std::string(kCancel) + "_massprop LAST \rY\r" + paths_.ReportStem() + "\r");

    std::string prompt;
    for (int poll = 0; poll < kPollLimit; ++poll) {
        prompt = Poll();
        if (prompt == kIdlePrompt || prompt.empty() || Contains(prompt, kAskReplace))
            break;
    }
    if (Contains(prompt, kAskReplace)) {
        Send(kYes);
        // The report is complete only once the host has handled the answer; a host that handles
        // input inside the send already has, so look before waiting.
        prompt = link_.ReadPrompt();
        for (int poll = 0; poll < kPollLimit && prompt != kIdlePrompt && !prompt.empty(); ++poll)
            prompt = Poll();
    }
    SwitchFileDialogs(true);

    ReportValues values;
    if (!ReadFreshReport(reportPath, reportBefore, ReportVariant::FaceCentre, values))
        return;
    if (!values.centroidX.empty() && IsTypeableValue(values.centroidX) && IsTypeableValue(values.centroidY))
        SendAssembled(std::string(kCancel) + "CIRCLE " + values.centroidX + "," + values.centroidY + " " +
                      cadlink::Trim(host_.SizeText()) + "\r");
}

void CentroidWorkflows::Region() {
    if (running_)
        return;
    const std::string size = host_.SizeText();
    if (size.empty()) {
        host_.ShowMessage(kSizeMissing);
        return;
    }
    FormatTwoDecimals(size, host_.DecimalSeparator());  // only a check: throws for a text that is no number
    if (!link_.ActivateCad())
        return;

    RunScope run(*this);
    run.Minimize();
    historyPane_ = link_.Discovery().FindHistoryPane();
    host_.ProcessMessages();

    std::string centroidX;
    do {
        const RegionPassResult pass = RegionPass(paths_.ReportPath());
        centroidX = pass.values.centroidX;
        if (!IsTypeableValue(pass.values.centroidX) || !IsTypeableValue(pass.values.centroidY))
            centroidX.clear();  // nothing from the report is typed that could run as a command
        if (pass.reportRead && !centroidX.empty())
            SendAssembled(std::string(kCancel) + "CIRCLE " + centroidX + "," + pass.values.centroidY + " " +
                          host_.SizeText() + "\r");
    } while (host_.ContinuousChecked() && !centroidX.empty());
}

bool CentroidWorkflows::AnswerMasspropQuestions(std::string prompt, const std::string& reportPath) {
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
            SendAssembled(reportPath + "\r");
            answered = true;
        }
        if (prompt == kIdlePrompt || prompt.empty())
            return true;
        if (!answered)
            return false;
        // A host that handles input inside the send shows its next question at once: answer it
        // without waiting. An unchanged prompt is still the one answered, so it waits for the poll.
        std::string next = link_.ReadPrompt();
        if (next == prompt)
            return false;
        prompt = std::move(next);
    }
}

RegionPassResult CentroidWorkflows::RegionPass(const std::string& reportPath) {
    RegionPassResult result;
    const std::optional<std::uint64_t> reportBefore = host_.FileVersion(reportPath);
    fileDialogsOff_ = true;
    Send(kFileDialogsOffTwice);
    Send(kMassPropBySelection);
    if (historyPane_ && link_.Discovery().IsLive(historyPane_))
        host_.DrawHint(historyPane_, kRegionHint);

    for (int poll = 0; poll < kPollLimit; ++poll) {
        if (AnswerMasspropQuestions(Poll(), reportPath))
            break;
    }
    const std::string lastLine = link_.LastHistoryLine();
    SwitchFileDialogs(true);
    if (Contains(lastLine, kCancelled))
        return result;
    result.reportRead = ReadFreshReport(reportPath, reportBefore, ReportVariant::Region, result.values);
    return result;
}

}  // namespace app

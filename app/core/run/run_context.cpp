#include "run/run_context.h"

#include "cad_numbers.h"
#include "cadlink/text_lines.h"
#include "results_table.h"
#include "platform/text_trim.h"

namespace app {

bool ShowsCommand(const std::string& prompt) {
    return !prompt.empty() && prompt != kIdlePrompt;
}

bool IsUndoPrompt(const std::string& prompt) {
    return Contains(prompt, "(BE)") || Contains(prompt, "UNDO");
}

bool IsCommandCancel(const std::string& line) {
    // UNDO's control question, cancelled by the run itself, may reach the history of a late host
    // after the run took its last line: it is no end the user made.
    return Contains(line, kCancelled) &&
           line.rfind(std::string(platform::Trim(std::string_view(kIdlePrompt))), 0) != 0 && !Contains(line, "UNDO");
}

bool ShowsUserEnd(const std::string& line, const std::string& baseline) {
    return line != baseline && (Contains(line, "X") || IsCommandCancel(line));
}

std::string SplitFirst(std::string& text) {
    text = std::string(platform::Trim(text));
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

std::string QuotedIfBlank(const std::string& text) {
    return text.find(' ') == std::string::npos ? text : "\"" + text + "\"";
}

std::u16string QuotedIfBlank(const std::u16string& text) {
    return text.find(u' ') == std::u16string::npos ? text : u"\"" + text + u"\"";
}

std::string RadiusOfSize(const std::string& sizeText) {
    return CheckedRadius(std::string(platform::Trim(sizeText)), sizeText);
}

void RunContext::Reset(const RunRequest& request) {
    request_ = request;
    sentInStep_ = sentBeforePutOff_ = 0;
    refuseSends_ = false;
    lastChangeMs_ = host_.NowMs();
    asked_ = minimized_ = fileDialogsKnown_ = groupOpen_ = false;
    lastLook_ = Look{};
    queried_.clear();
    userFileDialogs_ = "1";
}

bool RunContext::Send(const std::u16string& text) {
    if (refuseSends_)
        return false;
    if (sentInStep_ < sentBeforePutOff_) {
        ++sentInStep_;
        return true;
    }
    lastChangeMs_ = host_.NowMs();
    if (!link_.SendCommand(text))
        return false;
    ++sentInStep_;
    return true;
}

void RunContext::Ask() {
    if (!minimized_)
        Tell(WindowMinimized{true});
    minimized_ = asked_ = true;
}

void RunContext::RestoreWindow() {
    if (!minimized_)
        return;
    minimized_ = false;
    Tell(WindowMinimized{false});
}

void RunContext::KeepUserFileDialogs(const std::string& value) {
    if (value.empty())
        return;  // not told (yet): the default goes back unless a later look shows the value
    fileDialogsKnown_ = true;
    userFileDialogs_ = value == "0" ? "0" : "1";
    if (guard_.Holds("FILEDIA"))
        guard_.Changed("FILEDIA", system_.AnsiToWide(std::string(kCancel) + "FILEDIA " + userFileDialogs_ + "\r"));
}

void RunContext::SwitchFileDialogs(bool on, const char16_t* offRecord) {
    if (on) {
        // Put back only once the command went out: otherwise the end of the run tries again.
        guard_.PutBack("FILEDIA");
        return;
    }
    guard_.Changed("FILEDIA", system_.AnsiToWide(std::string(kCancel) + "FILEDIA " + userFileDialogs_ + "\r"));
    Send(offRecord);
}

namespace {

const char16_t kUndoEnd[] = u"\x03_.UNDO _End\r";
// UNDO with a number, not U: Enter at the idle prompt repeats the last command, and a repeated U
// would take back the user's own work.
const char16_t kUndoEndAndTakeBack[] = u"\x03_.UNDO _End\r_.UNDO 1\r";

}  // namespace

void RunContext::StartUndo() {
    if (Send(u"\x03_.UNDO ") && !guard_.Holds(kUndoGroup))
        guard_.Changed(kUndoGroup, kCancelOnly);
}

void RunContext::AnswerUndo(const std::string& prompt) {
    if (!Contains(prompt, "(BE)")) {
        if (Send(kCancelOnly))
            guard_.Drop(kUndoGroup);
        return;
    }
    // Held before Begin goes out: an End without a group is nothing to the CAD program, a group
    // left open would take in the user's next commands. Held first, it is ended last.
    guard_.Changed(kUndoGroup, kUndoEndAndTakeBack);
    groupOpen_ = true;
    Send(u"_BEgin\r");
}

std::optional<std::string> RunContext::ReadFreshReport(const std::u16string& path,
                                                       std::optional<std::uint64_t> before) {
    // A report this run did not write belongs to an earlier measurement: its centroid is not ours.
    const std::optional<std::uint64_t> now = host_.FileVersion(path);
    if (!now || (before && *before == *now))
        return std::nullopt;
    return host_.ReadReportFile(path);
}

void RunContext::ShowValues(ReportVariant variant, const ReportValues& values) {
    ValuesMeasured shown;
    if (values.areaSeen)
        shown.area = ShownValue(variant, values.area, request_.decimalSymbol);
    // A perimeter that is no number leaves the area shown, as the error box then says.
    try {
        if (values.perimeterSeen)
            shown.perimeter = ShownValue(variant, values.perimeter, request_.decimalSymbol);
    } catch (...) {
        Tell(shown);
        throw;
    }
    Tell(shown);
}

void RunContext::DrawCircle(ReportVariant variant, const ReportValues& values) {
    // Read afresh for every circle: a size changed during the run is checked again.
    const std::string radius = RadiusOfSize(host_.SizeText());
    if (!SendAssembled(std::string(kCancel) + "CIRCLE " + values.centroidX + "," + values.centroidY + " " + radius +
                       "\r"))
        return;
    const LocalTime t = host_.Now();
    Tell(RowAdded{FormatResultRow(FormatRowTime(t.year, t.month, t.day, t.hour, t.minute, t.second),
                                  DrawingNameFromTitle(link_.Discovery().MainFrameTitle()),
                                  MeasurementAsShown(variant, values, radius, request_.decimalSymbol),
                                  [this](const std::string& text) { return system_.AnsiToWide(text); })});
    // The group now holds what the user asked for: its end keeps it.
    if (groupOpen_)
        guard_.Changed(kUndoGroup, kUndoEnd);
}

}  // namespace app

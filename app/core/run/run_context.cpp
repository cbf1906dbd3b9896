#include "run/run_context.h"

#include "cad_numbers.h"
#include "results_table.h"
#include "platform/text_trim.h"

namespace app {

bool ShowsCommand(const std::u16string& prompt) {
    return !prompt.empty() && prompt != kIdlePrompt;
}

bool IsUndoPrompt(const std::u16string& prompt) {
    return Contains(prompt, u"(BE)") || Contains(prompt, u"UNDO");
}

bool IsCommandCancel(const std::u16string& line) {
    // UNDO's control question and the value prompts of the run's queries, cancelled by the run
    // itself, may reach the history of a late host after the run took its last line: they are no
    // end the user made.
    const std::u16string_view idle = platform::Trim(std::u16string_view(kIdlePrompt));
    if (!Contains(line, kCancelled) || line.compare(0, idle.size(), idle) == 0 || Contains(line, u"UNDO"))
        return false;
    for (const char16_t* asked : {u"LUNITS", u"LUPREC", u"UNITMODE", u"OSMODE", u"FILEDIA", u"HPBOUND", u"LASTPOINT"})
        if (!cadlink::ValueShownFor(line, asked).empty())
            return false;
    return true;
}

bool ShowsUserEnd(const std::u16string& line, const std::u16string& baseline) {
    return line != baseline && (Contains(line, u"X") || IsCommandCancel(line));
}

std::u16string SplitFirst(std::u16string& text) {
    text = std::u16string(platform::Trim(text));
    const std::size_t comma = text.find(u',');
    std::u16string item;
    if (comma == std::u16string::npos) {
        item.swap(text);
    } else {
        item = text.substr(0, comma);
        text.erase(0, comma + 1);
    }
    return item;
}

bool IsTypeableValue(const std::u16string& value) {
    for (char16_t c : value)
        if (c <= 32 || c == 0x7F)
            return false;
    return true;
}

std::u16string QuotedIfBlank(const std::u16string& text) {
    return text.find(u' ') == std::u16string::npos ? text : u"\"" + text + u"\"";
}

void RunContext::Reset(const RunRequest& request) {
    request_ = request;
    sentInStep_ = sentBeforePutOff_ = 0;
    refuseSends_ = false;
    lastChangeMs_ = host_.NowMs();
    asked_ = minimized_ = fileDialogsKnown_ = groupOpen_ = false;
    lastLook_ = Look{};
    queried_.clear();
    queriedName_.clear();
    hostLate_.reset();
    drawing_ = DrawingSettings();
    groupDecided_ = false;
    userFileDialogs_ = u"1";
}

bool RunContext::Send(const std::u16string& text, cadlink::RecordWork work) {
    if (refuseSends_)
        return false;
    if (sentInStep_ < sentBeforePutOff_) {
        ++sentInStep_;
        return true;
    }
    lastChangeMs_ = host_.NowMs();
    if (!link_.SendCommand(text, work))
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

void RunContext::ChangeDrawingSettings() {
    for (const DrawingSettings::Change& change : drawing_.Changes()) {
        guard_.Changed(change.item, change.putBack);
        SendBrief(change.set);
    }
}

void RunContext::PutBackDrawingSettings() {
    const std::vector<DrawingSettings::Change> changes = drawing_.Changes();
    for (auto change = changes.rbegin(); change != changes.rend(); ++change)
        guard_.PutBack(change->item);
}

std::u16string RunContext::UserFileDialogsRecord() const {
    return kCancel + (u"FILEDIA " + userFileDialogs_) + u"\r";
}

void RunContext::KeepUserFileDialogs(const std::u16string& value) {
    if (value.empty())
        return;  // not told (yet): the default goes back unless a later look shows the value
    fileDialogsKnown_ = true;
    userFileDialogs_ = value == u"0" ? u"0" : u"1";
    if (guard_.Holds("FILEDIA"))
        guard_.Changed("FILEDIA", UserFileDialogsRecord());
}

void RunContext::SwitchFileDialogs(bool on, const char16_t* offRecord) {
    if (on) {
        // Put back only once the command went out: otherwise the end of the run tries again.
        guard_.PutBack("FILEDIA");
        return;
    }
    guard_.Changed("FILEDIA", UserFileDialogsRecord());
    SendBrief(offRecord);
}

namespace {

const char16_t kUndoEnd[] = u"\x03_.UNDO _End\r";
// UNDO with a number, not U: Enter at the idle prompt repeats the last command, and a repeated U
// would take back the user's own work.
const char16_t kUndoEndAndTakeBack[] = u"\x03_.UNDO _End\r_.UNDO 1\r";

}  // namespace

void RunContext::StartUndo() {
    // Not brief: what an earlier run left to put back may still wait in the CAD program's input.
    if (Send(u"\x03_.UNDO ") && !guard_.Holds(kUndoGroup))
        guard_.Changed(kUndoGroup, kCancel, true);
}

void RunContext::AnswerUndo(const std::u16string& prompt) {
    if (Contains(prompt, u"(BE)") && !drawing_.UndoControlKnown()) {
        // Asked inside UNDO, transparently: a query at the command prompt would be a step of its
        // own, and the user's next U would take it back instead of the user's work. A host that
        // shows the answer only later is taken as having no group open, as before.
        if (SendBrief(u"'SETVAR UNDOCTL\r"))
            drawing_.TakeUndoControl(link_.QueriedValue(u"UNDOCTL"));
    }
    if (!Contains(prompt, u"(BE)") || drawing_.UserGroupOpen()) {
        // Under undo control None or One, or in the user's own group, which the run joins.
        if (SendBrief(kCancel))
            guard_.Drop(kUndoGroup);
        return;
    }
    // Held before Begin goes out: an End without a group is nothing to the CAD program, a group
    // left open would take in the user's next commands. Held first, it is ended last.
    guard_.Changed(kUndoGroup, kUndoEndAndTakeBack);
    groupOpen_ = true;
    SendBrief(u"_BEgin\r");
}

Checked<std::optional<std::u16string>> RunContext::ReadFreshReport(const std::u16string& path,
                                                                   std::optional<std::uint64_t> before) {
    // A report this run did not write belongs to an earlier measurement: its centroid is not ours.
    const std::optional<std::uint64_t> now = host_.FileVersion(path);
    if (!now || (before && *before == *now))
        return std::optional<std::u16string>();
    const Checked<std::optional<std::string>> bytes = host_.ReadReportFile(path);
    if (!bytes)
        return Checked<std::optional<std::u16string>>::Refused(bytes.Error());
    if (!*bytes)
        return std::optional<std::u16string>();
    return std::optional<std::u16string>(system_.AnsiToWide(**bytes));
}

Checked<ValuesMeasured> RunContext::ValuesToShow(ReportVariant variant, const ReportValues& values) {
    ValuesMeasured shown;
    if (values.areaSeen) {
        const Checked<std::u16string> area = ShownValue(variant, values.area, request_.decimalSymbol, UserDecimals());
        if (!area)
            return Checked<ValuesMeasured>::Refused(area.Error());
        shown.area = *area;
    }
    if (values.perimeterSeen) {
        const Checked<std::u16string> perimeter =
            ShownValue(variant, values.perimeter, request_.decimalSymbol, UserDecimals());
        if (!perimeter) {
            // A perimeter that is no number leaves the area shown, as the error box then says.
            Tell(shown);
            return Checked<ValuesMeasured>::Refused(perimeter.Error());
        }
        shown.perimeter = *perimeter;
    }
    return shown;
}

Checked<bool> RunContext::DrawAndShow(ReportVariant variant, const ReportValues& values) {
    const Checked<ValuesMeasured> shown = ValuesToShow(variant, values);
    if (!shown)
        return Checked<bool>::Refused(shown.Error());
    Checked<bool> drawn = true;
    if (IsCadNumber(values.centroidX) && IsCadNumber(values.centroidY))
        drawn = DrawCircle(variant, values);
    Tell(*shown);
    return drawn;
}

Checked<bool> RunContext::DrawCircle(ReportVariant variant, const ReportValues& values) {
    // Read afresh for every circle: a size changed during the run is checked again.
    const Checked<std::u16string> radius = CheckedRadius(host_.SizeText());
    if (!radius)
        return Checked<bool>::Refused(radius.Error());
    // A step taken up again after the CAD program was busy with the circle has its row already.
    const bool rowAdded = Replaying();
    if (!Send(kCancel + (u"CIRCLE " + values.centroidX) + u"," + values.centroidY + u" " + *radius + u"\r") || rowAdded)
        return true;
    const LocalTime t = host_.Now();
    Tell(RowAdded{
        FormatResultRow(FormatRowTime(t.year, t.month, t.day, t.hour, t.minute, t.second),
                        DrawingNameFromTitle(link_.Discovery().MainFrameTitle()),
                        MeasurementAsShown(variant, values, *radius, request_.decimalSymbol, UserDecimals()))});
    // The group now holds what the user asked for: its end keeps it.
    if (groupOpen_)
        guard_.Changed(kUndoGroup, kUndoEnd, true);
    return true;
}

ModeNext AboutDrawing(RunContext& run, int again, int openGroup, int then) {
    // Every query goes into the group, so that a U after the run takes back only the group.
    if (!run.GroupDecided())
        return ModeNext::Go(openGroup);
    const std::optional<std::u16string> name = run.NextDrawingQuery();
    if (name)
        return ModeNext::Ask(*name, again, run.HostLate().value_or(true));
    return ModeNext::Go(then);
}

ModeNext ChangeDrawing(RunContext& run, int then) {
    run.ChangeDrawingSettings();
    // The value prompt of the last query stays until a late host reaches its Ctrl+C: a wait for
    // the user must not take it for the command it waits for.
    return run.HostLate() == true ? ModeNext::OnceIdle(then) : ModeNext::Go(then);
}

ModeNext OpenGroup(RunContext& run, int again) {
    run.DecideGroup();
    return ModeNext::InGroup(again);
}

}  // namespace app

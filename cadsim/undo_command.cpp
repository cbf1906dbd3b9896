#include "undo_command.h"

#include <cstring>

namespace cadsim {

const char kUndoPrompt[] =
    "元に戻す操作の数を入力 または [自動(A)/コントロール(C)/開始(BE)/終了(E)/マーク(M)/後退(B)] <1>: ";
const char kUndoControlPrompt[] =
    "UNDO コントロールのオプションを入力 [すべて(A)/なし(N)/1 つ(O)/結合(C)/画層(L)] <すべて>: ";

namespace {

const char kEverythingUndone[] = "すべて元に戻されました";
const char kUDisabled[] = "U コマンドは無効です。UNDO コマンドでオンにしてください。";
const char kNumberOrKeyword[] = "整数または オプション キーワードが必要です。";
const char kInvalidKeyword[] = "オプション キーワードが無効です。";
const char kNotBuilt[] = "このオプションはここでは使用できません。";
// Far more than any drawing has steps; a bigger number only means "all of them".
constexpr int kLargestCount = 32767;

// The keyword typed, upper case and without the "_" that asks for its international name.
std::string Word(const std::string& input) {
    return UpperAscii(!input.empty() && input[0] == '_' ? input.substr(1) : input);
}

// A keyword may be cut short down to its capitals: "BE", "BEG", ..., "BEGIN".
bool Is(const std::string& word, const char* keyword, std::size_t shortest) {
    return word.size() >= shortest && word.size() <= std::strlen(keyword) &&
           std::strncmp(word.c_str(), keyword, word.size()) == 0;
}

bool Count(const std::string& input, int& count) {
    if (input.empty() || input.size() > 9 || input.find_first_not_of("0123456789") != std::string::npos)
        return false;
    count = std::stoi(input);
    return true;
}

// The settings the host does not let UNDO change here; the settings line and UNDOCTL both say them.
constexpr bool kAuto = true;
constexpr bool kCombineZoom = true;
constexpr bool kCombineLayers = true;

const char* OnOff(bool on, const char* yes, const char* no) {
    return on ? yes : no;
}

std::string SettingsLine(UndoControl control) {
    const char* shown = control == UndoControl::All ? "すべて" : control == UndoControl::One ? "1 つ" : "なし";
    return std::string("現在の設定: 自動 = ") + OnOff(kAuto, "オン", "オフ") + ", コントロール = " + shown +
           ", 結合 = " + OnOff(kCombineZoom, "はい", "いいえ") + ", 画層 = " + OnOff(kCombineLayers, "はい", "いいえ");
}

void SetControl(UndoControl control, CommandContext& context) {
    const bool wasOpen = context.undo.GroupOpen();
    context.undo.SetControl(control);
    if (wasOpen)
        context.Note("undo end");
    context.Note(std::string("undo control=") + UndoControlName(control));
}

class UndoCommand : public RunningCommand {
public:
    explicit UndoCommand(bool askControl) : askControl_(askControl) {}

    std::string Prompt() const override { return askControl_ ? kUndoControlPrompt : kUndoPrompt; }

    bool Answer(const std::string& input, CommandContext& context) override {
        return askControl_ ? AnswerControl(input, context) : AnswerMain(input, context);
    }

private:
    bool AnswerMain(const std::string& input, CommandContext& context) {
        const std::string word = Word(input);
        int count = 1;
        if (input.empty() || Count(input, count)) {
            if (count > 0) {
                TakeBack(count > kLargestCount ? kLargestCount : count, context);
                return false;
            }
        } else if (Is(word, "BEGIN", 2)) {
            const bool wasOpen = context.undo.GroupOpen();
            context.undo.Begin();
            if (wasOpen)
                context.Note("undo end");
            context.Note("undo begin");
            return false;
        } else if (Is(word, "END", 1)) {
            if (context.undo.End())
                context.Note("undo end");
            return false;
        } else if (Is(word, "CONTROL", 1)) {
            askControl_ = true;
            return true;
        } else if (Is(word, "AUTO", 1) || Is(word, "MARK", 1) || Is(word, "BACK", 1)) {
            context.Print(kNotBuilt);
            return true;
        }
        context.Print(kNumberOrKeyword);
        return true;
    }

    bool AnswerControl(const std::string& input, CommandContext& context) {
        const std::string word = Word(input);
        if (input.empty() || Is(word, "ALL", 1)) {
            SetControl(UndoControl::All, context);
        } else if (Is(word, "NONE", 1)) {
            SetControl(UndoControl::None, context);
        } else if (Is(word, "ONE", 1)) {
            SetControl(UndoControl::One, context);
        } else if (Is(word, "COMBINE", 1) || Is(word, "LAYER", 1)) {
            context.Print(kNotBuilt);
            return true;
        } else {
            context.Print(kInvalidKeyword);
            return true;
        }
        return false;
    }

    bool askControl_;
};

}  // namespace

void TakeBack(int count, CommandContext& context) {
    for (int i = 0; i < count; ++i) {
        UndoStep step;
        const bool wasOpen = context.undo.GroupOpen();
        if (!context.undo.Pop(step)) {
            context.Print(kEverythingUndone);
            context.Note("undo nothing");
            return;
        }
        if (wasOpen)
            context.Note("undo end");  // a group still open is taken back as far as it got
        // What it removed comes back before what it made goes, so that nothing is put back twice.
        for (const Entity& entity : step.edits.removed)
            context.RestoreEntity(entity);
        for (auto made = step.edits.made.rbegin(); made != step.edits.made.rend(); ++made)
            context.RemoveEntity(*made);
        context.Print(step.name);
        context.Note("undo back " + step.name);
    }
}

long UndoCtl(const UndoHistory& undo) {
    const UndoControl control = undo.Control();
    return (control != UndoControl::None ? 1 : 0) | (control == UndoControl::One ? 2 : 0) | (kAuto ? 4 : 0) |
           (undo.GroupOpen() ? 8 : 0) | (kCombineZoom ? 16 : 0) | (kCombineLayers ? 32 : 0);
}

std::unique_ptr<RunningCommand> StartUndo(CommandContext& context) {
    const UndoControl control = context.undo.Control();
    context.Print(SettingsLine(control));
    return std::make_unique<UndoCommand>(control != UndoControl::All);
}

std::unique_ptr<RunningCommand> StartU(CommandContext& context) {
    if (context.undo.Control() == UndoControl::None)
        context.Print(kUDisabled);
    else
        TakeBack(1, context);
    return nullptr;
}

}  // namespace cadsim

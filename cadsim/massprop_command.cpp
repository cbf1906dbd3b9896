#include "massprop_command.h"

#include "mass_properties.h"
#include "object_selection.h"
#include "platform/codepage.h"
#include "report_writer.h"

namespace cadsim {
namespace {

const char kAskWrite[] = "解析結果をファイルに書き出しますか? [はい(Y)/いいえ(N)] <N>: ";
const char kYesNo[] = " [はい(Y)/いいえ(N)] <N>: ";
const char kNothingToMeasure[] = "リージョンまたはソリッドが選択されていません。";
const char kInvalidKeyword[] = "オプション キーワードが無効です。";
const char kReportExtension[] = ".mpr";

enum class Reply { Yes, No, Invalid };

// Enter takes the default, which is No.
Reply YesNo(const std::string& input) {
    std::string word = UpperAscii(!input.empty() && input[0] == '_' ? input.substr(1) : input);
    if (word == "Y" || word == "YES" || input == "はい")
        return Reply::Yes;
    if (word.empty() || word == "N" || word == "NO" || input == "いいえ")
        return Reply::No;
    return Reply::Invalid;
}

std::string DefaultName(const SystemVariables& variables) {
    const SystemVariable* drawingName = variables.Find("DWGNAME");
    std::string stem = drawingName ? drawingName->value : "Drawing1.dwg";
    const std::size_t dot = platform::LastCharOf(stem, ".");
    if (dot != std::string::npos)
        stem.erase(dot);
    return stem + kReportExtension;
}

bool FileDialogsOn(const SystemVariables& variables) {
    const SystemVariable* fileDialogs = variables.Find("FILEDIA");
    return fileDialogs == nullptr || fileDialogs->value != "0";
}

class MasspropCommand : public RunningCommand {
public:
    explicit MasspropCommand(const SystemVariables& variables) : defaultName_(DefaultName(variables)) {}

    std::string Prompt() const override {
        switch (step_) {
            case Step::Selecting:
                return kSelectObjectsPrompt;
            case Step::AskingToWrite:
                return kAskWrite;
            case Step::AskingForName:
                return "ファイル名を入力 <" + defaultName_ + ">: ";
            case Step::AskingToReplace:
                return "ファイル " + path_ + " は既に存在します。置き換えますか?" + kYesNo;
        }
        return std::string();
    }

    bool TakesClicks() const override { return step_ == Step::Selecting; }
    std::vector<int> Highlighted() const override {
        return step_ == Step::Selecting ? selection_.Ids() : std::vector<int>();
    }

    bool Click(const Point& point, CommandContext& context) override {
        selection_.Click(point, context);
        return true;
    }

    bool Answer(const std::string& input, CommandContext& context) override {
        switch (step_) {
            case Step::Selecting:
                return !selection_.Answer(input, context) || Analyse(context);
            case Step::AskingToWrite:
                switch (YesNo(input)) {
                    case Reply::No:
                        return false;
                    case Reply::Invalid:
                        context.Print(kInvalidKeyword);
                        return true;
                    case Reply::Yes:
                        break;
                }
                if (FileDialogsOn(context.variables)) {
                    // The dialog offers the default name in the current folder, and its user takes it.
                    path_ = FullPath(defaultName_, context);
                    context.Note("file dialog path=" + path_);
                    Write(context);
                    return false;
                }
                step_ = Step::AskingForName;
                return true;
            case Step::AskingForName:
                path_ = FullPath(ReportFileName(input.empty() ? defaultName_ : input), context);
                if (context.files && context.files->Exists(path_)) {
                    step_ = Step::AskingToReplace;
                    return true;
                }
                Write(context);
                return false;
            case Step::AskingToReplace:
                switch (YesNo(input)) {
                    case Reply::No:
                        return false;
                    case Reply::Invalid:
                        context.Print(kInvalidKeyword);
                        return true;
                    case Reply::Yes:
                        Write(context);
                        return false;
                }
        }
        return false;
    }

private:
    enum class Step { Selecting, AskingToWrite, AskingForName, AskingToReplace };

    // Ends the selection: false when there is nothing to measure (the command has ended).
    bool Analyse(CommandContext& context) {
        std::vector<Polygon> regions;
        std::vector<Disc> discs;
        for (int id : selection_.Ids()) {
            const Entity* entity = context.drawing.Find(id);
            if (entity == nullptr || entity->type != EntityType::Region)
                continue;
            if (entity->Round())
                discs.push_back(Disc{entity->center, entity->radius});
            else
                regions.push_back(entity->corners);
        }
        if (regions.empty() && discs.empty()) {
            context.Print(kNothingToMeasure);
            return false;
        }
        lines_ = ReportLines(Measure(regions, discs), context.variables.Units());
        for (const std::string& line : lines_)
            context.Print(line);
        step_ = Step::AskingToWrite;
        return true;
    }

    static std::string FullPath(const std::string& name, const CommandContext& context) {
        return context.files ? context.files->FullPath(name) : name;
    }

    void Write(CommandContext& context) {
        const std::string bytes = ReportFileBytes(lines_);
        if (context.files == nullptr || !context.files->Write(path_, bytes)) {
            context.Print("ファイル " + path_ + " に書き込めません。");
            return;
        }
        context.Note("report written bytes=" + std::to_string(bytes.size()) + " path=" + path_);
    }

    Step step_ = Step::Selecting;
    ObjectSelection selection_;
    std::string defaultName_;
    std::string path_;
    std::vector<std::string> lines_;
};

}  // namespace

std::string ReportFileName(const std::string& name) {
    const std::size_t folderEnd = platform::LastCharOf(name, "\\/:");
    const std::size_t nameStart = folderEnd == std::string::npos ? 0 : folderEnd + 1;
    if (name.find('.', nameStart) != std::string::npos)
        return name;
    return name + kReportExtension;
}

std::unique_ptr<RunningCommand> StartMassprop(CommandContext& context) {
    return std::make_unique<MasspropCommand>(context.variables);
}

}  // namespace cadsim

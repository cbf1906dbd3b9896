#include "tavro_form.h"

#include <oleacc.h>
#include <shlobj.h>

#include "control_ids.h"
#include "framework/application.h"
#include "framework/ini_file.h"
#include "framework/shell_folders.h"
#include "platform/path_names.h"
#include "text_conversion.h"
#include "results_table.h"
#include "window_place_settings.h"

namespace app {

using framework::Bounds;

const char16_t kApplicationTitle[] = u"図心位置に円を描く";
const char16_t kSettingsSection[] = u"初期化";
const char16_t kSettingsKeySize[] = u"大きさ";
const char16_t kBannerText[] =
    u"AutoCADのMassProコマンドを使用して図心位置を取得します。面の中心かリージョンをクリックしてください";

namespace {

// The layout as designed, at 96 pixels per inch.
constexpr Bounds kBannerBounds{8, 0, 193, 25};
constexpr Bounds kLabel1Bounds{88, 56, 33, 12};
constexpr Bounds kLabel2Bounds{88, 75, 33, 12};
constexpr Bounds kGroupBox2Bounds{8, 52, 73, 41};
constexpr Bounds kEdit1Bounds{16, 16, 41, 20};  // within the group box
constexpr Bounds kCheckBox1Bounds{88, 32, 49, 17};
constexpr Bounds kPlButton1Bounds{144, 64, 57, 26};
constexpr Bounds kPlButton2Bounds{144, 32, 57, 26};
constexpr Bounds kCheckBox2Bounds{8, 32, 73, 17};
constexpr int kCaptionTop = 8;
const framework::TFont kBannerFont{u"Times New Roman", -24, SHIFTJIS_CHARSET, framework::clGray, 0};

framework::FormDesign MainWindowDesign() {
    return framework::FormDesign{kMainWindowClass,
                                 kApplicationTitle,
                                 210,
                                 97,
                                 true,
                                 framework::TFont{u"ＭＳ Ｐゴシック", -12, SHIFTJIS_CHARSET}};
}

}  // namespace

TTavroF::TTavroF() : TForm(MainWindowDesign()) {
    HWND form = Handle();
    // Created in tab order: the size box, continuous, Close, Execute, face centre.
    EsScrollingMarquee1 = Own<es::TEsScrollingMarquee>();
    EsScrollingMarquee1->BeginLoading();
    EsScrollingMarquee1->SetParent(this);
    EsScrollingMarquee1->SetBounds(kBannerBounds);
    EsScrollingMarquee1->SetAlignment(framework::taCenter);
    EsScrollingMarquee1->SetCaption(kBannerText);
    EsScrollingMarquee1->SetFont(kBannerFont);
    EsScrollingMarquee1->SetScrollSpeed(5);
    EsScrollingMarquee1->EndLoading();
    Label1 = Own<framework::TLabel>(form, kLabel1Bounds, u"Label1", kIdLabel1);
    Label2 = Own<framework::TLabel>(form, kLabel2Bounds, u"Label2", kIdLabel2);
    GroupBox2 = Own<framework::TGroupBox>(form, kGroupBox2Bounds, u"円の大きさ", kIdGroupBox2);
    Edit1 = Own<framework::TEdit>(GroupBox2->Handle(), kEdit1Bounds, u"50", kIdEdit1);
    EsScrollingMarquee1->SetFocusControl(Edit1);
    CheckBox1 = Own<framework::TCheckBox>(form, kCheckBox1Bounds, u"連続", false, kIdCheckBox1);
    plButton1 = CreatePlButton("plButton1", kPlButton1Bounds, u"閉じる", kIdPlButton1);
    plButton2 = CreatePlButton("plButton2", kPlButton2Bounds, u"実　行", kIdPlButton2);
    CheckBox2 = Own<framework::TCheckBox>(form, kCheckBox2Bounds, u"面の中心", true, kIdCheckBox2);
    placements_ = {{EsScrollingMarquee1, kBannerBounds}, {Label1, kLabel1Bounds},       {Label2, kLabel2Bounds},
                   {GroupBox2, kGroupBox2Bounds},        {Edit1, kEdit1Bounds},         {CheckBox1, kCheckBox1Bounds},
                   {plButton1, kPlButton1Bounds},        {plButton2, kPlButton2Bounds}, {CheckBox2, kCheckBox2Bounds}};

    plButton1->OnClick = [this](framework::TObject* sender) { CloseClick(sender); };
    plButton2->OnClick = [this](framework::TObject* sender) { ExecuteClick(sender); };
    Created();
}

void TTavroF::DpiChanged() {
    // Each design number scaled by itself, with one rounding rule: neighbours keep their gaps.
    for (const Placement& placement : placements_) {
        const Bounds& d = placement.design;
        placement.control->SetBounds({Scaled(d.left), Scaled(d.top), Scaled(d.width), Scaled(d.height)});
    }
    framework::TFont bannerFont = kBannerFont;
    bannerFont.height = Scaled(kBannerFont.height);
    EsScrollingMarquee1->SetFont(bannerFont);
    for (pl::TplButton* button : {plButton1, plButton2})
        button->SetCaptionTop(Scaled(kCaptionTop));
}

// The gradient buttons as the form lays them out: green face, the caption fixed at 8 pixels from
// the top, the picture at the top edge, no disabled look of their own.
pl::TplButton* TTavroF::CreatePlButton(const char* name, const Bounds& bounds, const char16_t* caption, int id) {
    auto* button = Own<pl::TplButton>(this);
    button->SetName(name);
    button->SetControlId(id);
    button->SetBounds(bounds);
    button->SetParent(this);
    button->SetGradEndColor(framework::clMoneyGreen);
    button->Image().SetTop(0);
    button->SetDisableImage(false);
    button->CaptionA().SetCaption(caption);
    button->SetCaptionTop(kCaptionTop);
    button->SetCaptionVertCenter(false);
    return button;
}

void TTavroF::FormCreate(framework::TObject*) {
    EsScrollingMarquee1->SetActive(true);
    Label1->SetCaption(u"");
    Label2->SetCaption(u"");

    // The work folder, the settings and the results are named in UTF-16: a user named outside the
    // system code page keeps them in their own folder, not in a look-alike one.
    workFolder_ = framework::SpecialFolderPath(Handle(), CSIDL_APPDATA) + u"\\Halvetra\\";
    // Not checked: a folder that cannot be made shows up later as a settings or report file error.
    framework::ForceDirectories(workFolder_);

    SYSTEMTIME now;
    ::GetLocalTime(&now);
    const std::string stamp = FormatStartStamp(now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond);
    paths_ = RunPaths(workFolder_, FirstFreeStamp(stamp, [&](const std::string& candidate) {
                          return stemClaim_.TryClaim(workFolder_, candidate);
                      }));

    Edit1->SetText(u"50");
    const framework::TIniFile settings(SettingsPath());
    Edit1->SetText(settings.ReadString(kSettingsSection, kSettingsKeySize, u"50"));
    RestoreWindowPlace(Handle(), settings);
    // The saved place may be on a monitor of another scale.
    FollowMonitorDpi();

    results_.SetPath(workFolder_ + ResultsFileName(framework::ExecutablePath()));
    // Rows left beside the list when the program last ended go into it now, if it can take them.
    results_.WritePending();
    results_.TakeFailure();
    resultsMenu_.AddTo(Handle());
    clipboardRelease_.Attach(Handle());
}

void TTavroF::FormClose(framework::TObject*) {
    SaveState();
}

void TTavroF::SaveState() {
    // Rows that could not be written during the runs get a last try, and else wait beside the list.
    if (!results_.WritePending())
        results_.KeepPending();
    framework::ForceDirectories(workFolder_);  // deleted while the window was open
    const framework::TIniFile settings(SettingsPath());
    settings.WriteString(kSettingsSection, kSettingsKeySize, Edit1->Text());
    SaveWindowPlace(Handle(), settings);
}

std::u16string TTavroF::SettingsPath() const {
    return workFolder_ + platform::ChangeExtension(platform::FileNameOf(framework::ExecutablePath()), u".Ini");
}

bool TTavroF::CanClose() {
    // A run ends with the window: what it changed in the CAD program goes back first.
    if (workflows_)
        workflows_->Stop(RunEnd::Close);
    return KeptRowsAllowClose();
}

bool TTavroF::KeptRowsAllowClose() {
    if (askingAboutRows_)
        return false;  // a second close while the box is up
    askingAboutRows_ = true;
    struct Asked {
        bool& flag;
        ~Asked() { flag = false; }
    } asked{askingAboutRows_};
    while (!results_.WritePending()) {
        results_.TakeFailure();  // this box says it
        const std::string count = std::to_string(results_.PendingRows());
        const std::u16string text = results_.Path() + u" に書き込めません。\r\n\r\n書き込めなかった " +
                                    std::u16string(count.begin(), count.end()) + u" 行は、キャンセルすると " +
                                    results_.KeptPath() + u" に残り、次に一覧へ書き込めるときに加えられます。";
        if (framework::Application.MessageBox(text, MB_RETRYCANCEL | MB_ICONWARNING) == IDRETRY)
            continue;
        if (!results_.KeepPending())
            ShowRowsNotKept();
        return true;  // a side file never keeps the window open
    }
    return true;
}

void TTavroF::ShowRowsNotKept() {
    // The last place the rows can go: the box's text, which Ctrl+C copies.
    std::u16string rows;
    for (const std::string& row : results_.PendingUtf8())
        rows += platform::WideFromUtf8(row);
    framework::Application.ShowException(
        results_.KeptPath() +
        u" にも書き込めません。書き込めなかった行は次のとおりです（Ctrl+C でコピーできます）:\r\n" + rows);
}

std::vector<framework::AccessibleFacts> TTavroF::SimpleChildren() const {
    framework::AccessibleFacts banner;
    banner.name = framework::AccessibleName(EsScrollingMarquee1->Caption());
    banner.role = ROLE_SYSTEM_STATICTEXT;
    banner.state = STATE_SYSTEM_READONLY | (EsScrollingMarquee1->Active() ? STATE_SYSTEM_MARQUEED : 0);
    banner.screenBounds = EsScrollingMarquee1->BoundsRect();
    ::MapWindowPoints(Handle(), HWND_DESKTOP, reinterpret_cast<POINT*>(&banner.screenBounds), 2);
    return {banner};
}

LRESULT TTavroF::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (resultsMenu_.HandleMessage(Handle(), message, wParam, lParam) ||
        clipboardRelease_.HandleMessage(Handle(), message))
        return 0;
    if (LRESULT answer = 0; accessible_.HandleMessage(Handle(), message, wParam, lParam, answer))
        return answer;
    switch (message) {
        case WM_QUERYENDSESSION:
            // The process may be ended without another word: the CAD settings go back now.
            if (workflows_)
                workflows_->Stop(RunEnd::SessionEnd);
            return TRUE;
        case WM_ENDSESSION:
            if (wParam != FALSE) {
                if (workflows_)
                    workflows_->Stop(RunEnd::SessionEnd);
                try {
                    SaveState();
                } catch (...) {
                    // An error box now would only hold up the end of the session.
                }
            }
            return 0;
    }
    return TForm::HandleMessage(message, wParam, lParam);
}

void TTavroF::ExecuteClick(framework::TObject*) {
    // A click leaves the rest of a double click to come; the run lets it land here first.
    RunTrigger trigger;
    if (const MSG* message = framework::Application.Dispatching();
        message && message->message >= WM_MOUSEFIRST && message->message <= WM_MOUSELAST) {
        trigger.byPointer = true;
        trigger.at = {message->pt.x, message->pt.y};
    }
    // A further Execute during a run is no new run.
    if (workflows_ && workflows_->Running())
        return;
    if (CheckBox2->Checked())
        StartFaceCentreRun(trigger);
    else
        StartRegionRun(trigger);
}

void TTavroF::StartFaceCentreRun(const RunTrigger& trigger) {
    if (workflows_)
        workflows_->Start(RunMode::FaceCentre, trigger);
}

void TTavroF::StartRegionRun(const RunTrigger& trigger) {
    if (workflows_)
        workflows_->Start(RunMode::Region, trigger);
}

void TTavroF::CloseClick(framework::TObject*) {
    Close();
}

}  // namespace app

#pragma once
// The main window: the circle size, the two mode check boxes, Execute and Close, and the labels
// that show the area and perimeter of the last measured shape.

#include <string>
#include <vector>

#include "widgets/es/es_marquee.h"
#include "framework/accessible.h"
#include "framework/controls.h"
#include "framework/form.h"
#include "widgets/pl/pl_button.h"
#include "clipboard_release.h"
#include "report_stem_claim.h"
#include "results_menu.h"
#include "run_paths.h"
#include "workflows.h"

namespace app {

// The runs that Execute starts.
class Workflows {
public:
    virtual ~Workflows() = default;
    // Starts a run and returns at once; the window's loop carries it on.
    virtual void Start(RunMode mode, const RunTrigger& trigger) = 0;
    virtual bool Running() const = 0;
    // Ends the run now, putting back what it changed in the CAD program.
    virtual void Stop(RunEnd why) = 0;
};

extern const char16_t kApplicationTitle[];
extern const char16_t kSettingsSection[];
extern const char16_t kSettingsKeySize[];

class TTavroF : public framework::TForm {
public:
    TTavroF();

    // Controls, in declaration order; the form owns them.
    framework::TGroupBox* GroupBox2 = nullptr;
    framework::TEdit* Edit1 = nullptr;
    framework::TCheckBox* CheckBox1 = nullptr;
    pl::TplButton* plButton1 = nullptr;
    pl::TplButton* plButton2 = nullptr;
    es::TEsScrollingMarquee* EsScrollingMarquee1 = nullptr;
    framework::TLabel* Label1 = nullptr;
    framework::TLabel* Label2 = nullptr;
    framework::TCheckBox* CheckBox2 = nullptr;

    // Handlers: Execute starts the run of the mode the face-centre box chooses; Close closes.
    void StartFaceCentreRun(const RunTrigger& trigger);
    void FormCreate(framework::TObject* sender);
    void CloseClick(framework::TObject* sender);
    void StartRegionRun(const RunTrigger& trigger);
    void FormClose(framework::TObject* sender);
    void ExecuteClick(framework::TObject* sender);

    // Fixed by FormCreate for the whole run.
    const RunPaths& Paths() const { return paths_; }
    // The work folder as the user's profile names it.
    const std::u16string& WorkFolder() const { return workFolder_; }
    std::u16string SettingsPath() const;

    // The results list of the measured shapes, and its items in the system menu.
    ResultsFile& Results() { return results_; }

    void SetWorkflows(Workflows* workflows) { workflows_ = workflows; }

protected:
    void DoCreate() override { FormCreate(this); }
    void DoClose() override { FormClose(this); }
    bool CanClose() override;
    void DpiChanged() override;
    // The banner has no window of its own: the form shows it to screen readers as static text.
    std::vector<framework::AccessibleFacts> SimpleChildren() const;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    // Saves the size, the window's place and the rows still waiting (beside the list when it cannot
    // take them); it shows no box, so that a session end is not held up.
    void SaveState();
    // Rows the list cannot take: the user may try again, or leave them in the side file.
    bool KeptRowsAllowClose();
    void ShowRowsNotKept();
    pl::TplButton* CreatePlButton(const char* name, const framework::Bounds& bounds, const char16_t* caption, int id);
    // Every control with its rectangle as designed at 96 pixels per inch.
    struct Placement {
        framework::TControl* control;
        framework::Bounds design;
    };
    std::vector<Placement> placements_;

    std::u16string workFolder_;
    RunPaths paths_;
    ReportStemClaim stemClaim_;
    ResultsFile results_;
    ResultsMenu resultsMenu_{results_};
    Workflows* workflows_ = nullptr;
    struct Accessible : framework::AccessibleSource {
        explicit Accessible(TTavroF& form) : form(form) {}
        bool DescribesSelf() const override { return false; }
        std::vector<framework::AccessibleFacts> SimpleChildren() const override { return form.SimpleChildren(); }
        TTavroF& form;
    } accessibleSource_{*this};
    framework::AccessibleLink accessible_{accessibleSource_};
    bool askingAboutRows_ = false;
    ClipboardRelease clipboardRelease_;
};

}  // namespace app

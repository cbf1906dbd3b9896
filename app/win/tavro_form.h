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

namespace app {

// The two measuring workflows that Execute starts.
class Workflows {
public:
    virtual ~Workflows() = default;
    virtual void FaceCentre() = 0;
    virtual void Region() = 0;
    virtual bool Running() const = 0;
    // What a running run changed in the CAD program goes back now.
    virtual void PutBackCadSettings() = 0;
};

extern const char kApplicationTitle[];
extern const char kSettingsSection[];
extern const char kSettingsKeySize[];

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

    void Button13Click(framework::TObject* sender);
    void FormCreate(framework::TObject* sender);
    void Button5Click(framework::TObject* sender);
    void Button1Click(framework::TObject* sender);
    void FormClose(framework::TObject* sender);
    void plButton2Click(framework::TObject* sender);

    // Fixed by FormCreate for the whole run.
    const RunPaths& Paths() const { return paths_; }
    std::string SettingsPath() const;

    // The results list of the measured shapes, and its items in the system menu.
    ResultsFile& Results() { return results_; }

    void SetWorkflows(Workflows* workflows) { workflows_ = workflows; }
    // Set when the user closed the window while a run was waiting: the run ends at its next
    // poll, and the window closes after it.
    bool CloseRequested() const { return closeRequested_; }
    // Set from the system's question whether the session may end until it says the session goes on:
    // a run ends at its next poll, as after Close.
    bool SessionEnding() const { return sessionEnding_; }

protected:
    void DoCreate() override { FormCreate(this); }
    void DoClose() override { FormClose(this); }
    bool CanClose() override;
    void DpiChanged() override;
    // The banner has no window of its own: the form shows it to screen readers as static text.
    std::vector<framework::AccessibleFacts> SimpleChildren() const;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    // Saves the size, the window's place and the rows still waiting; a session end shows no box.
    void SaveState(bool showResultsFailure);
    // Rows the list cannot take: the user may try again, or leave them in the side file.
    bool KeptRowsAllowClose();
    pl::TplButton* CreatePlButton(const char* name, const framework::Bounds& bounds, const char* caption, int id);
    // Every control with its rectangle as designed at 96 pixels per inch.
    struct Placement {
        framework::TControl* control;
        framework::Bounds design;
    };
    std::vector<Placement> placements_;

    RunPaths paths_;
    ReportStemClaim stemClaim_;
    ResultsFile results_;
    ResultsMenu resultsMenu_{results_};
    Workflows* workflows_ = nullptr;
    bool closeRequested_ = false;
    bool sessionEnding_ = false;
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

extern TTavroF* TavroF;

}  // namespace app

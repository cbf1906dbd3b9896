// The attached label tells its control, by a sent and a posted message, when it has been loaded and
// whenever its bounds change; the class is known to the registry by name.
#include "widgets/es/es_attached_label.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "framework/form.h"

namespace {

using es::TEsAttachedLabel;

class Form : public framework::TForm {
public:
    Form() : TForm({"EsAttachedTestForm", u"attached", 200, 80, false, {u"Tahoma", -11, DEFAULT_CHARSET}}) {}
};

// A control that records the label's messages: the number and lParam.
class Witness : public framework::TWinControl {
public:
    struct Received {
        UINT message;
        LPARAM lParam;
        bool operator==(const Received& o) const { return message == o.message && lParam == o.lParam; }
    };
    explicit Witness(HWND parent) { CreateHandle(parent, "STATIC", 0, 0, u"", {0, 0, 10, 10}, 7); }
    std::vector<Received> received;

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == es::kAttachedLabelChanged || message == es::kAttachedLabelNotice)
            received.push_back({message, lParam});
        return TWinControl::HandleMessage(message, wParam, lParam);
    }
};

void Pump() {
    MSG message;
    while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
        ::DispatchMessageA(&message);
}

TEST(EsAttachedLabel, NotifiesItsControlOnLoadAndEveryBoundsChange) {
    Form form;
    auto* witness = form.Own<Witness>(form.Handle());
    auto* label = form.Own<TEsAttachedLabel>(nullptr, witness);
    EXPECT_EQ(label->EsControl(), witness);
    EXPECT_EQ(label->ColorScheme(), es::TEsColorScheme::csText);
    EXPECT_EQ(label->Appearance(), es::TEsAppearance::apNone);
    EXPECT_TRUE(label->ParentFont());
    EXPECT_FALSE(label->Transparent());

    label->BeginLoading();
    label->SetParent(&form);
    label->SetBounds({5, 5, 40, 12});
    label->SetBounds({6, 5, 40, 12});
    Pump();
    EXPECT_TRUE(witness->received.empty());  // nothing while loading
    label->EndLoading();
    const LPARAM self = reinterpret_cast<LPARAM>(label);
    using R = Witness::Received;
    // The sent message arrives at once; the posted one waits for the message loop.
    EXPECT_EQ(witness->received, (std::vector<R>{{es::kAttachedLabelChanged, self}}));
    Pump();
    EXPECT_EQ(witness->received, (std::vector<R>{{es::kAttachedLabelChanged, self}, {es::kAttachedLabelNotice, 0}}));

    witness->received.clear();
    label->SetBounds({7, 5, 40, 12});
    label->SetBounds({7, 5, 41, 13});
    label->SetBounds({7, 5, 41, 13});  // unchanged: no notice
    Pump();
    EXPECT_EQ(witness->received.size(), 4u);
}

TEST(EsAttachedLabel, ControlThatIsMissingOrNotTheFormsSendsNothing) {
    Form form;
    Form other;
    auto* stranger = other.Own<Witness>(other.Handle());
    auto* unattached = form.Own<TEsAttachedLabel>();
    unattached->SetParent(&form);
    unattached->SetBounds({1, 1, 20, 10});
    auto* elsewhere = form.Own<TEsAttachedLabel>(nullptr, stranger);
    elsewhere->SetParent(&form);
    elsewhere->SetBounds({1, 20, 20, 10});
    Pump();
    EXPECT_TRUE(stranger->received.empty());
}

TEST(EsAttachedLabel, IsRegisteredByClassName) {
    es::RegisterEsAttachedLabel();
    es::RegisterEsAttachedLabel();  // a second registration changes nothing
    ASSERT_TRUE(framework::ClassRegistered("TEsAttachedLabel"));
    auto made = framework::CreateRegistered("TEsAttachedLabel", nullptr);
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(made->ClassName(), "TEsAttachedLabel");
}

}  // namespace

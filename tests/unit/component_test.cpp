// The framework's object model: ownership, loading, the class registry and the assignment error.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/component.h"
#include "framework/exceptions.h"

namespace {

std::vector<std::string> freed;

class Part : public framework::TComponent {
public:
    Part(TComponent* owner, std::string name) : TComponent(owner) { SetName(std::move(name)); }
    ~Part() override { freed.push_back(Name()); }
    std::string ClassName() const override { return "Part"; }
    int loadedCalls = 0;

protected:
    void Loaded() override { ++loadedCalls; }
};

TEST(Component, OwnerFreesWhatItOwnsLastFirstAndForgetsWhatGoesEarlier) {
    freed.clear();
    {
        Part owner(nullptr, "owner");
        owner.Own<Part>(&owner, "a");
        Part* b = owner.Own<Part>(&owner, "b");
        owner.Own<Part>(&owner, "c");
        ASSERT_EQ(owner.ComponentCount(), 3);
        EXPECT_EQ(owner.Component(1), b);
        delete b;  // freed by someone else: the owner must not free it again
        EXPECT_EQ(owner.ComponentCount(), 2);
    }
    EXPECT_EQ(freed, (std::vector<std::string>{"b", "owner", "c", "a"}));
}

TEST(Component, LoadedRunsOnceWhenLoadingEnds) {
    Part part(nullptr, "p");
    part.EndLoading();
    EXPECT_EQ(part.loadedCalls, 0);
    part.BeginLoading();
    EXPECT_TRUE(part.Loading());
    part.EndLoading();
    part.EndLoading();
    EXPECT_FALSE(part.Loading());
    EXPECT_EQ(part.loadedCalls, 1);
}

TEST(Component, RegistryCreatesByName) {
    EXPECT_FALSE(framework::ClassRegistered("Part"));
    EXPECT_EQ(framework::CreateRegistered("Part", nullptr), nullptr);
    framework::RegisterClass("Part",
                             [](framework::TComponent* owner) { return std::make_unique<Part>(owner, "made"); });
    ASSERT_TRUE(framework::ClassRegistered("Part"));
    EXPECT_EQ(framework::CreateRegistered("Part", nullptr)->Name(), "made");
}

TEST(Persistent, AssignmentBetweenStrangersNamesBothClasses) {
    Part part(nullptr, "p");
    framework::TPersistent plain;
    try {
        plain.Assign(&part);
        FAIL() << "no assignment error";
    } catch (const framework::EConvertError& error) {
        EXPECT_EQ(error.Message(), u"Part を TPersistent に代入できません");
    }
    EXPECT_THROW(plain.Assign(nullptr), framework::EConvertError);
}

}  // namespace

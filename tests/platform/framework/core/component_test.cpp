#include "platform/framework/core/component.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/framework/core/exceptions.h"

namespace {

std::vector<std::string> g_log;

class TLogged : public TComponent {
public:
    TLogged(TComponent* owner, std::string tag) : TComponent(owner), FTagText(std::move(tag)) {}
    ~TLogged() override { g_log.push_back("free " + FTagText); }
    TComponent* Ref = nullptr;
    std::string FTagText;

protected:
    void Notification(TComponent* c, TOperation op) override
    {
        TComponent::Notification(c, op);
        if (op == opRemove && c == Ref) {
            g_log.push_back(FTagText + " drops ref");
            Ref = nullptr;
        }
    }
    void Loaded() override
    {
        TComponent::Loaded();
        g_log.push_back("loaded " + FTagText);
    }
};

}  // namespace

TEST(Component, OwnerFreesComponentsLastFirst)
{
    g_log.clear();
    auto* form = new TLogged(nullptr, "form");
    new TLogged(form, "a");
    new TLogged(form, "b");
    EXPECT_EQ(form->ComponentCount(), 2);
    form->Free();
    EXPECT_EQ(g_log, (std::vector<std::string>{"free form", "free b", "free a"}));
}

TEST(Component, RemovalIsAnnouncedDownTheTreeAndToFreeNotifies)
{
    g_log.clear();
    auto* form = new TLogged(nullptr, "form");
    auto* skin = new TLogged(form, "skin");
    auto* button = new TLogged(form, "button");
    auto* other = new TLogged(nullptr, "other");
    button->Ref = skin;  // same owner: hears through the tree
    other->Ref = skin;   // elsewhere: asks for a free notification
    skin->FreeNotification(other);
    skin->Free();
    EXPECT_EQ(button->Ref, nullptr);
    EXPECT_EQ(other->Ref, nullptr);
    EXPECT_EQ(form->ComponentCount(), 1);
    // Freeing `other` later must not touch the freed skin.
    other->Free();
    form->Free();
}

TEST(Component, NamesAreUniqueWithinOwner)
{
    TComponent form(nullptr);
    auto* a = new TComponent(&form);
    a->SetName(L"bsSkinData1");
    auto* b = new TComponent(&form);
    EXPECT_THROW(b->SetName(L"BSSKINDATA1"), EComponentError);
    EXPECT_EQ(form.FindComponent(L"bsskindata1"), a);
    EXPECT_EQ(form.FindComponent(L"none"), nullptr);
    EXPECT_THROW(form.Components(5), EListError);
}

TEST(Component, LoadingSetsStateThenCallsLoadedOwnerFirst)
{
    g_log.clear();
    auto* form = new TLogged(nullptr, "form");
    auto* child = new TLogged(form, "child");
    form->BeginLoading();
    EXPECT_TRUE(child->ComponentState() & csLoading);
    form->EndLoading();
    EXPECT_FALSE(child->ComponentState() & csLoading);
    EXPECT_FALSE(form->ComponentState() & csDesigning);
    EXPECT_EQ(g_log, (std::vector<std::string>{"loaded form", "loaded child"}));
    form->Free();
}

TEST(Component, DestroyingStateVisibleToChildren)
{
    TComponent* seen = nullptr;
    bool destroying = false;
    struct TProbe : TComponent {
        TProbe(TComponent* o, bool& d) : TComponent(o), flag(d) {}
        ~TProbe() override { flag = (Owner() == nullptr) && (ComponentState() & csDestroying); }
        bool& flag;
    };
    auto* form = new TComponent(nullptr);
    new TProbe(form, destroying);
    (void)seen;
    form->Free();
    EXPECT_TRUE(destroying);
}

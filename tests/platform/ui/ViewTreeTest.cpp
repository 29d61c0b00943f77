#include "platform/ui/UILabel.h"
#include "platform/ui/UIView.h"
#include "platform/ui/UIViewController.h"

#include <gtest/gtest.h>

namespace dazed {
namespace {

std::shared_ptr<UIView> view(float x, float y, float w, float h)
{
    return std::make_shared<UIView>(CGRectMake(x, y, w, h));
}

TEST(ViewTree, SubviewOrderFollowsAddInsertAndRemove)
{
    auto root = view(0, 0, 100, 100);
    auto a = view(0, 0, 10, 10), b = view(0, 0, 10, 10), c = view(0, 0, 10, 10), d = view(0, 0, 10, 10);
    using Views = std::vector<std::shared_ptr<UIView>>;

    root->addSubview(a);
    root->addSubview(b);
    EXPECT_EQ(root->subviews(), (Views{a, b}));
    EXPECT_EQ(a->superview(), root.get());

    root->insertSubviewBelowSubview(c, b.get());
    EXPECT_EQ(root->subviews(), (Views{a, c, b}));
    root->insertSubviewAboveSubview(d, a.get());
    EXPECT_EQ(root->subviews(), (Views{a, d, c, b}));

    // Re-inserting a subview moves it rather than duplicating it.
    root->insertSubviewAboveSubview(a, b.get());
    EXPECT_EQ(root->subviews(), (Views{d, c, b, a}));
    root->insertSubviewBelowSubview(b, d.get());
    EXPECT_EQ(root->subviews(), (Views{b, d, c, a}));

    c->removeFromSuperview();
    EXPECT_EQ(root->subviews(), (Views{b, d, a}));
    EXPECT_EQ(c->superview(), nullptr);
    c->removeFromSuperview(); // without a superview: nothing happens

    // A sibling that is not a subview puts the view on top.
    root->insertSubviewBelowSubview(c, view(0, 0, 1, 1).get());
    EXPECT_EQ(root->subviews().back(), c);

    // Moving to another superview takes the view out of the old one.
    auto other = view(0, 0, 10, 10);
    other->addSubview(a);
    EXPECT_EQ(a->superview(), other.get());
    EXPECT_EQ(std::count(root->subviews().begin(), root->subviews().end(), a), 0);
}

TEST(ViewTree, CyclesAreRefused)
{
    auto root = view(0, 0, 100, 100), child = view(0, 0, 10, 10);
    root->addSubview(child);
    child->addSubview(root);
    root->addSubview(root);
    EXPECT_EQ(root->superview(), nullptr);
    EXPECT_EQ(root->subviews().size(), 1u);
}

TEST(ViewTree, RemovingTheLastOwnerFreesTheView)
{
    auto root = view(0, 0, 100, 100);
    std::weak_ptr<UIView> weak;
    {
        auto child = view(0, 0, 10, 10);
        weak = child;
        root->addSubview(child);
    }
    ASSERT_FALSE(weak.expired());
    weak.lock()->removeFromSuperview();
    EXPECT_TRUE(weak.expired());
}

TEST(ViewTree, CentreMovesTheFrameAndKeepsTheSize)
{
    auto v = view(20, 70, 280, 40);
    v->setCenter({160, 70});
    EXPECT_EQ(v->frame(), CGRectMake(20, 50, 280, 40));
    EXPECT_EQ(v->center(), (CGPoint{160, 70}));
    EXPECT_EQ(v->bounds(), CGRectMake(0, 0, 280, 40));
}

TEST(ViewTree, HitTestFindsTheTopmostInteractiveView)
{
    auto root = view(0, 0, 320, 480);
    auto lower = view(0, 0, 320, 480);
    auto button = view(260, 400, 50, 50);
    auto inner = view(10, 10, 10, 10); // inside button, at screen (270, 410)
    root->addSubview(lower);
    root->addSubview(button);
    button->addSubview(inner);

    EXPECT_EQ(root->hitTest({100, 100}), lower.get());
    EXPECT_EQ(root->hitTest({265, 405}), button.get());
    EXPECT_EQ(root->hitTest({275, 415}), inner.get());
    EXPECT_EQ(root->hitTest({-1, 10}), nullptr);
    EXPECT_EQ(root->hitTest({320, 10}), nullptr); // the far edge is outside

    button->setHidden(true);
    EXPECT_EQ(root->hitTest({265, 405}), lower.get());
    button->setHidden(false);

    // A label takes no touches: they reach what lies beneath it.
    auto label = std::make_shared<UILabel>(CGRectMake(0, 0, 100, 40));
    root->addSubview(label);
    EXPECT_EQ(root->hitTest({50, 20}), lower.get());

    // Points convert through the superviews' origins.
    EXPECT_EQ(inner->convertPointFromScreen({275, 415}), (CGPoint{5, 5}));
    EXPECT_EQ(inner->convertPointToScreen({5, 5}), (CGPoint{275, 415}));
}

class CountingController : public UIViewController {
public:
    int loads = 0, didLoads = 0;
    void loadView() override
    {
        ++loads;
        setView(std::make_shared<UIView>(CGRectMake(0, 0, 50, 50)));
        // Asking for the view while it is being built does not build it again.
        EXPECT_EQ(view()->frame().size.width, 50);
    }
    void viewDidLoad() override
    {
        ++didLoads;
        EXPECT_EQ(loads, 1);
    }
};

TEST(ViewController, FirstViewRequestRunsLoadViewThenViewDidLoadOnce)
{
    CountingController c;
    EXPECT_FALSE(c.isViewLoaded());
    auto v = c.view();
    auto again = c.view();
    EXPECT_EQ(v, again);
    EXPECT_EQ(c.loads, 1);
    EXPECT_EQ(c.didLoads, 1);
    EXPECT_EQ(v->viewController(), &c);
    EXPECT_TRUE(c.shouldAutorotateToInterfaceOrientation(UIInterfaceOrientationPortrait));
}

TEST(ViewController, ResponderChainGoesFromRootViewToControllerToSuperview)
{
    auto window = view(0, 0, 320, 480);
    CountingController c;
    window->addSubview(c.view());
    auto child = view(0, 0, 10, 10);
    c.view()->addSubview(child);
    EXPECT_EQ(child->nextResponder(), c.view().get());
    EXPECT_EQ(c.view()->nextResponder(), &c);
    EXPECT_EQ(c.nextResponder(), window.get());

    // A replaced root view no longer leads to the controller.
    auto old = c.view();
    c.setView(view(0, 0, 20, 20));
    EXPECT_EQ(old->viewController(), nullptr);
}

} // namespace
} // namespace dazed

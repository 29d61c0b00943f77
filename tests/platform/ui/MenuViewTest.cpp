// The framework's menu: items tall enough for a finger on every screen, a tap that closes it and
// then acts, a tap outside or Escape that only closes it, and nothing drawn or woken while it waits.

#include "UITestSupport.h"
#include "platform/ui/UIMenuView.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace dazed {
namespace {

// A responder that holds the keys before the menu opens, as the sky screen does.
class KeyTaker : public UIView {
public:
    using UIView::UIView;
    std::vector<UIKey> keys;
    bool keyDown(const UIKey& key) override
    {
        keys.push_back(key);
        return true;
    }
};

struct Menu : ::testing::Test {
    test::HeadlessApp app;
    std::shared_ptr<KeyTaker> beneath = std::make_shared<KeyTaker>(CGRectMake(0, 0, 320, 480));
    std::vector<std::string> log;
    bool enabled{false};
    bool on{true};
    std::shared_ptr<UIMenuView> menu;

    void SetUp() override
    {
        app.window->addSubview(beneath);
        beneath->becomeFirstResponder();
        std::vector<UIMenuItem> items;
        items.push_back({"First", [this] { act("first"); }, nullptr, nullptr});
        items.push_back({"Marked", [this] { act("marked"); }, [this] { return on; }, nullptr});
        items.push_back({"Sometimes", [this] { act("sometimes"); }, nullptr,
                         [this] {
                             return enabled;
                         }});
        menu = std::make_shared<UIMenuView>(std::move(items));
        menu->onDismiss = [this] {
            log.push_back("closed");
        };
    }
    void act(const std::string& what)
    {
        // An action finds the menu closed and the keys given back already.
        log.push_back(what + (menu->isOpen() ? " (menu open)" : "") +
                      (beneath->isFirstResponder() ? "" : " (keys not back)"));
    }
    void open(CGPoint at = {160, 240})
    {
        menu->showInView(app.window, at);
        app.loop.display();
    }
    [[nodiscard]] CGPoint middleOf(std::size_t item) const { return menu->itemFrame(item).center(); }
};

TEST_F(Menu, ItemsAreAtLeastAFingertipTallAndThePanelStaysOnScreen)
{
    for (const CGSize screen : {CGSize{320, 480}, CGSize{480, 320}, CGSize{768, 1024}, CGSize{1024, 768}}) {
        menu->setFrame({{}, screen});
        for (const CGPoint anchor :
             {CGPoint{0, 0}, CGPoint{screen.width, screen.height}, CGPoint{-50, 9999}}) {
            menu->showInView(app.window, anchor);
            menu->setFrame({{}, screen});
            const CGRect panel = menu->panelFrame();
            EXPECT_GE(menu->itemHeight(), UIMenuView::kMinimumItemHeight);
            EXPECT_GE(panel.minX(), 0.0f);
            EXPECT_GE(panel.minY(), 0.0f);
            EXPECT_LE(panel.maxX(), screen.width);
            EXPECT_LE(panel.maxY(), screen.height);
            menu->dismiss();
        }
    }
    // A phone held sideways has room for seven items of at least 44 points.
    UIMenuView seven(std::vector<UIMenuItem>(7));
    seven.setFrame(CGRectMake(0, 0, 480, 320));
    EXPECT_GE(seven.itemHeight(), UIMenuView::kMinimumItemHeight);
    EXPECT_LE(seven.panelFrame().maxY(), 320.0f);
}

TEST_F(Menu, ATapOnAnItemClosesTheMenuThenRunsItsAction)
{
    open();
    EXPECT_TRUE(menu->isFirstResponder());
    app.tap(middleOf(0));
    EXPECT_EQ(log, (std::vector<std::string>{"closed", "first"}));
    EXPECT_FALSE(menu->isOpen());
    EXPECT_TRUE(beneath->isFirstResponder());
}

TEST_F(Menu, ATapOutsideOrEscapeOnlyCloses)
{
    open({160, 100});
    const CGRect panel = menu->panelFrame();
    app.tap({panel.center().x, panel.maxY() + 20});
    EXPECT_EQ(log, (std::vector<std::string>{"closed"}));

    log.clear();
    open();
    app.send(KeyInput{UIKey::fromCharacter('t')});
    EXPECT_TRUE(menu->isOpen()) << "other keys are swallowed";
    EXPECT_TRUE(beneath->keys.empty());
    app.send(KeyInput{UIKey{UIKeyCode::Escape, 0, 0, false}});
    EXPECT_EQ(log, (std::vector<std::string>{"closed"}));
    EXPECT_TRUE(beneath->isFirstResponder());
    app.send(KeyInput{UIKey::fromCharacter('t')});
    EXPECT_EQ(beneath->keys.size(), 1u) << "the keys are back where they were";
}

TEST_F(Menu, ADisabledItemDoesNothingAndSlidingOffAnItemChoosesNothing)
{
    open();
    app.tap(middleOf(2));
    EXPECT_TRUE(log.empty());
    EXPECT_TRUE(menu->isOpen());

    app.touch(1, UITouchPhase::Began, middleOf(0));
    EXPECT_EQ(menu->highlightedItem(), std::optional<std::size_t>(0));
    app.touch(1, UITouchPhase::Moved, middleOf(1));
    EXPECT_FALSE(menu->highlightedItem());
    app.touch(1, UITouchPhase::Ended, middleOf(1));
    EXPECT_TRUE(log.empty());
    EXPECT_TRUE(menu->isOpen()) << "a press that began on the panel never closes it";

    enabled = true;
    app.tap(middleOf(2));
    EXPECT_EQ(log, (std::vector<std::string>{"closed", "sometimes"}));
}

TEST_F(Menu, TheMarkIsReadEachTimeTheMenuIsDrawn)
{
    open();
    // The host keeps the frame it handed out and presents the next one into a new picture.
    const auto before = app.host.lastPresented();
    ASSERT_TRUE(before);
    on = false;
    menu->setNeedsDisplay();
    app.loop.display();
    ASSERT_NE(app.host.lastPresented(), before);
    EXPECT_GT(test::worstChannelDifference(*before, *app.host.lastPresented()), 100) << "On became Off";
}

TEST_F(Menu, AnOpenMenuAsksForNoFrameAndNoWakeUp)
{
    open();
    const int frames = app.host.presentCount();
    app.send(KeyInput{UIKey::fromCharacter('x')});
    app.send(TouchInput{{{1, UITouchPhase::Began, middleOf(2)}}, 0}); // a disabled item
    app.send(TouchInput{{{1, UITouchPhase::Ended, middleOf(2)}}, 0});
    EXPECT_EQ(app.host.presentCount(), frames);
    EXPECT_FALSE(app.host.waits().back()) << "the loop sleeps until the next event";
}

TEST_F(Menu, AScreenThatShrinksToOnePointOrTurnsKeepsTheMenuWhole)
{
    open();
    for (const CGSize screen : {CGSize{1, 1}, CGSize{0, 0}, CGSize{480, 320}, CGSize{30, 3000}}) {
        menu->setFrame({{}, screen});
        app.loop.display();
        app.tap({0, 0});
        if (!menu->isOpen())
            open();
    }
    menu->setFrame(CGRectMake(0, 0, 320, 480));
    EXPECT_GE(menu->itemHeight(), UIMenuView::kMinimumItemHeight);
}

TEST_F(Menu, ANoteGrowsThePanelBeneathTheItemsAndNeverCoversThem)
{
    std::string note;
    menu->setNote([&note] { return note; });
    for (const CGSize screen : {CGSize{320, 480}, CGSize{480, 320}, CGSize{1024, 768}}) {
        menu->setFrame({{}, screen});
        open({screen.width, screen.height});
        menu->setFrame({{}, screen});
        note.clear();
        const CGRect without = menu->panelFrame();
        EXPECT_EQ(menu->noteFrame(), CGRect{});
        note = "GeoClue is not running on the system bus, and no place is remembered";
        const CGRect with = menu->panelFrame();
        const CGRect area = menu->noteFrame();
        EXPECT_GE(menu->itemHeight(), UIMenuView::kMinimumItemHeight);
        EXPECT_FLOAT_EQ(with.size.height, menu->itemHeight() * static_cast<float>(menu->items().size()) +
                                              UIMenuView::kNoteHeight);
        EXPECT_LE(with.maxY(), screen.height) << "the panel stays on screen with its note";
        EXPECT_GE(with.minY(), 0.0f);
        EXPECT_FLOAT_EQ(area.maxY(), with.maxY());
        EXPECT_GE(area.minY(), menu->itemFrame(menu->items().size() - 1).maxY());
        EXPECT_LE(without.size.height, with.size.height);
        menu->dismiss();
    }
}

TEST_F(Menu, OnAScreenTooShortForTheNoteUnderTheItemsItGoesBesideThem)
{
    // Seven items fill a phone held sideways (7 x 44 points of its 320): no room under them.
    std::vector<UIMenuItem> seven(7);
    for (auto& item : seven)
        item.title = "Item";
    auto full = std::make_shared<UIMenuView>(std::move(seven));
    full->setNote([] { return std::string("No place: GeoClue is not running on the system bus"); });
    for (const CGPoint anchor : {CGPoint{0, 0}, CGPoint{240, 160}, CGPoint{480, 320}}) {
        full->showInView(app.window, anchor);
        full->setFrame(CGRectMake(0, 0, 480, 320));
        const CGRect panel = full->panelFrame();
        const CGRect area = full->noteFrame();
        EXPECT_GE(full->itemHeight(), UIMenuView::kMinimumItemHeight);
        EXPECT_LE(panel.maxY(), 320.0f);
        EXPECT_FALSE(area.overlaps(panel)) << "the note covers no item";
        EXPECT_GE(area.minX(), 0.0f);
        EXPECT_LE(area.maxX(), 480.0f);
        EXPECT_GE(area.minY(), 0.0f);
        EXPECT_LE(area.maxY(), 320.0f);
        EXPECT_GT(area.size.width, 100.0f);
        app.loop.display();
        full->dismiss();
    }
}

TEST_F(Menu, ATapOnTheNoteChoosesNothingAndKeepsTheMenuOpen)
{
    menu->setNote([] { return std::string("Asking the system where this is"); });
    open();
    const int frames = app.host.presentCount();
    app.tap(menu->noteFrame().center());
    EXPECT_TRUE(menu->isOpen());
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(app.host.presentCount(), frames) << "nothing to draw again";
}

TEST_F(Menu, TheNoteIsReadEachTimeTheMenuIsDrawnAndALongOneStaysInItsPlace)
{
    std::string note = "Asking";
    menu->setNote([&note] { return note; });
    open();
    const auto asking = app.host.lastPresented();
    ASSERT_TRUE(asking);
    // Far more words than two lines hold: the rest is cut, and nothing is drawn outside the panel.
    note = "No place: GeoClue refused to say where this is (access denied), and no place is remembered; "
           "give one with --place or allow the chart in the system's privacy settings, then try again";
    menu->setNeedsDisplay();
    app.loop.display();
    const auto refused = app.host.lastPresented();
    ASSERT_NE(refused, asking);
    EXPECT_GT(test::worstChannelDifference(*asking, *refused), 100) << "the new note is drawn";
    const CGRect area = menu->noteFrame();
    const float scale = refused->scale();
    int changedOutside = 0;
    for (int y = 0; y < refused->pixelHeight(); ++y)
        for (int x = 0; x < refused->pixelWidth(); ++x) {
            const CGPoint p{(static_cast<float>(x) + 0.5f) / scale, (static_cast<float>(y) + 0.5f) / scale};
            if (!area.contains(p) && refused->pixelAt(x, y) != asking->pixelAt(x, y))
                ++changedOutside;
        }
    EXPECT_EQ(changedOutside, 0);
}

} // namespace
} // namespace dazed

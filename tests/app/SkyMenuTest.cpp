// The long-press menu and Find… in the whole app on the headless host: a hold on the sky opens the
// menu, its items send the keys the keyboard sends, and a name chosen from the list centres the sky
// as --at does.

#include "app/SkyMenu.h"

#include "AppTestSupport.h"
#include "app/FindNameView.h"
#include "app/FlipsideViewController.h"
#include "catalog/NameLookup.h"
#include "platform/ui/UIMenuView.h"
#include "platform/ui/UITableView.h"
#include "render/QuartzView.h"
#include "render/SkyCentre.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace dazed {
namespace {

using test::LaunchedApp;

constexpr double kHold = UILongPressGestureRecognizer::kMinimumPressDuration;

// A finger held still on the sky until the hold comes due; it stays down.
void holdAt(LaunchedApp& app, CGPoint p)
{
    app.send(TouchInput{{{7, UITouchPhase::Began, p}}, 0});
    for (int i = 0; i < 5 && !(app.root().menu() && app.root().menu()->isOpen()); ++i)
        app.loop->step(); // sleeps to the hold's deadline
}

void lift(LaunchedApp& app, CGPoint p)
{
    app.send(TouchInput{{{7, UITouchPhase::Ended, p}}, 0});
}

void press(LaunchedApp& app, UIKey key)
{
    app.send(KeyInput{key});
}

std::size_t itemTitled(const UIMenuView& menu, const std::string& title)
{
    for (std::size_t i = 0; i < menu.items().size(); ++i)
        if (menu.items()[i].title == title)
            return i;
    ADD_FAILURE() << "no item " << title;
    return 0;
}

TEST(SkyMenu, EachItemSendsItsKeyAndThePlaceItemsWaitForAPlace)
{
    std::vector<char> sent;
    bool place = false;
    bool night = true;
    SkyMenuHooks hooks;
    hooks.sendKey = [&](const UIKey& key) {
        sent.push_back(key.character);
    };
    hooks.nightMode = [&] {
        return night;
    };
    hooks.placeKnown = [&] {
        return place;
    };
    const auto items = skyMenuItems(hooks);
    std::vector<std::string> titles;
    for (const auto& item : items) {
        titles.push_back(item.title);
        item.action();
    }
    EXPECT_EQ(titles, (std::vector<std::string>{"Night mode", "Tonight here", "Now", "One hour back",
                                                "One hour on", "Find\xE2\x80\xA6", "Centre on the zenith"}));
    EXPECT_EQ(sent, (std::vector<char>{'r', 't', 'n', '[', ']', '/', 'h'}));
    EXPECT_TRUE(items[0].isOn && items[0].isOn());
    EXPECT_FALSE(items[1].isOn) << "no way to read the layer given: no mark";
    const auto enabled = [&](std::size_t i) {
        return !items[i].isEnabled || items[i].isEnabled();
    };
    EXPECT_EQ((std::vector<bool>{enabled(0), enabled(1), enabled(2), enabled(3), enabled(4), enabled(5),
                                 enabled(6)}),
              (std::vector<bool>{true, true, false, false, false, true, false}));
    place = true;
    for (std::size_t i = 0; i < items.size(); ++i)
        EXPECT_TRUE(enabled(i)) << titles[i];
}

TEST(SkyMenu, AHoldOnTheSkyOpensTheMenuAndMovesNothing)
{
    LaunchedApp app(DeviceFamily::Phone);
    const auto& sky = app.root().mainViewController()->navigation();
    holdAt(app, {160, 240});
    const auto& menu = app.root().menu();
    ASSERT_TRUE(menu && menu->isOpen());
    EXPECT_DOUBLE_EQ(app.host.now(), kHold);
    lift(app, {160, 240});
    EXPECT_TRUE(menu->isOpen()) << "lifting the holding finger chooses nothing";
    EXPECT_FLOAT_EQ(sky.xs, 17.0f);
    EXPECT_FLOAT_EQ(sky.ys, 31.0f);
    EXPECT_FALSE(menu->isItemEnabled(itemTitled(*menu, "Now"))) << "no place is known";
    EXPECT_TRUE(menu->isItemEnabled(itemTitled(*menu, "Tonight here")));

    // A tap outside the panel closes it; the sky takes the keys again.
    const CGRect panel = menu->panelFrame();
    app.tap({panel.center().x, panel.minY() > 20 ? panel.minY() - 10 : panel.maxY() + 10});
    EXPECT_FALSE(menu->isOpen());
    EXPECT_FLOAT_EQ(sky.xs, 17.0f);
    press(app, UIKey::fromCharacter('l'));
    EXPECT_EQ(app.root().mainViewController()->quartzView()->fields().wLN, 1);
}

TEST(SkyMenu, FindCentresOnTheChosenNameAsTheCommandLineDoes)
{
    LaunchedApp app(DeviceFamily::Phone);
    holdAt(app, {160, 240});
    lift(app, {160, 240});
    const auto& menu = app.root().menu();
    ASSERT_TRUE(menu && menu->isOpen());
    app.tap(menu->itemFrame(itemTitled(*menu, "Find\xE2\x80\xA6")).center());
    const auto& find = app.root().findView();
    ASSERT_TRUE(find && find->isOpen());
    EXPECT_EQ(find->list()->rows(), namesInOrder());
    for (const char c : std::string("betel"))
        press(app, UIKey::fromCharacter(c));
    EXPECT_EQ(find->list()->rows(), std::vector<std::string>{"Betelgeuse"});
    press(app, UIKey{UIKeyCode::Return, 0, 0, false});
    EXPECT_FALSE(find->isOpen());
    // Betelgeuse (Hipparcos, J2000): 5 h 55 m 10.3 s, +7 deg 24' 25".
    const auto& sky = app.root().mainViewController()->navigation();
    EXPECT_NEAR(sky.xs, 5.0 + 55.0 / 60 + 10.3 / 3600, 0.005);
    EXPECT_NEAR(sky.ys, 7.0 + 24.0 / 60 + 25.0 / 3600, 0.02);
    EXPECT_FLOAT_EQ(xs1, sky.xs) << "the published centre follows, as after a drag";
}

TEST(SkyMenu, TheSlashOpensTheListATapChoosesAndEscapeCloses)
{
    LaunchedApp app(DeviceFamily::Phone);
    press(app, UIKey::fromCharacter('/'));
    const auto& find = app.root().findView();
    ASSERT_TRUE(find && find->isOpen());
    press(app, UIKey::fromCharacter('o'));
    press(app, UIKey::fromCharacter('r'));
    press(app, UIKey::fromCharacter('x'));
    press(app, UIKey{UIKeyCode::Backspace, 0, 0, false});
    ASSERT_FALSE(find->list()->rows().empty());
    EXPECT_EQ(find->list()->rows()[0], "Orion");
    // A tap on the first row, below the header.
    app.tap({100, FindNameView::kHeaderHeight + UITableView::kRowHeight / 2});
    EXPECT_FALSE(find->isOpen());
    const auto orion = findNamedPlace("Orion");
    const auto& place = std::get<NamedPlace>(orion);
    const auto& sky = app.root().mainViewController()->navigation();
    EXPECT_FLOAT_EQ(sky.xs, static_cast<float>(place.position.rightAscensionHours));
    EXPECT_FLOAT_EQ(sky.ys, static_cast<float>(place.position.declinationDegrees));

    press(app, UIKey::fromCharacter('/'));
    ASSERT_TRUE(find->isOpen());
    EXPECT_TRUE(find->filter().empty()) << "each opening starts with the whole list";
    press(app, UIKey{UIKeyCode::Escape, 0, 0, false});
    EXPECT_FALSE(find->isOpen());
    EXPECT_FLOAT_EQ(sky.xs, static_cast<float>(place.position.rightAscensionHours)) << "nothing chosen";
    // Return on a filter that matches nothing chooses nothing.
    press(app, UIKey::fromCharacter('/'));
    press(app, UIKey::fromCharacter('q'));
    press(app, UIKey::fromCharacter('q'));
    press(app, UIKey{UIKeyCode::Return, 0, 0, false});
    EXPECT_TRUE(find->isOpen());
    app.tap(CGRectMake(find->doneButton()->frame().origin.x, 0, FindNameView::kDoneWidth,
                       FindNameView::kHeaderHeight)
                .center());
    EXPECT_FALSE(find->isOpen());
}

TEST(SkyMenu, TheMenuAndTheListFollowTheScreenWhenTheDeviceTurns)
{
    LaunchedApp app(DeviceFamily::Phone);
    holdAt(app, {300, 460});
    lift(app, {300, 460});
    const auto& menu = app.root().menu();
    ASSERT_TRUE(menu && menu->isOpen());
    app.send(RotateInput{RotationDirection::Left});
    EXPECT_EQ(menu->frame().size, (CGSize{480, 320}));
    const CGRect panel = menu->panelFrame();
    EXPECT_LE(panel.maxX(), 480.0f);
    EXPECT_LE(panel.maxY(), 320.0f);
    EXPECT_GE(menu->itemHeight(), UIMenuView::kMinimumItemHeight);
    press(app, UIKey{UIKeyCode::Escape, 0, 0, false});

    press(app, UIKey::fromCharacter('/'));
    const auto& find = app.root().findView();
    ASSERT_TRUE(find && find->isOpen());
    app.send(RotateInput{RotationDirection::Right});
    EXPECT_EQ(find->frame().size, (CGSize{320, 480}));
    EXPECT_EQ(find->list()->frame().size, (CGSize{320, 480 - FindNameView::kHeaderHeight}));
}

TEST(SkyMenu, NoMenuWhileThePageShowsOrTheScreenFlips)
{
    LaunchedApp app(DeviceFamily::Phone);
    press(app, UIKey::fromCharacter('i'));
    holdAt(app, {160, 240});
    lift(app, {160, 240});
    EXPECT_FALSE(app.root().menu() && app.root().menu()->isOpen()) << "during the flip";
    app.settle();
    holdAt(app, {160, 240});
    lift(app, {160, 240});
    EXPECT_FALSE(app.root().menu() && app.root().menu()->isOpen()) << "on the page";
    press(app, UIKey::fromCharacter('/'));
    EXPECT_FALSE(app.root().findView() && app.root().findView()->isOpen());
}

TEST(SkyMenu, APressOnTheInfoButtonThatOutlastsTheMenuTurnsToThePageAndTakesTheMenuAlong)
{
    // A finger holds the sky, the mouse goes down on the info button before the hold comes due,
    // and comes up there once the menu is open: the button was pressed before the menu came, and
    // turns the screen over. The menu goes with the sky it lay over, not beneath the page.
    LaunchedApp app(DeviceFamily::Phone);
    ASSERT_TRUE(app.root().infoButton());
    const CGPoint button = app.root().infoButton()->center();
    app.send(TouchInput{{{7, UITouchPhase::Began, {160, 240}}}, 0});
    app.host.advance(kHold / 2);
    app.send(TouchInput{{{-1, UITouchPhase::Began, button}}, 0});
    for (int i = 0; i < 5 && !(app.root().menu() && app.root().menu()->isOpen()); ++i)
        app.loop->step(); // sleeps to the hold's deadline
    ASSERT_TRUE(app.root().menu() && app.root().menu()->isOpen());
    app.send(TouchInput{{{-1, UITouchPhase::Ended, button}}, 0});
    lift(app, {160, 240});
    app.settle();
    EXPECT_FALSE(app.root().menu()->isOpen());
    const auto root = app.root().view();
    if (!app.root().isShowingSky()) {
        const auto& shown = root->subviews();
        ASSERT_EQ(shown.size(), 2u) << "the page and its bar, nothing beneath";
        EXPECT_EQ(shown[0], app.root().flipsideViewController()->view());
        press(app, UIKey::fromCharacter('i'));
        app.settle();
    }
    ASSERT_TRUE(app.root().isShowingSky());
    EXPECT_EQ(root->subviews().size(), 2u) << "the sky and its button, and no menu come back";
    holdAt(app, {160, 240});
    EXPECT_TRUE(app.root().menu()->isOpen()) << "a menu opens again";
}

} // namespace
} // namespace dazed

namespace dazed {
namespace {

TEST(FindList, AnOverlongOrStrangeFilterIsKeptShortAndPlain)
{
    LaunchedApp app(DeviceFamily::Phone);
    press(app, UIKey::fromCharacter('/'));
    const auto& find = app.root().findView();
    ASSERT_TRUE(find && find->isOpen());
    for (int i = 0; i < 100; ++i)
        press(app, UIKey::fromCharacter('a'));
    EXPECT_EQ(find->filter().size(), FindNameView::kMaximumFilterLength);
    EXPECT_TRUE(find->list()->rows().empty());
    for (std::size_t i = 0; i < FindNameView::kMaximumFilterLength + 5; ++i)
        press(app, UIKey{UIKeyCode::Backspace, 0, 0, false});
    EXPECT_TRUE(find->filter().empty()) << "Backspace on an empty filter does nothing";
    // Control characters, high bytes and punctuation other than space and hyphen are not typed.
    for (const char c : {'\0', '\n', '\x7f', static_cast<char>(0xC3), '*', '\''})
        press(app, UIKey::fromCharacter(c));
    EXPECT_TRUE(find->filter().empty());
    EXPECT_EQ(find->list()->rows(), namesInOrder());
    // Keys with Ctrl or Alt are not typed either; the sky beneath is not steered.
    press(app, UIKey::fromCharacter('l', UIKeyModifierControl));
    press(app, UIKey{UIKeyCode::LeftArrow, 0, 0, false});
    EXPECT_TRUE(find->filter().empty());
    EXPECT_FLOAT_EQ(app.root().mainViewController()->navigation().xs, 17.0f);
}

} // namespace
} // namespace dazed

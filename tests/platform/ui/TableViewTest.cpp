// The framework's list: a drag moves it under the finger, a fling glides on and slows down on the
// host's clock, redrawing only while it moves, and a tap chooses the row under it.

#include "UITestSupport.h"
#include "platform/ui/UITableView.h"

#include <cmath>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace dazed {
namespace {

constexpr float kRow = UITableView::kRowHeight;

struct List : ::testing::Test {
    test::HeadlessApp app;
    // 100 rows of 44 points in a list 440 points tall: ten rows show, 4400 - 440 to scroll.
    std::shared_ptr<UITableView> list = std::make_shared<UITableView>(CGRectMake(0, 40, 320, 440));
    std::vector<std::size_t> chosen;

    void SetUp() override
    {
        std::vector<std::string> rows;
        for (int i = 0; i < 100; ++i)
            rows.push_back("row " + std::to_string(i));
        list->setRows(std::move(rows));
        list->onSelectRow = [this](std::size_t row) {
            chosen.push_back(row);
        };
        app.window->addSubview(list);
        app.loop.display();
    }
    // A finger moved in steps of `step` points up the screen, one frame apart.
    void drag(float fromY, float step, int steps, double frame = 1.0 / 60.0)
    {
        app.touch(1, UITouchPhase::Began, {160, fromY});
        for (int i = 1; i <= steps; ++i) {
            app.host.advance(frame);
            app.touch(1, UITouchPhase::Moved, {160, fromY - step * static_cast<float>(i)});
        }
    }
    void lift(float y) { app.touch(1, UITouchPhase::Ended, {160, y}); }
};

TEST_F(List, ADragMovesTheListUnderTheFingerWithinItsEnds)
{
    EXPECT_FLOAT_EQ(list->maximumContentOffset(), 100 * kRow - 440);
    drag(400, 10, 15);
    EXPECT_FLOAT_EQ(list->contentOffset(), 150);
    app.touch(1, UITouchPhase::Moved, {160, 450}); // 50 points below where it went down
    EXPECT_FLOAT_EQ(list->contentOffset(), 0) << "never above the first row";
    app.touch(1, UITouchPhase::Moved, {160, -9000});
    EXPECT_FLOAT_EQ(list->contentOffset(), list->maximumContentOffset());
    app.host.advance(0.5);
    lift(-9000);
    EXPECT_FALSE(list->isDecelerating());
    EXPECT_TRUE(chosen.empty()) << "a drag chooses nothing";
}

TEST_F(List, ATapChoosesTheRowUnderItAfterScrolling)
{
    app.tap({160, 40 + 10});
    app.tap({160, 40 + kRow * 3 + 5});
    list->setContentOffset(kRow * 20 + 4);
    app.tap({160, 40 + 1});
    EXPECT_EQ(chosen, (std::vector<std::size_t>{0, 3, 20}));
    // A finger that wobbles less than a tap's travel still taps.
    app.touch(1, UITouchPhase::Began, {160, 300});
    app.touch(1, UITouchPhase::Moved, {163, 306});
    app.touch(1, UITouchPhase::Ended, {163, 306});
    EXPECT_EQ(chosen.size(), 4u);
}

TEST_F(List, AFlingGlidesOnSlowingDownThenStopsAndTheLoopSleeps)
{
    drag(400, 20, 5); // 1200 points a second up the screen
    const float released = list->contentOffset();
    lift(300);
    ASSERT_TRUE(list->isDecelerating());
    EXPECT_NEAR(list->glideVelocity(), 1200.0, 1e-3);

    std::vector<float> offsets{released};
    std::vector<double> times{app.host.now()};
    const int framesBefore = app.host.presentCount();
    for (int i = 0; i < 600 && list->isDecelerating(); ++i) {
        app.loop.step();
        offsets.push_back(list->contentOffset());
        times.push_back(app.host.now());
    }
    ASSERT_FALSE(list->isDecelerating()) << "the glide stops by itself";
    ASSERT_GT(offsets.size(), 10u);
    for (std::size_t i = 1; i < times.size(); ++i)
        EXPECT_NEAR(times[i] - times[i - 1], 1.0 / 60.0, 1e-9) << "one step a display frame";
    for (std::size_t i = 2; i < offsets.size(); ++i)
        EXPECT_LE(offsets[i] - offsets[i - 1], offsets[i - 1] - offsets[i - 2] + 1e-3f) << "slowing down";
    // The whole glide of an exponential slowing: v / ln(1 / (1 - k)) points, less what the
    // stopping speed leaves out.
    const double whole = 1200.0 / -std::log(1.0 - UITableView::kDecelerationPerSecond);
    const double rest =
        UITableView::kMinimumGlideSpeed / -std::log(1.0 - UITableView::kDecelerationPerSecond);
    EXPECT_NEAR(offsets.back() - released, whole - rest, 8.0);
    EXPECT_EQ(app.host.presentCount() - framesBefore, static_cast<int>(offsets.size()) - 1)
        << "a frame for each step of the glide";

    const int framesAtRest = app.host.presentCount();
    app.send(KeyInput{UIKey::fromCharacter('x')});
    EXPECT_EQ(app.host.presentCount(), framesAtRest) << "at rest the list draws nothing";
    EXPECT_FALSE(app.host.waits().back()) << "and wakes for nothing";
}

TEST_F(List, AGlideStopsAtTheEndAndAFingerCatchesIt)
{
    list->setContentOffset(list->maximumContentOffset() - 30);
    drag(400, 30, 4);
    lift(280);
    for (int i = 0; i < 600 && list->isDecelerating(); ++i)
        app.loop.step();
    EXPECT_FLOAT_EQ(list->contentOffset(), list->maximumContentOffset());
    EXPECT_FALSE(list->isDecelerating());

    list->setContentOffset(0);
    drag(400, 30, 4);
    lift(280);
    app.loop.step();
    ASSERT_TRUE(list->isDecelerating());
    const float caught = list->contentOffset();
    app.touch(1, UITouchPhase::Began, {160, 200});
    EXPECT_FALSE(list->isDecelerating());
    app.touch(1, UITouchPhase::Ended, {160, 200});
    EXPECT_FLOAT_EQ(list->contentOffset(), caught);
    EXPECT_TRUE(chosen.empty()) << "the touch that caught the list chose nothing";
}

TEST_F(List, AFingerThatStopsBeforeLiftingThrowsNothing)
{
    drag(400, 20, 5);
    app.host.advance(UITableView::kFlingMemory + 0.05);
    lift(300);
    EXPECT_FALSE(list->isDecelerating());
}

TEST_F(List, TheWheelScrollsAndBadOffsetsAreRefused)
{
    app.send(ScrollInput{{160, 200}, -1.0f});
    EXPECT_FLOAT_EQ(list->contentOffset(), UITableView::kRowsPerNotch * kRow);
    app.send(ScrollInput{{160, 200}, 1.0f});
    EXPECT_FLOAT_EQ(list->contentOffset(), 0);
    list->setContentOffset(std::nanf(""));
    EXPECT_FLOAT_EQ(list->contentOffset(), 0);
    list->setContentOffset(1e30f);
    EXPECT_FLOAT_EQ(list->contentOffset(), list->maximumContentOffset());
    // The list grows shorter than its view: nothing to scroll, and a tap below the rows chooses none.
    list->setRows({"only"});
    EXPECT_FLOAT_EQ(list->maximumContentOffset(), 0);
    app.tap({160, 300});
    EXPECT_TRUE(chosen.empty());
    list->setRows({});
    app.loop.display();
    list->setFrame(CGRectMake(0, 0, 1, 1));
    list->setRows({"a", "b"});
    app.loop.display();
}

} // namespace
} // namespace dazed

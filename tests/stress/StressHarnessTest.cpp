// The stress run's own parts: the seeded stream is the same for the same seed and only then, and
// the frame check passes whole frames and catches frames cut short or holding a NaN.

#include "FrameCheck.h"
#include "StressEvents.h"
#include "platform/graphics/RecordingContext.h"
#include "render/ChartSetup.h"
#include "render/SkyCentre.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace dazed::stress {
namespace {

std::vector<std::string> firstEvents(std::uint64_t seed, int count)
{
    EventStream stream(seed);
    Targets targets;
    targets.screen = {320, 480};
    targets.infoButton = CGPoint{290, 430};
    std::vector<std::string> events;
    for (int i = 0; i < count; ++i)
        events.push_back(describe(stream.next(targets)));
    return events;
}

TEST(EventStream, TheSameSeedGivesTheSameEventsAndAnotherSeedOthers)
{
    const auto a = firstEvents(42, 2000);
    EXPECT_EQ(a, firstEvents(42, 2000));
    EXPECT_NE(a, firstEvents(43, 2000));
    EXPECT_NE(firstEvents(sessionSeed(1, 0), 200), firstEvents(sessionSeed(1, 1), 200))
        << "each session of a run has its own events";
}

TEST(EventStream, CoversEveryKindOfEvent)
{
    const auto events = firstEvents(7, 5000);
    for (const char* kind :
         {"touch",      "Began",        "Moved", "Ended",          "Cancelled",   "Stationary", "scroll",
          "key",        "orientation",  "turn ", "cancel touches", "full screen", "resize",     "scale",
          "(290, 430)", "more waiting", "after", "return",         "backspace",   "'/'"}) {
        const bool seen = std::any_of(events.begin(), events.end(), [&](const std::string& e) {
            return e.find(kind) != std::string::npos;
        });
        EXPECT_TRUE(seen) << kind;
    }
}

TEST(Random, StaysWithinItsBoundsAndReachesBothEnds)
{
    Random random(3);
    std::set<std::uint64_t> seen;
    for (int i = 0; i < 1000; ++i) {
        const auto v = random.below(7);
        ASSERT_LT(v, 7u);
        seen.insert(v);
        const int b = random.between(-2, 2);
        ASSERT_GE(b, -2);
        ASSERT_LE(b, 2);
        const double u = random.unit();
        ASSERT_GE(u, 0.0);
        ASSERT_LT(u, 1.0);
    }
    EXPECT_EQ(seen.size(), 7u);
    const int wide = random.between(INT_MIN, INT_MAX); // the whole range, without overflow
    (void)wide;
    EXPECT_EQ(random.between(5, 5), 5);
}

// A recording that moves the view centre when the constellation lines are stroked, as a command
// arriving in the middle of a frame would: the frame must stop at the next check.
class CentreMovingContext final : public CGContext {
public:
    RecordingContext rec;

#define DAZED_DRAWING_CALL(function, method, Record, parameters, arguments)                                  \
    void method parameters override                                                                          \
    {                                                                                                        \
        rec.method arguments;                                                                                \
        if (std::string_view(#method) == "strokeLineSegments")                                               \
            xs1 += 1.0;                                                                                      \
    }
#include "platform/graphics/DrawingCalls.def"
};

void draw(QuartzView& view, CGContextRef context)
{
    UIGraphicsContextScope scope(context);
    view.drawRect(view.bounds());
}

TEST(FrameCheck, PassesAWholeFrameAndCatchesOneCutShort)
{
    ChartSetup setup;
    auto view = makeChartView(setup);
    RecordingContext whole;
    draw(*view, &whole);
    EXPECT_EQ(wholeFrameProblem(*view, whole), "");

    CentreMovingContext moving;
    draw(*view, &moving);
    EXPECT_NE(wholeFrameProblem(*view, moving.rec).find("did not end with the centre cross"),
              std::string::npos)
        << wholeFrameProblem(*view, moving.rec);
}

TEST(FrameCheck, CatchesANaNCentre)
{
    ChartSetup setup;
    auto view = makeChartView(setup);
    view->writexs(std::numeric_limits<float>::quiet_NaN(), 31, 320, 480);
    RecordingContext rec;
    draw(*view, &rec);
    EXPECT_NE(wholeFrameProblem(*view, rec), "");

    RecordingContext nan;
    nan.moveToPoint(1, std::numeric_limits<float>::quiet_NaN());
    EXPECT_EQ(nanIn(nan), "a NaN in drawing call 0 (CGContextMoveToPoint)");
    xs1 = 17.0;
}

} // namespace
} // namespace dazed::stress

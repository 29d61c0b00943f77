#include "RenderTestSupport.h"

#include <functional>
#include <gtest/gtest.h>
#include <limits>

namespace dazed {
namespace {

// Records like RecordingContext, and moves the view centre when the n-th call of one kind
// arrives: the way to make a centre check in the middle of a frame fail.
class CentreMovingContext final : public CGContext {
public:
    CentreMovingContext(const char* opName, int nth)
        : m_op(opName)
        , m_nth(nth)
    {
    }

    RecordingContext rec;

#define DAZED_DRAWING_CALL(function, method, Record, parameters, arguments)                                  \
    void method parameters override                                                                          \
    {                                                                                                        \
        after([&] { rec.method arguments; });                                                                \
    }
#include "platform/graphics/DrawingCalls.def"

private:
    void after(const std::function<void()>& record)
    {
        record();
        if (opName(rec.ops().back()) == m_op && ++m_seen == m_nth)
            xs1 += 1.0;
    }

    std::string m_op;
    int m_nth;
    int m_seen{0};
};

template <typename T> std::size_t countOf(const RecordingContext& rec)
{
    return rec.all<T>().size();
}

std::vector<op::SetRGBFillColor> fillColours(const RecordingContext& rec)
{
    return rec.all<op::SetRGBFillColor>();
}

TEST(PassOrder, FillColoursFollowTheStepsInEveryLabelMode)
{
    const op::SetRGBFillColor grey{0.8f, 0.8f, 0.8f, 1}, green{0, 0.8f, 0, 1}, gc{0, 0.5f, 0, 1},
        black{0, 0, 0, 1}, red{0.8f, 0, 0, 1}, white{1, 1, 1, 1};
    // Centred on the galactic centre so that every step draws something.
    auto mode1 = test::recordFrame({320, 480, 17.76f, -28.933f, 1.0, 1});
    EXPECT_EQ(fillColours(mode1->rec), (std::vector{grey, green, gc, black, red, white, red}));
    auto mode0 = test::recordFrame({320, 480, 17.76f, -28.933f, 1.0, 0});
    EXPECT_EQ(fillColours(mode0->rec), (std::vector{green, gc, black, red, white, red}));
    auto mode2 = test::recordFrame({320, 480, 17.76f, -28.933f, 1.0, 2});
    EXPECT_EQ(fillColours(mode2->rec), (std::vector{green, gc, black, red, white, red}));
}

TEST(LabelModes, ModeTwoDrawsNoLinesNoLabelsNoNamesButEverythingElse)
{
    auto mode0 = test::recordFrame({320, 480, 17.76f, -28.933f, 1.0, 0});
    auto mode1 = test::recordFrame({320, 480, 17.76f, -28.933f, 1.0, 1});
    auto mode2 = test::recordFrame({320, 480, 17.76f, -28.933f, 1.0, 2});
    const auto texts = [](const RecordingContext& rec) {
        return countOf<op::ShowTextAtPoint>(rec);
    };
    // Mode 2 shows only "GC" and the readout.
    EXPECT_EQ(texts(mode2->rec), 2u);
    EXPECT_GT(texts(mode0->rec), 2u);
    EXPECT_GT(texts(mode1->rec), texts(mode0->rec));
    EXPECT_EQ(countOf<op::StrokeLineSegments>(mode2->rec), 0u);
    EXPECT_EQ(countOf<op::StrokeLineSegments>(mode0->rec), 1u);
    EXPECT_EQ(mode2->view->fields().nblines, mode0->view->fields().nblines);
    EXPECT_GT(mode2->view->fields().nblines, 0);
    for (const auto* frame : {mode0.get(), mode2.get()}) {
        EXPECT_EQ(countOf<op::FillEllipseInRect>(frame->rec), countOf<op::FillEllipseInRect>(mode1->rec));
        EXPECT_EQ(countOf<op::MoveToPoint>(frame->rec), countOf<op::MoveToPoint>(mode1->rec));
        EXPECT_EQ(countOf<op::FillRect>(frame->rec), 1u);
    }
}

TEST(CentreChecks, NaNCentreRetainsNothingAndStopsAtTheFirstCheck)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    auto view = test::makeView({320, 480, nan, 31});
    RecordingContext rec;
    test::drawFrame(*view, &rec);
    EXPECT_EQ(view->fields().nblines, 0);
    // Set-up and the (empty) stroke of the line pass, nothing after.
    const auto& ops = rec.ops();
    ASSERT_FALSE(ops.empty());
    EXPECT_EQ(std::get<op::StrokeLineSegments>(ops.back()).count, 0u);
    EXPECT_EQ(ops.size(), 7u);

    view->writexs(17, nan, 320, 480);
    rec.clear();
    test::drawFrame(*view, &rec);
    EXPECT_EQ(rec.ops().size(), 7u);
}

TEST(CentreChecks, InfiniteCentreDrawsTheWholeFrameWithNothingVisible)
{
    const float inf = std::numeric_limits<float>::infinity();
    for (float ra : {inf, 5.0f}) {
        for (float dec : {inf, -inf, 5.0f}) {
            if (ra == 5.0f && dec == 5.0f)
                continue;
            auto view = test::makeView({320, 480, ra, dec});
            RecordingContext rec;
            test::drawFrame(*view, &rec);
            EXPECT_EQ(view->fields().nblines, 0);
            EXPECT_EQ(countOf<op::FillEllipseInRect>(rec), 0u);
            // The readout shows the fields it can: none of a non-finite coordinate.
            const auto texts = rec.all<op::ShowTextAtPoint>();
            ASSERT_EQ(texts.size(), 1u);
            if (!std::isfinite(ra)) {
                EXPECT_EQ(texts[0].text.substr(0, 18), "Ra : 00h 00mn 00s ");
            }
            if (!std::isfinite(dec)) {
                EXPECT_EQ(texts[0].text.substr(17), "  De : 00d 00' 00\" ");
            }
            // The cross is the last thing drawn.
            EXPECT_TRUE(std::holds_alternative<op::StrokePath>(rec.ops().back()));
        }
    }
}

struct Interruption {
    const char* op;
    int nth;
};

// The frame of a mode-1 view centred on the galactic centre, with the centre moved at a call.
std::unique_ptr<CentreMovingContext> interruptedFrame(Interruption at)
{
    auto view = test::makeView({320, 480, 17.76f, -28.933f, 1.0, 1});
    auto ctx = std::make_unique<CentreMovingContext>(at.op, at.nth);
    test::drawFrame(*view, ctx.get());
    return ctx;
}

TEST(CentreChecks, AMovedCentreEndsTheFrameAtTheNextCheck)
{
    const op::SetRGBFillColor grey{0.8f, 0.8f, 0.8f, 1}, green{0, 0.8f, 0, 1}, gc{0, 0.5f, 0, 1},
        black{0, 0, 0, 1}, red{0.8f, 0, 0, 1}, white{1, 1, 1, 1};
    // Moved during the line pass: everything after it is skipped.
    auto lines = interruptedFrame({"CGContextStrokeLineSegments", 1});
    EXPECT_TRUE(fillColours(lines->rec).empty());
    // During the star names: no labels.
    auto names = interruptedFrame({"CGContextShowTextAtPoint", 1});
    EXPECT_EQ(fillColours(names->rec), (std::vector{grey}));
    // During the labels: no "GC".
    auto labels = interruptedFrame({"CGContextSetRGBFillColor", 2});
    EXPECT_EQ(fillColours(labels->rec), (std::vector{grey, green}));
    // During the "GC" mark: the ecliptic still follows (no check between them), the equator not.
    auto gcMark = interruptedFrame({"CGContextSetRGBFillColor", 3});
    EXPECT_EQ(fillColours(gcMark->rec), (std::vector{grey, green, gc}));
    EXPECT_EQ(gcMark->rec.all<op::SetRGBStrokeColor>().back(), (op::SetRGBStrokeColor{0.4f, 0, 0, 1}));
    // During the equator: no readout, no stars, no cross.
    auto equator = interruptedFrame({"CGContextSetRGBStrokeColor", 3});
    EXPECT_EQ(fillColours(equator->rec), (std::vector{grey, green, gc}));
    EXPECT_EQ(countOf<op::FillRect>(equator->rec), 0u);
    // During the readout panel: the stars are still drawn (no check between them), the cross not.
    auto panel = interruptedFrame({"CGContextFillRect", 1});
    EXPECT_EQ(fillColours(panel->rec), (std::vector{grey, green, gc, black, red, white}));
    EXPECT_GT(countOf<op::FillEllipseInRect>(panel->rec), 0u);
    EXPECT_TRUE(std::holds_alternative<op::FillEllipseInRect>(panel->rec.ops().back()));
    // Moved by nothing: the cross ends the frame.
    auto whole = interruptedFrame({"none", 1});
    EXPECT_EQ(fillColours(whole->rec), (std::vector{grey, green, gc, black, red, white, red}));
}

TEST(CentreChecks, AFrameEndedEarlyDrewTheBeginningOfTheWholeFrame)
{
    // Every pass draws around the centre the frame began with, so a centre moved in the middle of
    // a pass changes nothing of what the frame still draws before its next check.
    const auto whole = interruptedFrame({"none", 1});
    const std::vector<DrawOp>& all = whole->rec.ops();
    for (Interruption at :
         {Interruption{"CGContextClearRect", 1}, Interruption{"CGContextStrokeLineSegments", 1},
          Interruption{"CGContextShowTextAtPoint", 1}, Interruption{"CGContextShowTextAtPoint", 20},
          Interruption{"CGContextSetRGBFillColor", 2}, Interruption{"CGContextSetRGBFillColor", 3},
          Interruption{"CGContextSetRGBStrokeColor", 2}, Interruption{"CGContextSetRGBStrokeColor", 3},
          Interruption{"CGContextFillRect", 1}, Interruption{"CGContextFillEllipseInRect", 5}}) {
        const auto ended = interruptedFrame(at);
        const std::vector<DrawOp>& drawn = ended->rec.ops();
        ASSERT_LT(drawn.size(), all.size()) << at.op << " " << at.nth;
        EXPECT_TRUE(std::equal(drawn.begin(), drawn.end(), all.begin())) << at.op << " " << at.nth;
    }
}

} // namespace
} // namespace dazed

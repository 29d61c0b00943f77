#include "platform/sdl/VideoDriverChoice.h"

#include <gtest/gtest.h>
#include <string>

namespace dazed {
namespace {

using Action = VideoDriverChoice::Action;

// A look at the compositor that answers `seat` and counts how often it was asked.
struct SeatLook {
    WaylandSeat seat{WaylandSeat::Offered};
    int calls{0};
    std::function<WaylandSeat()> function()
    {
        return [this] {
            ++calls;
            return seat;
        };
    }
};

TEST(VideoDriverChoice, WithoutWaylandDisplaySdlKeepsItsOwnOrderAndNoCompositorIsAsked)
{
    SeatLook look;
    const VideoDriverChoice choice = chooseVideoDriver({"", "", ":0"}, look.function());
    EXPECT_EQ(choice.action, Action::LeaveToSdl);
    EXPECT_EQ(look.calls, 0);
}

TEST(VideoDriverChoice, WaylandBeforeX11WhenBothDisplaysAreSet)
{
    // As in a phone's Wayland session, which runs an X server beside the compositor.
    SeatLook look;
    const VideoDriverChoice choice = chooseVideoDriver({"", "wayland-0", ":0"}, look.function());
    EXPECT_EQ(choice.action, Action::Ask);
    EXPECT_EQ(choice.drivers, "wayland,x11");
    EXPECT_EQ(look.calls, 1);
}

TEST(VideoDriverChoice, WaylandAloneStillKeepsX11AsTheFallbackInTheList)
{
    SeatLook look;
    const VideoDriverChoice choice = chooseVideoDriver({"", "/run/user/1000/wayland-1", ""}, look.function());
    EXPECT_EQ(choice.action, Action::Ask);
    EXPECT_EQ(choice.drivers, "wayland,x11");
}

TEST(VideoDriverChoice, ASocketWithoutACompositorLeavesTheFallbackToSdl)
{
    // SDL's Wayland driver fails to connect in turn and goes on to X11.
    SeatLook look{WaylandSeat::Unreachable};
    const VideoDriverChoice choice = chooseVideoDriver({"", "wayland-9", ":0"}, look.function());
    EXPECT_EQ(choice.action, Action::Ask);
    EXPECT_EQ(choice.drivers, "wayland,x11");
}

TEST(VideoDriverChoice, TheUsersDriverWinsAndNoCompositorIsAsked)
{
    for (const std::string asked : {"x11", "wayland", "offscreen", "x11,wayland"}) {
        SeatLook look;
        const VideoDriverChoice choice = chooseVideoDriver({asked, "wayland-0", ":0"}, look.function());
        EXPECT_EQ(choice.action, Action::LeaveToSdl) << asked;
        // Only a list that starts with Wayland needs the look for a seat.
        EXPECT_EQ(look.calls, asked == "wayland" ? 1 : 0) << asked;
    }
}

TEST(VideoDriverChoice, ASeatlessCompositorFallsBackToX11WhenThereIsOne)
{
    SeatLook look{WaylandSeat::Missing};
    const VideoDriverChoice choice = chooseVideoDriver({"", "wayland-1", ":5"}, look.function());
    EXPECT_EQ(choice.action, Action::Ask);
    EXPECT_EQ(choice.drivers, "x11");
}

TEST(VideoDriverChoice, ASeatlessCompositorWithoutX11IsRefusedInOneLine)
{
    SeatLook look{WaylandSeat::Missing};
    const VideoDriverChoice choice = chooseVideoDriver({"", "wayland-1", ""}, look.function());
    EXPECT_EQ(choice.action, Action::Refuse);
    EXPECT_NE(choice.reason.find("WAYLAND_DISPLAY=wayland-1"), std::string::npos) << choice.reason;
    EXPECT_NE(choice.reason.find("no seat"), std::string::npos) << choice.reason;
    EXPECT_NE(choice.reason.find("DISPLAY"), std::string::npos) << choice.reason;
    EXPECT_EQ(choice.reason.find('\n'), std::string::npos);
}

TEST(VideoDriverChoice, AskingForWaylandOnASeatlessCompositorIsRefusedRatherThanCrashing)
{
    SeatLook look{WaylandSeat::Missing};
    for (const std::string asked : {"wayland", "wayland,x11"}) {
        const VideoDriverChoice choice = chooseVideoDriver({asked, "wayland-1", ":0"}, look.function());
        EXPECT_EQ(choice.action, Action::Refuse) << asked;
        EXPECT_NE(choice.reason.find("SDL_VIDEODRIVER"), std::string::npos) << choice.reason;
    }
    // Another driver first in the list is the user's to try.
    EXPECT_EQ(chooseVideoDriver({"x11,wayland", "wayland-1", ":0"}, look.function()).action,
              Action::LeaveToSdl);
}

TEST(VideoDriverChoice, ACompositorThatNeverAnswersIsLeftForX11OrRefusedInOneLine)
{
    SeatLook look{WaylandSeat::Silent};
    const VideoDriverChoice withX11 = chooseVideoDriver({"", "wayland-2", ":0"}, look.function());
    EXPECT_EQ(withX11.action, Action::Ask);
    EXPECT_EQ(withX11.drivers, "x11");
    const VideoDriverChoice alone = chooseVideoDriver({"", "wayland-2", ""}, look.function());
    EXPECT_EQ(alone.action, Action::Refuse);
    EXPECT_NE(alone.reason.find("WAYLAND_DISPLAY=wayland-2 does not answer"), std::string::npos)
        << alone.reason;
    const VideoDriverChoice asked = chooseVideoDriver({"wayland", "wayland-2", ":0"}, look.function());
    EXPECT_EQ(asked.action, Action::Refuse);
    EXPECT_NE(asked.reason.find("SDL_VIDEODRIVER"), std::string::npos) << asked.reason;
}

} // namespace
} // namespace dazed

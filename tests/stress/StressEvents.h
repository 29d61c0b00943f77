#pragma once

// The random input of the stress run: a stream of host events made from a seed alone, the same on
// every machine and library (the engine is std::mt19937_64, whose output the language fixes; the
// distributions are our own, as the standard library's differ between implementations).
//
// The stream plays a restless user and a flaky machine at once: one to three fingers going down,
// moving, lifting and being cancelled, stray finger changes the host should never send but might,
// mouse clicks with click counts, the wheel, every kind of key, orientation codes in and out of
// range, quarter turns, taps on the info button, the Done button and the page's buttons, focus loss,
// full-screen toggles, window resizes and changes of pixel density, and a clock that moves by
// anything from nothing to more than a flip.

#include "platform/graphics/Geometry.h"
#include "platform/ui/Host.h"

#include <cstdint>
#include <deque>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace dazed::stress {

// Uniform draws from std::mt19937_64 by rejection and by the top 53 bits, so that a seed gives the
// same numbers everywhere.
class Random {
public:
    explicit Random(std::uint64_t seed);

    std::uint64_t bits();
    // Uniform in 0 .. n - 1; n > 0.
    std::uint64_t below(std::uint64_t n);
    // Uniform in lo .. hi, both included.
    int between(int lo, int hi);
    // Uniform in [0, 1).
    double unit();
    double uniform(double lo, double hi) { return lo + (hi - lo) * unit(); }
    bool chance(double p) { return unit() < p; }

private:
    std::mt19937_64 m_engine;
};

// The seed of one session of a run: sessions can be made (and replayed) on their own.
std::uint64_t sessionSeed(std::uint64_t runSeed, std::uint64_t session);

// Where the app's own controls are now, in device-screen points, for taps aimed at them.
struct Targets {
    CGSize screen;
    std::optional<CGPoint> infoButton; // while the sky screen is shown
    std::optional<CGPoint> doneButton; // while the page is shown
    std::optional<CGPoint> webButton;
    std::optional<CGPoint> storeButton;
    std::vector<CGPoint> menuItems;  // while the long-press menu is open
    std::optional<CGRect> nameList;  // while the list of names is open: its rows' area
    std::optional<CGPoint> findDone; // and its Done button
};

struct StressEvent {
    double advance{0};          // seconds the clock moves before the event arrives
    std::optional<float> scale; // the display's new pixel density, which comes with a ResizeInput
    // The window's new size in points, which comes with a ResizeInput: the screen's with --device fit
    // (any size at all, tiny, huge or not a number), ignored by a fixed device.
    std::optional<CGSize> window;
    HostEvent event;
    bool stepAfter{true}; // the loop runs (handles what is waiting, then displays) after this event
};

// One line for a failure report: "touch [id 3 Moved (12.5, -40)] taps 0", "key 'l' ctrl repeat", ...
std::string describe(const StressEvent& event);

class EventStream {
public:
    explicit EventStream(std::uint64_t seed);

    // The next event, aimed where `targets` says the controls are.
    StressEvent next(const Targets& targets);

private:
    struct Finger {
        std::int64_t id;
        CGPoint at;
    };

    void makeTouch(const Targets& targets);
    void makeTap(CGPoint p, int tapCount, std::int64_t id);
    void makeControlTap(const Targets& targets);
    // A finger or the mouse held still (or wobbling) past the hold's time, then lifted or dragged.
    void makeHold(const Targets& targets);
    [[nodiscard]] CGPoint anyPoint(CGSize screen);
    [[nodiscard]] CGPoint movedFrom(CGPoint p, CGSize screen);
    [[nodiscard]] int anyTapCount();
    [[nodiscard]] HostEvent anyKey();
    [[nodiscard]] double anyAdvance();
    // A window size in points for --device fit: mostly ordinary, now and then tiny, huge or not a number.
    [[nodiscard]] CGSize anyWindow();

    Random m_random;
    std::vector<Finger> m_fingers; // what the stream believes is down, in the order it went down
    std::int64_t m_nextId{1};
    // The rest of a sequence already begun (a tap's lift), each with the time it comes after when
    // the sequence fixes it (a hold's wait).
    struct Pending {
        template <typename Event>
        Pending(Event e, std::optional<double> after = std::nullopt) // NOLINT: events convert implicitly
            : event(std::move(e))
            , advance(after)
        {
        }
        HostEvent event;
        std::optional<double> advance;
    };
    std::deque<Pending> m_pending;
};

} // namespace dazed::stress

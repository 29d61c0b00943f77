#pragma once

// The sky screen's navigation as plain values and rules: the view centre, the zoom and the anchors
// of a drag and a pinch, changed by the number of fingers on the screen, one or two of their
// positions and a tap count. The sky-screen controller feeds the rules from touch events; each rule
// answers the one command the sky view is to receive, if any.
//
// Precision is part of the behaviour: the fields are single precision except the zoom; a drag's
// point differences are formed in single precision and widened, the quotients and sums are double,
// and the results are stored back in single precision.

#include "platform/graphics/Geometry.h"
#include "sky/SkySnapshot.h"

#include <cstddef>
#include <optional>
#include <variant>

namespace dazed {

struct NavigationState {
    CGPoint oldTouch;         // drag anchor: the finger at the last touch-down or drag step, points
    float xs{0.0f};           // right ascension of the view centre, hours, kept within 0..24
    float ys{0.0f};           // declination of the view centre, degrees, kept within -90..+90
    float largeur{0.0f};      // sky-screen width, points
    float hauteur{0.0f};      // sky-screen height, points
    float initialDistance{0}; // finger separation when the pinch began, points; -1 after a touch-up
    double echelle{0.0};      // zoom factor, kept within kMinZoom..kMaxZoom by the pinch
};

inline constexpr double kMinZoom = 0.9;
inline constexpr double kMaxZoom = 3.0;

// A sky screen wider than this is laid out and steered as a tablet's.
inline constexpr float kPhoneMaxWidth = 480.0f;

// What the rules read from a touch event: the number of fingers in its complete set, the positions
// of the first two (sky-screen points, in the set's order) and the first one's tap count.
struct TouchSample {
    std::size_t count{0};
    CGPoint first;
    CGPoint second;
    int tapCount{0};
};

// The commands the sky view understands.
struct WritexsCommand {
    float rightAscension; // hours
    float declination;    // degrees
    float width;          // points
    float height;
    friend bool operator==(const WritexsCommand&, const WritexsCommand&) = default;
};
struct SetEchCommand {
    double zoom;
    friend bool operator==(const SetEchCommand&, const SetEchCommand&) = default;
};
struct WriteStarNamesCommand {
    friend bool operator==(const WriteStarNamesCommand&, const WriteStarNamesCommand&) = default;
};
// The sky of a place and a moment to draw with the chart, or none to draw the chart alone.
struct SetSkyCommand {
    std::optional<SkySnapshot> sky;
    // The same place and moment (the snapshot is worked out from them).
    friend bool operator==(const SetSkyCommand& a, const SetSkyCommand& b)
    {
        if (a.sky.has_value() != b.sky.has_value())
            return false;
        return !a.sky || (a.sky->time == b.sky->time && a.sky->utcOffsetMinutes == b.sky->utcOffsetMinutes &&
                          a.sky->place.latitudeDegrees == b.sky->place.latitudeDegrees &&
                          a.sky->place.longitudeDegrees == b.sky->place.longitudeDegrees &&
                          a.sky->place.heightMetres == b.sky->place.heightMetres);
    }
};
using SkyViewCommand = std::variant<WritexsCommand, SetEchCommand, WriteStarNamesCommand, SetSkyCommand>;

// sqrt((x2 - x1)^2 + (y2 - y1)^2), entirely in single precision.
[[nodiscard]] float distanceBetweenTwoPoints(CGPoint from, CGPoint to);

// Fingers touch down: two start a pinch at their separation; one with tap count 1 or 2 becomes the
// drag anchor (a third tap of a triple tap does not move it).
void touchDown(NavigationState& state, const TouchSample& sample);
// Fingers move: two pinch, one drags; any other number does nothing.
[[nodiscard]] std::optional<SkyViewCommand> touchMove(NavigationState& state, const TouchSample& sample);
// Fingers lift: the second tap of a double tap advances the label mode; every touch-up ends the pinch.
[[nodiscard]] std::optional<SkyViewCommand> touchUp(NavigationState& state, const TouchSample& sample);
// Ends the pinch: initialDistance becomes -1.
void clearTouches(NavigationState& state);

// One drag step to the finger position `p`: moves the centre by the travel from the anchor, wraps
// the right ascension into 0..24 (once each way; a travel of more than a whole turn is reduced
// into the range, and one too large to measure leaves it), clamps the declination to +-90, and
// makes `p` the anchor.
[[nodiscard]] WritexsCommand dragStep(NavigationState& state, CGPoint p);
// One pinch step at finger separation `d`, measured against the separation the pinch began with.
[[nodiscard]] SetEchCommand pinchStep(NavigationState& state, float d);

// Desktop controls, through the same rules. A pan moves the centre as a drag of `travel` points
// would, without touching the drag anchor; a zoom multiplies the zoom factor, within the limits.
[[nodiscard]] WritexsCommand panBy(NavigationState& state, CGSize travel);
[[nodiscard]] SetEchCommand zoomBy(NavigationState& state, double factor);

} // namespace dazed

#include "navigation/NavigationState.h"

#include <cmath>

namespace dazed {

namespace {

bool isTabletSized(const NavigationState& state)
{
    return state.largeur > kPhoneMaxWidth;
}

// Finger travel per hour of right ascension is 100 x K x zoom points, per degree of declination
// 8 x K x zoom points.
double dragFactor(const NavigationState& state)
{
    return isTabletSized(state) ? 1.5 : 1.0;
}

double pinchDivisor(const NavigationState& state)
{
    return isTabletSized(state) ? 3000.0 : 2000.0;
}

WritexsCommand currentCentre(const NavigationState& state)
{
    return {state.xs, state.ys, state.largeur, state.hauteur};
}

// Moves the centre by a finger travel of (dx, dy) points, each formed in single precision.
void moveCentre(NavigationState& state, float dx, float dy)
{
    const double s = 2.0 * dragFactor(state) * state.echelle;
    const float before = state.xs;
    state.xs = static_cast<float>(static_cast<double>(state.xs) + static_cast<double>(dx) / (50.0 * s));
    // One wrap each way: exactly 0 and exactly 24 are kept as they are.
    if (state.xs < 0.0f)
        state.xs = state.xs + 24.0f;
    if (state.xs > 24.0f)
        state.xs = state.xs - 24.0f;
    // A travel of more than a whole turn (a finger or a captured mouse far off the screen, or the
    // jump after a pinch) needs more than one wrap; one too large to measure moves nothing.
    if (!(state.xs >= 0.0f && state.xs <= 24.0f)) {
        if (std::isfinite(state.xs)) {
            double hours = std::fmod(static_cast<double>(state.xs), 24.0);
            if (hours < 0.0)
                hours += 24.0;
            state.xs = static_cast<float>(hours);
        } else {
            state.xs = before;
        }
    }
    state.ys = static_cast<float>(static_cast<double>(state.ys) + static_cast<double>(dy) / (4.0 * s));
    if (state.ys > 90.0f)
        state.ys = 90.0f;
    if (state.ys < -90.0f)
        state.ys = -90.0f;
}

double clampedZoom(double zoom)
{
    if (zoom > kMaxZoom)
        return kMaxZoom;
    if (zoom < kMinZoom)
        return kMinZoom;
    return zoom;
}

} // namespace

float distanceBetweenTwoPoints(CGPoint from, CGPoint to)
{
    const float dx = to.x - from.x;
    const float dy = to.y - from.y;
    return std::sqrt(dx * dx + dy * dy);
}

void touchDown(NavigationState& state, const TouchSample& sample)
{
    if (sample.count == 2) {
        state.initialDistance = distanceBetweenTwoPoints(sample.first, sample.second);
    } else if (sample.count == 1) {
        if (sample.tapCount == 1 || sample.tapCount == 2)
            state.oldTouch = sample.first;
    }
}

std::optional<SkyViewCommand> touchMove(NavigationState& state, const TouchSample& sample)
{
    if (sample.count == 2)
        return pinchStep(state, distanceBetweenTwoPoints(sample.first, sample.second));
    if (sample.count == 1)
        return dragStep(state, sample.first);
    return std::nullopt;
}

std::optional<SkyViewCommand> touchUp(NavigationState& state, const TouchSample& sample)
{
    std::optional<SkyViewCommand> command;
    if (sample.count == 1 && sample.tapCount == 2)
        command = WriteStarNamesCommand{};
    clearTouches(state);
    return command;
}

void clearTouches(NavigationState& state)
{
    state.initialDistance = -1.0f;
}

WritexsCommand dragStep(NavigationState& state, CGPoint p)
{
    moveCentre(state, p.x - state.oldTouch.x, p.y - state.oldTouch.y);
    state.oldTouch = p;
    return currentCentre(state);
}

SetEchCommand pinchStep(NavigationState& state, float d)
{
    // A pinch that did not begin with two fingers touching down begins here.
    if (state.initialDistance < 1.0f)
        state.initialDistance = d;
    // The separation is always compared with the pinch's first one, never with the last step's.
    state.echelle =
        clampedZoom(state.echelle - static_cast<double>(state.initialDistance - d) / pinchDivisor(state));
    return {state.echelle};
}

WritexsCommand panBy(NavigationState& state, CGSize travel)
{
    moveCentre(state, travel.width, travel.height);
    return currentCentre(state);
}

SetEchCommand zoomBy(NavigationState& state, double factor)
{
    if (std::isfinite(factor) && factor > 0.0)
        state.echelle = clampedZoom(state.echelle * factor);
    return {state.echelle};
}

} // namespace dazed

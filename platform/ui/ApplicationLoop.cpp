#include "platform/ui/ApplicationLoop.h"

#include "platform/graphics/ImageContext.h"
#include "platform/graphics/PainterRecording.h"
#include "platform/graphics/PixelSize.h"
#include "platform/graphics/UIPainter.h"
#include "platform/ui/NSNotificationCenter.h"
#include "platform/ui/UIApplication.h"
#include "platform/ui/UIDevice.h"
#include "platform/ui/UIScreen.h"
#include "platform/ui/UIViewAnimation.h"
#include "platform/ui/UIViewController.h"

#include <algorithm>
#include <cmath>

namespace dazed {

namespace {

bool isPortrait(int o)
{
    return UIDeviceOrientationIsPortrait(o);
}

bool isLandscape(int o)
{
    return UIDeviceOrientationIsLandscape(o);
}

// The views of the window's root controllers fill the window, as it turns too.
void fitRootViewsToWindow(UIView& window)
{
    for (const auto& sub : window.subviews())
        if (sub->viewController())
            sub->setFrame(window.bounds());
}

// Whether `responder` is a view of `window`'s tree or a controller whose view is.
bool isInWindow(UIResponder* responder, const UIView& window)
{
    if (const auto* view = dynamic_cast<const UIView*>(responder))
        return view->isDescendantOfView(&window);
    if (auto* controller = dynamic_cast<UIViewController*>(responder))
        return controller->isViewLoaded() && controller->view()->isDescendantOfView(&window);
    return false;
}

CGSize screenSizeFor(DeviceFamily family, int uprightOrientation)
{
    const CGSize portrait = portraitScreenSize(family);
    return isLandscape(uprightOrientation) ? CGSize{portrait.height, portrait.width} : portrait;
}

// The interface orientation a controller is asked about for a device orientation.
int interfaceOrientationFor(int deviceOrientation)
{
    switch (deviceOrientation) {
    case UIDeviceOrientationPortraitUpsideDown:
        return UIInterfaceOrientationPortraitUpsideDown;
    case UIDeviceOrientationLandscapeLeft:
        return UIInterfaceOrientationLandscapeRight;
    case UIDeviceOrientationLandscapeRight:
        return UIInterfaceOrientationLandscapeLeft;
    default:
        return UIInterfaceOrientationPortrait;
    }
}

// A quarter turn of the device, anticlockwise (Left) or clockwise (Right).
UIDeviceOrientation turned(UIDeviceOrientation orientation, RotationDirection direction)
{
    constexpr UIDeviceOrientation anticlockwise[] = {
        UIDeviceOrientationPortrait, UIDeviceOrientationLandscapeLeft, UIDeviceOrientationPortraitUpsideDown,
        UIDeviceOrientationLandscapeRight};
    const auto* pos = std::find(std::begin(anticlockwise), std::end(anticlockwise), orientation);
    const int i = pos == std::end(anticlockwise) ? 0 : static_cast<int>(pos - std::begin(anticlockwise));
    const int step = direction == RotationDirection::Left ? 1 : 3;
    return anticlockwise[(i + step) % 4];
}

// A flipping side is drawn again in bands of columns of about this many bytes (at least
// kMinFlipBandColumns pixels wide), each band with this many pixels more on either side, so that
// the strips taken from near its edges are filtered as they would be from a picture of the whole
// side. A tablet side at two pixels per point, 12 MiB, is drawn in four bands of 3.1 MiB.
constexpr long kFlipBandBytes = 4096L << 10;
constexpr int kMinFlipBandColumns = 128;
constexpr int kFlipBandMarginPixels = 8;
// Bands of a side wider than kMinFlipBandColumns are made at least half as wide, margins aside,
// and each must hold a whole strip with a pixel to spare.
static_assert(kMinFlipBandColumns / 2 >= kMaxFlipStripSourcePixels + 1);

} // namespace

ApplicationLoop::ApplicationLoop(Host& host, DeviceFamily family, UIDeviceOrientation orientation)
    : m_host(host)
    , m_family(family)
    , m_screenSize(portraitScreenSize(family))
{
    UIScreen::setMainScreen(family);
    UIDevice::currentDevice().reset();
    UIDevice::currentDevice().setOrientation(orientation);
    if (isLandscape(orientation)) {
        m_uprightOrientation = orientation;
        m_screenSize = screenSizeFor(family, orientation);
    }
    UIApplication::sharedApplication().reset();
    UIApplication::sharedApplication().attachHost(&host);
    UIViewAnimation::shared().reset();
    UIViewAnimation::shared().setCapture([this](UIView& view) { return capture(view); });
    UIView::noteScreenChanged();
    m_host.showScreen(m_screenSize);
}

ApplicationLoop::~ApplicationLoop()
{
    UIViewAnimation::shared().reset();
    NSNotificationCenter::defaultCenter().removeAllObservers();
    UIApplication::sharedApplication().reset();
    UIDevice::currentDevice().reset();
    UIScreen::setMainScreen(std::nullopt);
}

Result<std::unique_ptr<ApplicationLoop>> ApplicationLoop::launch(Host& host, const LaunchOptions& options,
                                                                 const ClassRegistry& registry)
{
    const std::string path =
        options.interfacePath.empty() ? defaultInterfacePath(options.family) : options.interfacePath;
    auto description = readInterfaceDescription(path, registry);
    if (!description)
        return description.error();
    auto loop = std::make_unique<ApplicationLoop>(host, options.family, options.orientation);
    if (options.quitAfter > 0)
        loop->setQuitAt(host.now() + options.quitAfter);
    loop->m_interface = instantiateInterface(description.value(), registry);
    if (auto& window = loop->m_interface.window)
        window->setFrame({{}, loop->m_screenSize});
    if (loop->m_interface.delegate)
        loop->m_interface.delegate->applicationDidFinishLaunchingWithOptions(
            UIApplication::sharedApplication());
    if (auto window = UIApplication::sharedApplication().keyWindow()) {
        fitRootViewsToWindow(*window);
        loop->askControllersToAutorotate(*window, loop->m_uprightOrientation);
    }
    UIDevice::currentDevice().postPendingChange();
    loop->display();
    return loop;
}

bool ApplicationLoop::step()
{
    std::optional<double> deadline;
    if (UIViewAnimation::shared().isAnimating())
        deadline = m_lastFrame + m_host.frameInterval();
    if (m_quitAt > 0)
        deadline = std::min(deadline.value_or(m_quitAt), m_quitAt);
    UIApplication& application = UIApplication::sharedApplication();
    if (const auto wakeUp = application.wakeUpTime())
        deadline = std::min(deadline.value_or(*wakeUp), *wakeUp);
    if (auto event = m_host.waitEvent(deadline)) {
        handle(*event);
        while (!m_quit) {
            auto more = m_host.pollEvent();
            if (!more)
                break;
            handle(*more);
        }
    }
    if (m_quitAt > 0 && m_host.now() >= m_quitAt)
        m_quit = true;
    if (!m_quit)
        application.runWakeUpIfDue(m_host.now());
    if (!m_quit)
        display();
    return !m_quit;
}

int ApplicationLoop::run()
{
    while (step()) {
    }
    return 0;
}

void ApplicationLoop::handle(const HostEvent& event)
{
    if (const auto* touch = std::get_if<TouchInput>(&event)) {
        auto window = UIApplication::sharedApplication().keyWindow();
        m_touches.dispatch(*touch, m_host.now(), window.get());
    } else if (const auto* orientation = std::get_if<OrientationInput>(&event)) {
        // A code outside the device's range is not an orientation.
        if (const auto known = UIDeviceOrientationFromCode(orientation->orientation))
            setDeviceOrientation(*known);
    } else if (const auto* rotation = std::get_if<RotateInput>(&event)) {
        rotate(rotation->direction);
    } else if (std::holds_alternative<CancelTouchesInput>(event)) {
        m_touches.cancelAll(m_host.now());
    } else if (const auto* key = std::get_if<KeyInput>(&event)) {
        deliverKey(key->key);
    } else if (const auto* scroll = std::get_if<ScrollInput>(&event)) {
        deliverScroll(*scroll);
    } else if (std::holds_alternative<FullScreenInput>(event)) {
        m_host.toggleFullScreen();
    } else if (std::holds_alternative<ResizeInput>(event)) {
        m_forceDisplay = true;
    } else if (std::holds_alternative<QuitInput>(event)) {
        m_quit = true;
    }
    // A sensor started while handling the event reports its first reading now.
    UIDevice::currentDevice().postPendingChange();
    if (m_eventObserver)
        m_eventObserver(event);
}

void ApplicationLoop::deliverKey(const UIKey& key)
{
    const auto window = UIApplication::sharedApplication().keyWindow();
    if (!window)
        return;
    UIResponder* first = UIApplication::sharedApplication().firstResponder();
    if (first && isInWindow(first, *window)) {
        first->keyDown(key);
        return;
    }
    // Without a first responder on screen, the controllers of the window's subviews are offered the
    // key, topmost first.
    const auto subviews = window->subviews();
    for (auto it = subviews.rbegin(); it != subviews.rend(); ++it)
        if (auto* controller = (*it)->viewController(); controller && controller->keyDown(key))
            return;
}

void ApplicationLoop::deliverScroll(const ScrollInput& scroll)
{
    const auto window = UIApplication::sharedApplication().keyWindow();
    if (!window)
        return;
    if (UIView* hit = window->hitTest(window->convertPointFromScreen(scroll.location))) {
        const auto keep = hit->shared_from_this();
        hit->scrollWheel(UIScrollEvent{scroll.location, scroll.dy});
    }
}

void ApplicationLoop::rotate(RotationDirection direction)
{
    const UIDeviceOrientation current = UIDevice::currentDevice().sensedOrientation();
    setDeviceOrientation(
        turned(isPortrait(current) || isLandscape(current) ? current : m_uprightOrientation, direction));
}

void ApplicationLoop::setDeviceOrientation(UIDeviceOrientation orientation)
{
    if (orientation == UIDevice::currentDevice().sensedOrientation())
        return;
    if (isPortrait(orientation) || isLandscape(orientation)) {
        // Controllers are asked before the change is posted, so that a subscription they make when
        // asked already hears this change. The screen turns only when they accept.
        const auto window = UIApplication::sharedApplication().keyWindow();
        const bool accepted = !window || askControllersToAutorotate(*window, orientation);
        if (accepted) {
            // Fingers on the screen lose their place when it turns.
            m_touches.cancelAll(m_host.now());
            m_uprightOrientation = orientation;
            const CGSize size = screenSizeFor(m_family, orientation);
            if (size != m_screenSize) {
                m_screenSize = size;
                m_host.showScreen(size);
                if (window) {
                    window->setFrame({{}, size});
                    fitRootViewsToWindow(*window);
                }
                m_forceDisplay = true;
            }
        }
    }
    UIDevice::currentDevice().setOrientation(orientation);
}

bool ApplicationLoop::askControllersToAutorotate(UIView& window, int deviceOrientation)
{
    const auto keep = window.shared_from_this();
    const int asked = interfaceOrientationFor(deviceOrientation);
    bool accepted = true;
    if (auto* controller = window.viewController())
        accepted = controller->shouldAutorotateToInterfaceOrientation(asked);
    const auto subviews = window.subviews(); // a controller may change the tree when asked
    for (const auto& sub : subviews)
        askControllersIn(*sub, asked, true, accepted);
    return accepted;
}

void ApplicationLoop::askControllersIn(UIView& view, int interfaceOrientation, bool decides, bool& accepted)
{
    const auto keep = view.shared_from_this();
    bool nested = decides;
    if (auto* controller = view.viewController()) {
        const bool answer = controller->shouldAutorotateToInterfaceOrientation(interfaceOrientation);
        if (decides)
            accepted = accepted && answer;
        nested = false; // controllers inside a controller's view follow it
    }
    const auto subviews = view.subviews();
    for (const auto& sub : subviews)
        askControllersIn(*sub, interfaceOrientation, nested, accepted);
}

void ApplicationLoop::display()
{
    const double now = m_host.now();
    const bool animating = UIViewAnimation::shared().advance(now);
    const bool changed = UIView::consumeScreenChanged();
    if (!changed && !animating && !m_wasAnimating && !m_forceDisplay)
        return;
    m_wasAnimating = animating;
    m_forceDisplay = false;
    const auto compose = [this](Image& screen) {
        UIPainter painter(screen);
        const auto window = UIApplication::sharedApplication().keyWindow();
        if (!window || window->isHidden()) {
            painter.fill({0, 0, 0, 1});
            return;
        }
        // Whatever an opaque view over the whole screen (the sky) hides is not drawn: neither the
        // black beneath everything nor the views below it, each a screen's worth of pixels
        // written and overwritten every frame.
        Composition into{&screen, painter, true, screenCover(*window)};
        into.beneathCover = into.cover != nullptr;
        if (!into.cover)
            painter.fill({0, 0, 0, 1});
        drawTree(*window, window->frame().origin, into);
    };
    // Drawn straight into the window where it lends its pixels: a screen image of the loop's own
    // would be another screen's worth of memory, and one more copy of every frame.
    if (m_host.drawScreenInPlace(m_screenSize, compose)) {
        m_screen.reset();
    } else {
        const float scale = m_host.displayScale();
        const PixelSize pixels = pixelSizeFor(m_screenSize, scale);
        if (!m_screen || m_screen->scale() != pixels.scale || m_screen->pixelWidth() != pixels.width ||
            m_screen->pixelHeight() != pixels.height)
            m_screen = Image::create(m_screenSize, scale);
        compose(*m_screen);
        m_host.present(*m_screen);
    }
    if (!animating)
        m_flipBand.reset();
    m_lastFrame = now;
    ++m_presentedFrames;
}

const UIView* ApplicationLoop::screenCover(UIView& window) const
{
    const UIView* cover = nullptr;
    const CGSize screen = m_screenSize;
    const std::function<void(UIView&, CGPoint)> visit = [&](UIView& view, CGPoint origin) {
        // A flipping view shows its strips, which leave the screen around them uncovered, and
        // nothing of what it holds.
        if (view.isHidden() || UIViewAnimation::shared().transitionFor(&view))
            return;
        const CGSize size = view.frame().size;
        if (view.hidesWhatLiesBeneath() && origin.x <= 0.0f && origin.y <= 0.0f &&
            origin.x + size.width >= screen.width && origin.y + size.height >= screen.height)
            cover = &view;
        for (const auto& sub : view.subviews())
            visit(*sub, origin.translated(sub->frame().origin.x, sub->frame().origin.y));
    };
    visit(window, window.frame().origin);
    return cover;
}

std::shared_ptr<const PainterRecording> ApplicationLoop::capture(UIView& view)
{
    // The view alone, whatever covers it on screen (a flip's new side is captured while the screen
    // is composed), kept as calls: a picture would be a screen's worth of memory.
    auto recording = std::make_shared<PainterRecording>(view.frame().size);
    UIPainter painter(*recording, m_host.displayScale());
    Composition into{nullptr, painter, false};
    into.recording = recording.get();
    drawTree(view, {}, into);
    return recording;
}

void ApplicationLoop::drawTree(UIView& view, CGPoint origin, Composition& into)
{
    if (view.isHidden())
        return;
    if (into.withTransitions) {
        if (const auto* t = UIViewAnimation::shared().transitionFor(&view)) {
            const double progress = t->duration > 0 ? (m_host.now() - t->start) / t->duration : 1.0;
            const CGSize size = view.frame().size;
            const FlipFrame frame = flipFrameAt(t->kind, progress, size, m_host.displayScale());
            if (const auto side = UIViewAnimation::shared().side(&view, frame.showsNewContent))
                drawFlipFrame(*side, frame, origin, into);
            return;
        }
    }
    if (&view == into.cover)
        into.beneathCover = false;
    if (!into.beneathCover)
        drawOwnContent(view, origin, into);
    const auto subviews = view.subviews();
    for (const auto& sub : subviews)
        drawTree(*sub, origin.translated(sub->frame().origin.x, sub->frame().origin.y), into);
}

void ApplicationLoop::drawOwnContent(UIView& view, CGPoint origin, Composition& into)
{
    const auto& backing = view.updateBackingStore(m_host.displayScale());
    if (backing) {
        into.painter.drawImage(*backing, {origin, backing->size()});
    } else if (const auto& drawing = view.recordedDrawing()) {
        const CGRect area{origin, view.pictureSize()};
        if (!drawing->clearsFirst)
            into.painter.fillRect(area, drawing->background);
        if (into.recording) {
            const CGSize size = into.recording->size();
            if (drawing->clearsFirst && area.minX() <= 0.0f && area.minY() <= 0.0f &&
                area.maxX() >= size.width && area.maxY() >= size.height)
                into.recording->startsOpaque(); // the calls begin by clearing the view to black
            // Kept in order with the painter's calls, which go into the same recording.
            into.recording->add(
                [ops = drawing->ops, origin, area](Image& target, UIPainter&, CGPoint offset) {
                    drawRecorded(target, origin.translated(offset.x, offset.y), ImageContext::Clear::Black,
                                 *ops, CGRect{area.origin.translated(offset.x, offset.y), area.size});
                });
        } else if (into.target) {
            drawRecorded(*into.target, origin, ImageContext::Clear::Black, *drawing->ops, area);
        }
    } else if (const auto& colour = view.solidColour()) {
        into.painter.fillRect({origin, view.pictureSize()}, *colour);
    }
    view.paint(into.painter, origin);
}

void ApplicationLoop::drawFlipFrame(const PainterRecording& side, const FlipFrame& frame, CGPoint origin,
                                    Composition& into)
{
    // Each band of the side's columns is drawn again into one small picture, and the strips taken
    // from it: a picture of the whole side would be one more screen's worth of memory (12 MiB on a
    // tablet at two pixels per point) for as long as the flip runs.
    const PixelSize whole = pixelSizeFor(side.size(), m_host.displayScale());
    const float scale = whole.scale;
    // As few bands as the budget allows, all as wide: each band draws the whole side again.
    const long widest =
        std::max<long>(kMinFlipBandColumns, kFlipBandBytes / (4L * whole.height) - 2 * kFlipBandMarginPixels);
    const long bands = (whole.width + widest - 1) / widest;
    const int bandColumns = static_cast<int>(
        std::min<long>(whole.width, (whole.width + bands - 1) / bands + 2 * kFlipBandMarginPixels));
    // (A width in points may come back a pixel wider once rounded up.)
    if (!m_flipBand || m_flipBand->scale() != scale || m_flipBand->pixelHeight() != whole.height ||
        m_flipBand->pixelWidth() < bandColumns || m_flipBand->pixelWidth() > bandColumns + 1)
        m_flipBand = Image::create({static_cast<float>(bandColumns) / scale, side.size().height}, scale);
    Image& band = *m_flipBand;
    const int bandWidth = band.pixelWidth();
    const auto wholePixels = [scale](float points) {
        const float pixels = points * scale;
        return pixels == std::nearbyint(pixels);
    };
    const bool paintsWholeBand = side.opaque() && wholePixels(side.size().width) &&
                                 wholePixels(side.size().height) &&
                                 static_cast<float>(bandWidth) <= side.size().width * scale &&
                                 static_cast<float>(band.pixelHeight()) <= side.size().height * scale;
    UIPainter bandPainter(band);
    // Strips meet on whole pixels of the view; a view placed between pixels moves those edges off
    // them, and there the strips overlap by a fraction of a point so that no seam shows.
    const float stripOverlap = wholePixels(origin.x) ? 0.0f : 0.5f;

    const auto& strips = frame.strips;
    std::vector<ImageColumn> columns;
    std::size_t next = 0;
    while (next < strips.size()) {
        // The band starts a margin before the first strip still to draw, and ends where the side
        // does if it reaches that far, so that both are padded alike at the side's edges.
        const int wanted =
            static_cast<int>(std::floor(strips[next].sourceMinX * scale)) - kFlipBandMarginPixels;
        const int left = std::clamp(wanted, 0, std::max(0, whole.width - bandWidth));
        const int right = left + bandWidth;
        const float leftPoints = static_cast<float>(left) / scale;
        // A side that paints every pixel opaquely first leaves nothing of the band's last columns
        // to show: clearing four bands of 3 MiB cost about a millisecond of each flip frame at
        // tablet size and two pixels per point.
        if (!paintsWholeBand)
            bandPainter.fill({0, 0, 0, 0});
        side.replay(band, bandPainter, {-leftPoints, 0});
        std::size_t end = next + 1; // a strip wider than a band is drawn from what the band holds
        while (end < strips.size() &&
               (right >= whole.width || strips[end].sourceMaxX * scale + kFlipBandMarginPixels <= right))
            ++end;
        columns.clear();
        for (std::size_t i = next; i < end; ++i) {
            const FlipStrip& s = strips[i];
            columns.push_back({s.sourceMinX - leftPoints, s.sourceMaxX - leftPoints,
                               CGRectMake(origin.x + s.dest.minX(), origin.y + s.dest.minY(),
                                          s.dest.size.width + stripOverlap, s.dest.size.height)});
        }
        // Scaling the strips is a screen's worth of pixels: the target's rows are shared out
        // among the cores. A band the side painted opaquely first stays opaque (whatever follows
        // is drawn over it or clears to black), so its strips are copied rather than blended.
        if (into.target)
            drawImageColumns(*into.target, band, columns,
                             paintsWholeBand ? ImageAlpha::Opaque : ImageAlpha::Any);
        else
            for (const ImageColumn& c : columns)
                into.painter.drawImageColumn(band, c.sourceMinX, c.sourceMaxX, c.dest);
        next = end;
    }
}

} // namespace dazed

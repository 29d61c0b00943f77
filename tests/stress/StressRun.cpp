#include "StressRun.h"

#include "CrashNote.h"
#include "FrameCheck.h"
#include "StressEvents.h"
#include "ValueText.h"
#include "app/ChartWindow.h"
#include "app/FindNameView.h"
#include "app/FlipsideView.h"
#include "app/FlipsideViewController.h"
#include "app/RootViewController.h"
#include "navigation/MainViewController.h"
#include "platform/graphics/RecordingContext.h"
#include "platform/graphics/image/PixelSize.h"
#include "platform/ui/ApplicationLoop.h"
#include "platform/ui/ClassRegistry.h"
#include "platform/ui/HeadlessHost.h"
#include "platform/ui/UIApplication.h"
#include "platform/ui/UIButton.h"
#include "platform/ui/UIMenuView.h"
#include "platform/ui/UINavigationBar.h"
#include "platform/ui/UITableView.h"
#include "platform/ui/UIViewAnimation.h"
#include "platform/ui/UIWindow.h"
#include "render/QuartzView.h"
#include "render/SkyCentre.h"
#include "sky/SolarSystem.h"

#include <chrono>
#include <cmath>
#include <deque>
#include <memory>
#include <ostream>
#include <variant>
#include <vector>

namespace dazed::stress {

namespace {

const InfoLinks kLinks{"https://stars.example.org/catalogue", "https://figures.example.net/app"};

// Forwards every drawing call to two contexts: the recording and the view's picture.
class TeeContext final : public CGContext {
public:
    CGContextRef first{nullptr};
    CGContextRef second{nullptr};

#define DAZED_DRAWING_CALL(function, method, Record, parameters, arguments)                                  \
    void method parameters override                                                                          \
    {                                                                                                        \
        first->method arguments;                                                                             \
        second->method arguments;                                                                            \
    }
#include "platform/graphics/DrawingCalls.def"
};

// Sees every drawRect of the sky view: records it (and, with pixels, draws it as well) and checks
// that it was a whole frame.
class SkyRecorder final : public UIViewDrawingObserver {
public:
    explicit SkyRecorder(bool pixels)
        : m_pixels(pixels)
    {
        UIView::setDrawingObserver(this);
    }
    ~SkyRecorder() override { UIView::setDrawingObserver(nullptr); }
    SkyRecorder(const SkyRecorder&) = delete;
    SkyRecorder& operator=(const SkyRecorder&) = delete;

    CGContextRef willDraw(UIView& view, CGContextRef picture) override
    {
        if (!dynamic_cast<QuartzView*>(&view))
            return picture;
        m_recording.clear();
        if (!m_pixels)
            return &m_recording;
        m_tee.first = &m_recording;
        m_tee.second = picture;
        return &m_tee;
    }
    void didDraw(UIView& view) override
    {
        const auto* sky = dynamic_cast<QuartzView*>(&view);
        if (!sky)
            return;
        ++draws;
        if (problem.empty())
            problem = wholeFrameProblem(*sky, m_recording);
    }

    std::uint64_t draws{0};
    std::string problem;

private:
    bool m_pixels;
    RecordingContext m_recording;
    TeeContext m_tee;
};

DeviceFamily familyOf(std::uint64_t session)
{
    return session % 2 == 0 ? DeviceFamily::Phone : DeviceFamily::Tablet;
}

ScreenFit fitOf(std::uint64_t session);

// A tablet's screen has five times a phone's points and every frame composites them all, so its
// sessions are a quarter as long: the run's time is spread evenly over the four kinds of session.
// A fitted screen may be larger still, and its sessions are as short.
std::uint64_t sessionLengthOf(std::uint64_t session, std::uint64_t length)
{
    return familyOf(session) == DeviceFamily::Phone && fitOf(session) == ScreenFit::Device
               ? length
               : std::max<std::uint64_t>(1, length / 4);
}

// Now and then a phone-family session whose screen is its window's (--device fit), resized to
// anything by the stream's resizes.
ScreenFit fitOf(std::uint64_t session)
{
    return session % 6 == 4 ? ScreenFit::Window : ScreenFit::Device;
}

const char* familyName(DeviceFamily family)
{
    return family == DeviceFamily::Phone ? "phone" : "tablet";
}

// One launch of the app and the events it is fed.
class Session {
public:
    Session(const RunOptions& options, std::uint64_t number, std::uint64_t firstEvent,
            std::uint64_t lastEvent, std::ostream& trace, RunResult& result)
        : m_options(options)
        , m_first(firstEvent)
        , m_last(lastEvent)
        , m_trace(trace)
        , m_result(result)
        , m_stream(sessionSeed(options.seed, number))
        , m_random(sessionSeed(options.seed, number) ^ 0x5555555555555555ull)
        , m_recorder(options.pixels)
    {
        m_family = familyOf(number);
        m_fit = fitOf(number);
        const float scale = number % 4 < 2 ? 1.0f : 2.0f;
        // Mostly held upright, now and then lying flat or not known at launch.
        const int orientation = m_random.chance(0.8) ? m_random.between(1, 4) : m_random.between(0, 6);
        m_name = "session " + std::to_string(number) + ": " +
                 (m_fit == ScreenFit::Window ? "fit" : familyName(m_family)) + ", orientation " +
                 std::to_string(orientation) + ", " + str(scale) + " pixels per point";
        m_host.setScale(scale);
        m_host.setKeepsPresented(false); // only counted: a copy of every screen would cost a tenth of the run
        m_host.setOpenURLSucceeds(m_random.chance(0.5));

        // Every third session shows the sky of a random place at a fixed random moment the models
        // cover (a fixed one, so that a replay sees the same sky), poles and date line included.
        std::optional<SkyChoice> sky;
        if (number % 3 == 2) {
            SkyChoice choice;
            const double latitude = m_random.chance(0.1) ? (m_random.chance(0.5) ? 90.0 : -90.0)
                                                         : m_random.between(-90000, 90000) / 1000.0;
            const double longitude = m_random.chance(0.1) ? (m_random.chance(0.5) ? 180.0 : -180.0)
                                                          : m_random.between(-180000, 180000) / 1000.0;
            choice.place = {latitude, longitude, static_cast<double>(m_random.between(-500, 10000))};
            choice.time = UtcTime{m_random.between(kFirstModelYear, kLastModelYear),
                                  m_random.between(1, 12),
                                  m_random.between(1, 28),
                                  m_random.between(0, 23),
                                  m_random.between(0, 59),
                                  0.0};
            choice.utcOffsetMinutes = m_random.between(-720, 840);
            sky = choice;
            m_name += ", the sky of " + str(latitude) + "," + str(longitude);
        }
        registerApplicationClasses(kLinks, std::nullopt, sky);
        LaunchOptions launch;
        launch.family = m_family;
        launch.fit = m_fit;
        launch.orientation = static_cast<UIDeviceOrientation>(orientation);
        auto launched = ApplicationLoop::launch(m_host, launch, ClassRegistry::shared());
        if (!launched) {
            fail(m_first, "launch", "the app did not launch: " + launched.error().message);
            return;
        }
        m_loop = std::move(launched).value();
        m_root = std::dynamic_pointer_cast<RootViewController>(m_loop->interface().rootViewController);
        if (!m_root || !m_root->mainViewController()) {
            fail(m_first, "launch", "the window's root controller is not the app's, or it has no sky screen");
            return;
        }
        m_main = m_root->mainViewController();
        m_sky = m_main->view();
        m_quartz = m_main->quartzView();
        m_button = m_root->infoButton();
        m_loop->setEventObserver([this](const HostEvent&) { afterEvent(); });
        checkState(m_first, "launch");
        checkFrame(m_first, "launch");
    }

    ~Session()
    {
        if (m_loop)
            m_loop->setEventObserver({});
    }
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    [[nodiscard]] const std::string& name() const { return m_name; }

    // Feeds the session's events; false once a check failed.
    bool run()
    {
        if (m_result.failure)
            return false;
        for (std::uint64_t i = m_first; i < m_last; ++i) {
            const StressEvent e = m_stream.next(targets());
            if (e.advance > 0)
                m_host.advance(e.advance);
            if (e.scale)
                m_host.setScale(*e.scale);
            if (e.window)
                m_host.setWindowSize(*e.window);
            std::string text = describe(e);
            if (m_options.from && i >= *m_options.from)
                m_trace << i << ": " << text << '\n';
            m_host.inject(e.event);
            ++m_result.events;
            m_waiting.push_back({i, std::move(text)});
            if (m_waiting.size() == 1)
                noteHandling();
            if (e.stepAfter || i + 1 == m_last)
                step();
            if (m_result.failure)
                return false;
            // While a flip runs, the loop wakes for its frames even without events.
            while (m_waiting.empty() && UIViewAnimation::shared().isAnimating() && m_random.chance(0.15)) {
                m_idle = Waiting{i, "(a frame of the flip after event " + std::to_string(i) + ", no event)"};
                setCrashNote(m_options.seed, i, m_name, m_idle->text, replayArguments(m_options, i, i));
                step();
                m_idle.reset();
                if (m_result.failure)
                    return false;
            }
        }
        // The session ends as the window closes: the loop stops, and draws nothing more.
        const int presented = m_host.presentCount();
        m_host.inject(QuitInput{});
        m_waiting.push_back({m_last - 1, "quit, after the session's last event"});
        noteHandling();
        const bool goesOn = m_loop->step();
        ++m_result.steps;
        if (goesOn || !m_waiting.empty() || m_host.presentCount() != presented)
            fail(m_last - 1, "quit, after the session's last event",
                 "the loop went on after a quit, left it unhandled or drew again");
        return !m_result.failure;
    }

private:
    struct Waiting {
        std::uint64_t index;
        std::string text;
    };

    void fail(std::uint64_t index, std::string event, std::string what)
    {
        if (!m_result.failure)
            m_result.failure = Failure{index, std::move(event), m_name, std::move(what)};
    }

    // What a crash report names: the first event the loop has not yet finished.
    void noteHandling()
    {
        if (!m_waiting.empty())
            setCrashNote(m_options.seed, m_waiting.front().index, m_name, m_waiting.front().text,
                         replayArguments(
                             m_options, m_waiting.front().index,
                             std::max(m_first, m_waiting.front().index -
                                                   std::min<std::uint64_t>(m_waiting.front().index, 100))));
    }

    void step()
    {
        const int before = m_host.presentCount();
        m_loop->step();
        ++m_result.steps;
        const int presented = m_host.presentCount() - before;
        m_result.frames += static_cast<std::uint64_t>(presented);
        const Waiting last = m_idle ? *m_idle : m_lastHandled;
        if (!m_waiting.empty()) {
            fail(last.index, last.text, "the loop left an event unhandled");
            m_waiting.clear();
        }
        if (presented > 1)
            fail(last.index, last.text,
                 std::to_string(presented) + " screens presented in one turn of the loop");
        checkFrame(last.index, last.text);
    }

    void afterEvent()
    {
        if (m_waiting.empty()) {
            fail(m_first, "?", "the loop handled an event that was never sent");
            return;
        }
        m_lastHandled = std::move(m_waiting.front());
        m_waiting.pop_front();
        checkState(m_lastHandled.index, m_lastHandled.text);
        noteHandling();
    }

    Targets targets() const
    {
        Targets t;
        t.screen = m_loop->screenSize();
        const auto centreOf = [](const std::shared_ptr<UIView>& v) -> std::optional<CGPoint> {
            if (!v || !v->superview())
                return std::nullopt;
            return v->convertPointToScreen(v->bounds().center());
        };
        t.infoButton = centreOf(m_button);
        if (const auto& bar = m_root->flipsideNavigationBar(); bar && bar->superview())
            t.doneButton = bar->convertPointToScreen(bar->rightButtonFrame().center());
        if (m_root->flipsideViewController() && m_root->flipsideViewController()->view()->superview()) {
            t.webButton = centreOf(m_root->flipsideView()->ch2Button());
            t.storeButton = centreOf(m_root->flipsideView()->ch1Button());
        }
        if (const auto& menu = m_root->menu(); menu && menu->isOpen())
            for (std::size_t i = 0; i < menu->items().size(); ++i)
                t.menuItems.push_back(menu->convertPointToScreen(menu->itemFrame(i).center()));
        if (const auto& find = m_root->findView(); find && find->isOpen()) {
            const auto& list = find->list();
            t.nameList = CGRect{list->convertPointToScreen({}), list->frame().size};
            t.findDone = centreOf(find->doneButton());
        }
        return t;
    }

    // The state every event must leave: the centre, the zoom and the label mode in range and
    // agreeing between the controller, the sky view and the process-wide centre; the view tree in
    // one of its legal states; the layout of the screen as the device is held.
    void checkState(std::uint64_t index, const std::string& event)
    {
        const auto problem = [&](const std::string& what) {
            fail(index, event, what);
        };
        const NavigationState& n = m_main->navigation();
        const QuartzView::Fields& q = m_quartz->fields();

        if (!std::isfinite(n.xs) || n.xs < 0.0f || n.xs > 24.0f)
            return problem("right ascension " + str(n.xs) + " h is outside 0..24");
        if (!std::isfinite(n.ys) || n.ys < -90.0f || n.ys > 90.0f)
            return problem("declination " + str(n.ys) + " degrees is outside -90..+90");
        if (!std::isfinite(n.echelle) || n.echelle < kMinZoom || n.echelle > kMaxZoom)
            return problem("zoom " + str(n.echelle) + " is outside 0.9..3.0");
        if (!std::isfinite(n.initialDistance) || (n.initialDistance < 0 && n.initialDistance != -1.0f))
            return problem("the pinch's starting separation is " + str(n.initialDistance));
        if (!std::isfinite(n.oldTouch.x) || !std::isfinite(n.oldTouch.y))
            return problem("the drag anchor is (" + str(n.oldTouch.x) + ", " + str(n.oldTouch.y) + ")");
        if (xs1 != static_cast<double>(n.xs) || ys1 != static_cast<double>(n.ys))
            return problem("the process-wide centre (" + str(xs1) + " h, " + str(ys1) +
                           ") is not the controller's (" + str(n.xs) + " h, " + str(n.ys) + ")");
        if (q.ech != n.echelle)
            return problem("the sky view's zoom " + str(q.ech) + " is not the controller's " +
                           str(n.echelle));
        if (q.wLN < 0 || q.wLN > 2 || q.wSN != (q.wLN == 1))
            return problem("label mode " + std::to_string(q.wLN) + " with star names " +
                           (q.wSN ? "on" : "off"));
        if (q.largeur != n.largeur || q.hauteur != n.hauteur)
            return problem("the sky view is told a size of " + str(q.largeur) + " x " + str(q.hauteur) +
                           ", the controller has " + str(n.largeur) + " x " + str(n.hauteur));
        checkLayout(problem);
        if (!m_result.failure)
            checkTree(problem);
    }

    template <typename Problem> void checkLayout(const Problem& problem)
    {
        const float w = m_root->largeur(), h = m_root->hauteur();
        const CGSize portrait = m_family == DeviceFamily::Phone ? CGSize{320, 480} : CGSize{768, 1024};
        const bool upright = w == portrait.width && h == portrait.height;
        const bool turned = w == portrait.height && h == portrait.width;
        const auto withinFit = [](float side) {
            return side >= kMinFittedScreenSide && side <= kMaxFittedScreenSide && side == std::round(side);
        };
        if (m_fit == ScreenFit::Window && !(withinFit(w) && withinFit(h)))
            return problem("the window-fitted screen is " + str(w) + " x " + str(h) + ", outside " +
                           str(kMinFittedScreenSide) + " to " + str(kMaxFittedScreenSide) + " whole points");
        if (m_fit == ScreenFit::Device && !upright && !turned)
            return problem("the root controller's screen is " + str(w) + " x " + str(h) + " on a " +
                           familyName(m_family));
        const NavigationState& n = m_main->navigation();
        if (n.largeur != w || n.hauteur != h)
            return problem("the sky controller's screen " + str(n.largeur) + " x " + str(n.hauteur) +
                           " is not the root controller's " + str(w) + " x " + str(h));
        const CGSize screen = m_loop->screenSize();
        if (screen.width != w || screen.height != h)
            return problem("the device screen is " + str(screen.width) + " x " + str(screen.height) +
                           " but the controllers lay out " + str(w) + " x " + str(h));
        const CGRect full = CGRectMake(0, 0, w, h);
        if (m_sky->frame() != full || m_quartz->frame() != full)
            return problem("the sky screen's frames are " + str(m_sky->frame()) + " and " +
                           str(m_quartz->frame()) + " on a screen of " + str(full));
        if (m_root->view()->frame() != full)
            return problem("the root view's frame is " + str(m_root->view()->frame()));
        if (m_button) {
            const CGRect expected = CGRectMake(w - 55, h - 75, 50, 50);
            if (m_button->frame() != expected)
                return problem("the info button's frame is " + str(m_button->frame()) + ", not " +
                               str(expected));
        }
        if (const auto& menu = m_root->menu(); menu && menu->isOpen() && menu->frame() != full)
            return problem("the open menu's frame is " + str(menu->frame()) + " on a screen of " + str(full));
        if (const auto& find = m_root->findView(); find && find->isOpen() && find->frame() != full)
            return problem("the open list of names' frame is " + str(find->frame()) + " on a screen of " +
                           str(full));
        if (const auto& page = m_root->flipsideViewController()) {
            if (page->view()->frame() != full)
                return problem("the page's frame is " + str(page->view()->frame()));
            if (m_root->flipsideNavigationBar()->frame() != CGRectMake(0, 0, w, 44))
                return problem("the page's bar's frame is " + str(m_root->flipsideNavigationBar()->frame()));
        }
    }

    // Legal trees: the root view in the key window holds, bottom to top, the sky screen and the info
    // button (with the long-press menu or the list of names over them, never both), or the page and
    // its bar; nothing else, in either state and during a flip (the flip changes the tree at once
    // and only animates the picture). The sky view holds the chart view
    // alone. The page, once built, is the same page for the rest of the session. Only the root view
    // ever has a flip running.
    template <typename Problem> void checkTree(const Problem& problem)
    {
        const auto& window = UIApplication::sharedApplication().keyWindow();
        const auto root = m_root->view();
        if (!window || window->isHidden() || root->superview() != window.get())
            return problem("the root view is not in the shown key window");
        if (m_root->mainViewController() != m_main || m_main->view() != m_sky ||
            m_main->quartzView() != m_quartz || m_root->infoButton() != m_button)
            return problem("the sky screen's controller, views or the info button were replaced");
        if (m_sky->subviews().size() != 1 || m_sky->subviews().front() != m_quartz)
            return problem("the sky screen holds " + std::to_string(m_sky->subviews().size()) +
                           " views, not the chart alone");

        const auto& page = m_root->flipsideViewController();
        if (page) {
            if (!m_page) {
                m_page = page;
                m_pageView = page->view();
                m_bar = m_root->flipsideNavigationBar();
            } else if (page != m_page || page->view() != m_pageView ||
                       m_root->flipsideNavigationBar() != m_bar) {
                return problem("the information page was built again");
            }
        } else if (m_page) {
            return problem("the information page was dropped");
        }

        auto subviews = root->subviews();
        const auto& menu = m_root->menu();
        const auto& find = m_root->findView();
        if (subviews.size() == 3 && subviews[0] == m_sky &&
            ((menu && subviews[2] == menu) || (find && subviews[2] == find)))
            subviews.pop_back(); // what lies over the sky screen
        const bool skyShown = subviews.size() == 2 && subviews[0] == m_sky && subviews[1] == m_button;
        const bool pageShown =
            m_page && subviews.size() == 2 && subviews[0] == m_pageView && subviews[1] == m_bar;
        if (!skyShown && !pageShown) {
            std::string names;
            for (const auto& v : subviews)
                names += v == m_sky        ? " sky"
                         : v == m_button   ? " button"
                         : v == m_pageView ? " page"
                         : v == m_bar      ? " bar"
                         : v == menu       ? " menu"
                         : v == find       ? " names"
                                           : " other";
            return problem("the root view holds" + (names.empty() ? std::string(" nothing") : names));
        }
        if (skyShown != m_root->isShowingSky())
            return problem("the root controller says the sky is " +
                           std::string(skyShown ? "hidden" : "shown"));
        if (m_page && (skyShown ? m_pageView->superview() || m_bar->superview()
                                : m_sky->superview() || m_button->superview()))
            return problem("a view of the hidden screen still has a superview");
        const bool menuOpen = menu && menu->isOpen();
        const bool listOpen = find && find->isOpen();
        if (menuOpen && !m_lastMenuOpen)
            ++m_result.menus;
        if (listOpen && !m_lastListOpen)
            ++m_result.lists;
        m_lastMenuOpen = menuOpen;
        m_lastListOpen = listOpen;
        if (skyShown != m_lastSkyShown) {
            m_lastSkyShown = skyShown;
            ++m_result.flips;
        }
        for (const auto& t : UIViewAnimation::shared().running()) {
            const auto view = t.view.lock();
            if (view && view != root)
                return problem("a flip runs on a view that is not the root view");
            const auto expected =
                skyShown ? UIViewAnimationTransitionFlipFromLeft : UIViewAnimationTransitionFlipFromRight;
            if (view && (t.kind != expected || t.duration != 1.0))
                return problem("the running flip is of kind " + std::to_string(t.kind) + " for " +
                               str(t.duration) + " s towards the " + (skyShown ? "sky" : "page"));
        }
    }

    // After every turn of the loop: every drawRect of the sky was a whole frame, and when the sky is
    // on screen and no flip runs, what was presented is the current chart.
    void checkFrame(std::uint64_t index, const std::string& event)
    {
        if (m_recorder.draws != m_lastDraws) {
            m_result.skyFrames += m_recorder.draws - m_lastDraws;
            m_lastDraws = m_recorder.draws;
        }
        if (!m_recorder.problem.empty())
            return fail(index, event, m_recorder.problem);
        if (!m_sky->superview() || UIViewAnimation::shared().isAnimating())
            return;
        // The list of names covers the whole sky, which is not drawn beneath it.
        if (const auto& find = m_root->findView(); find && find->isOpen())
            return;
        if (m_quartz->needsDisplay())
            return fail(index, event,
                        "the sky is on screen and no flip runs, but its last change was not drawn");
        const auto& q = m_quartz->fields();
        if (q.oxs1 != xs1 || q.oys1 != ys1)
            return fail(index, event,
                        "the last frame shows the centre (" + str(q.oxs1) + " h, " + str(q.oys1) +
                            ") but it is (" + str(xs1) + " h, " + str(ys1) + ")");
        if (q.rectCur != m_quartz->bounds())
            return fail(index, event,
                        "the last frame drew " + str(q.rectCur) + " of the sky view's " +
                            str(m_quartz->bounds()));
        // The sky keeps its drawing calls (or, when the recorder takes them, a picture), made for
        // its size at the display's scale. Each side in pixels is the side in points times the scale, rounded
        // up (the product may be rounded either way in single precision first).
        // A picture beyond the image limits (a huge fitted screen) is made at fewer pixels per point.
        const auto& drawn = m_quartz->drawnPixelSize();
        const float scale = pixelSizeFor(m_quartz->bounds().size, m_host.displayScale()).scale;
        const auto covers = [scale](int pixels, float points) {
            const double exact = double{points} * double{scale};
            return pixels >= 1 && pixels >= exact - 1e-3 && pixels < exact + 1.0 + 1e-3;
        };
        const CGSize size = m_quartz->bounds().size;
        if ((!m_quartz->recordedDrawing() && !m_quartz->backingStore()) || !drawn || drawn->scale != scale ||
            !covers(drawn->width, size.width) || !covers(drawn->height, size.height))
            return fail(index, event,
                        "the sky view's drawing is not made for its size at " + str(scale) +
                            " pixels per point");
        if (m_host.presentCount() == 0)
            return fail(index, event, "nothing was ever presented");
    }

    const RunOptions& m_options;
    std::uint64_t m_first;
    std::uint64_t m_last;
    std::ostream& m_trace;
    RunResult& m_result;
    EventStream m_stream;
    Random m_random;
    DeviceFamily m_family{DeviceFamily::Phone};
    ScreenFit m_fit{ScreenFit::Device};
    std::string m_name;
    HeadlessHost m_host;
    SkyRecorder m_recorder;
    std::unique_ptr<ApplicationLoop> m_loop;
    std::shared_ptr<RootViewController> m_root;
    std::shared_ptr<MainViewController> m_main;
    std::shared_ptr<UIView> m_sky;
    std::shared_ptr<QuartzView> m_quartz;
    std::shared_ptr<UIButton> m_button;
    std::shared_ptr<UIViewController> m_page;
    std::shared_ptr<UIView> m_pageView;
    std::shared_ptr<UINavigationBar> m_bar;
    bool m_lastSkyShown{true};
    bool m_lastMenuOpen{false};
    bool m_lastListOpen{false};
    std::uint64_t m_lastDraws{0};
    std::deque<Waiting> m_waiting;
    Waiting m_lastHandled{0, "launch"};
    std::optional<Waiting> m_idle;
};

} // namespace

std::string replayArguments(const RunOptions& options, std::uint64_t index, std::uint64_t from)
{
    return "--seed " + std::to_string(options.seed) + " --session " + std::to_string(options.sessionLength) +
           " --events " + std::to_string(index + 1) + " --from " + std::to_string(from) +
           (options.pixels ? " --pixels" : "");
}

RunResult run(const RunOptions& options, std::ostream& trace)
{
    RunResult result;
    const std::uint64_t length = std::max<std::uint64_t>(1, options.sessionLength);
    std::uint64_t last = 0;
    for (std::uint64_t number = 0; last < options.events; ++number) {
        const std::uint64_t first = last;
        last = std::min(options.events, first + sessionLengthOf(number, length));
        if (options.from && last <= *options.from)
            continue;
        const auto start = std::chrono::steady_clock::now();
        Session session(options, number, first, last, trace, result);
        const bool ok = session.run();
        trace << session.name() << ", events " << first << ".." << last - 1 << ": "
              << std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() << " s\n";
        if (!ok)
            break;
    }
    clearCrashNote();
    return result;
}

} // namespace dazed::stress

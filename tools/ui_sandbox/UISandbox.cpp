// A developer's window onto the framework layer. It registers its own delegate and root controller
// under the names the shipped interface descriptions use, so it starts from the real files:
//
//   build/dev/tools/ui_sandbox [--device phone|tablet]
//
// The front page draws shapes and text through the drawing-context calls and prints every touch;
// the info button flips to a page with a navigation bar, a label and a button; Done flips back.
// Ctrl+Left / Ctrl+Right turn the device; Alt+drag pinches.

#include "platform/graphics/CGContext.h"
#include "platform/ui/ClassRegistry.h"
#include "platform/ui/NSNotificationCenter.h"
#include "platform/ui/UIApplication.h"
#include "platform/ui/UIApplicationMain.h"
#include "platform/ui/UIButton.h"
#include "platform/ui/UIDevice.h"
#include "platform/ui/UILabel.h"
#include "platform/ui/UINavigationBar.h"
#include "platform/ui/UIScreen.h"
#include "platform/ui/UIWindow.h"

#include <cstring>
#include <iostream>

namespace dazed {
namespace {

const char* phaseName(UITouchPhase phase)
{
    switch (phase) {
    case UITouchPhase::Began:
        return "began";
    case UITouchPhase::Moved:
        return "moved";
    case UITouchPhase::Stationary:
        return "still";
    case UITouchPhase::Ended:
        return "ended";
    case UITouchPhase::Cancelled:
        return "cancelled";
    }
    return "?";
}

// Shapes through the drawing context, and a dot for every finger on the screen.
class ShapesView : public UIView {
public:
    using UIView::UIView;
    std::vector<CGPoint> fingers;

    void drawRect(CGRect rect) override
    {
        CGContextRef c = UIGraphicsGetCurrentContext();
        CGContextClearRect(c, rect);
        const float w = bounds().size.width, h = bounds().size.height;
        CGContextSetRGBFillColor(c, 0.1f, 0.1f, 0.3f, 1);
        CGContextFillRect(c, CGRectMake(10, 10, w - 20, h - 20));
        CGContextSetRGBFillColor(c, 1, 1, 1, 1);
        for (int i = 0; i < 40; ++i) {
            const float x = static_cast<float>((i * 97) % 100) / 100.0f * (w - 40) + 20;
            const float y = static_cast<float>((i * 61) % 100) / 100.0f * (h - 80) + 60;
            const float r = static_cast<float>(1 + i % 3);
            CGContextFillEllipseInRect(c, CGRectMake(x - r, y - r, 2 * r, 2 * r));
        }
        CGContextSetRGBStrokeColor(c, 0.2f, 0.4f, 1.0f, 1);
        CGContextSetLineWidth(c, 1.0f);
        const CGPoint segments[] = {{40, 120}, {120, 160}, {120, 160}, {200, 110}, {200, 110}, {260, 200}};
        CGContextStrokeLineSegments(c, segments, 6);
        CGContextSetRGBStrokeColor(c, 0.6f, 0, 0, 1);
        CGContextBeginPath(c);
        CGContextMoveToPoint(c, 20, h * 0.7f);
        for (int x = 20; x < w - 20; x += 10)
            CGContextAddLineToPoint(c, static_cast<float>(x),
                                    h * 0.7f + static_cast<float>((x / 10) % 2) * 12);
        CGContextStrokePath(c);
        CGContextSetRGBFillColor(c, 0.8f, 0.6f, 0.4f, 1);
        CGContextSetRGBStrokeColor(c, 0, 0, 0.8f, 1);
        CGContextSetLineWidth(c, 0);
        CGContextSelectFont(c, "Helvetica", 14, kCGEncodingMacRoman);
        CGContextSetTextDrawingMode(c, kCGTextFillStroke);
        CGContextSetTextMatrix(c, CGAffineTransformMake(1, 0, 0, -1, 0, 0));
        const char* text = "Drawing-context text";
        CGContextShowTextAtPoint(c, 30, 100, text, std::strlen(text));
        CGContextSetRGBStrokeColor(c, 1, 0, 0, 1);
        CGContextSetLineWidth(c, 2);
        const CGPoint cross[] = {
            {w / 2 - 10, h / 2}, {w / 2 + 10, h / 2}, {w / 2, h / 2 - 10}, {w / 2, h / 2 + 10}};
        CGContextStrokeLineSegments(c, cross, 4);
        CGContextSetRGBFillColor(c, 1, 0.8f, 0, 0.8f);
        for (CGPoint p : fingers)
            CGContextFillEllipseInRect(c, CGRectMake(p.x - 15, p.y - 15, 30, 30));
    }
};

class SandboxRootController : public UIViewController {
public:
    std::shared_ptr<UIButton> infoButton;

    bool setOutlet(const std::string& name, const std::shared_ptr<UIView>& view) override
    {
        if (name != "infoButton")
            return false;
        infoButton = std::dynamic_pointer_cast<UIButton>(view);
        return true;
    }
    std::function<void()> actionNamed(const std::string& name) override
    {
        if (name == "toggleView")
            return [this] {
                toggleView();
            };
        return {};
    }

    void viewDidLoad() override
    {
        const CGSize size = view()->frame().size;
        m_front = std::make_shared<UIView>(CGRectMake(0, 0, size.width, size.height));
        m_shapes = std::make_shared<ShapesView>(m_front->bounds());
        m_shapes->setOpaque(true);
        m_shapes->setUserInteractionEnabled(true);
        m_front->addSubview(m_shapes);
        m_hint = std::make_shared<UILabel>(CGRectMake(0, 20, size.width, 30));
        m_hint->setText("Touch me. Ctrl+Left/Right turns, Alt+drag pinches.");
        m_hint->setBackgroundColor(UIColor::clearColor());
        m_hint->setTextColor(UIColor::whiteColor());
        m_hint->setTextAlignment(UITextAlignmentCenter);
        m_hint->setFont(UIFont::systemFontOfSize(12));
        m_front->addSubview(m_hint);
        view()->insertSubviewBelowSubview(m_front, infoButton.get());
        layout();
    }

    bool shouldAutorotateToInterfaceOrientation(int) override
    {
        UIDevice::currentDevice().beginGeneratingDeviceOrientationNotifications();
        NSNotificationCenter::defaultCenter().addObserver(
            this, [this](const NSNotification&) { layout(); }, UIDeviceOrientationDidChangeNotification,
            nullptr);
        return true;
    }

    void touchesBegan(const UITouchSet& t, const UIEvent& e) override { report(t, e); }
    void touchesMoved(const UITouchSet& t, const UIEvent& e) override { report(t, e); }
    void touchesEnded(const UITouchSet& t, const UIEvent& e) override { report(t, e); }
    void touchesCancelled(const UITouchSet& t, const UIEvent& e) override { report(t, e); }

private:
    CGSize screenSize() const
    {
        const CGRect b = UIScreen::mainScreen() ? UIScreen::mainScreen()->bounds() : CGRect{};
        const int o = UIDevice::currentDevice().orientation();
        if (o == UIDeviceOrientationLandscapeLeft || o == UIDeviceOrientationLandscapeRight)
            m_landscape = true;
        else if (o == UIDeviceOrientationPortrait || o == UIDeviceOrientationPortraitUpsideDown)
            m_landscape = false;
        return m_landscape ? CGSize{b.size.height, b.size.width} : b.size;
    }

    void layout()
    {
        const CGSize s = screenSize();
        const CGRect full = CGRectMake(0, 0, s.width, s.height);
        view()->setFrame(full);
        if (m_front) {
            m_front->setFrame(full);
            m_shapes->setFrame(full);
            m_hint->setFrame(CGRectMake(0, 20, s.width, 30));
        }
        if (m_page) {
            m_page->setFrame(full);
            m_bar->setFrame(CGRectMake(0, 0, s.width, 44));
            m_pageLabel->setCenter({s.width / 2, s.height / 2 - 60});
            m_pageButton->setCenter({s.width / 2, s.height / 2 + 20});
        }
        if (infoButton)
            infoButton->setCenter({s.width - 30, s.height - 50});
    }

    void report(const UITouchSet& changed, const UIEvent& event)
    {
        std::cout << "touches " << phaseName(changed.anyObject()->phase()) << ": "
                  << event.allTouches().count() << " down";
        m_shapes->fingers.clear();
        for (UITouch* t : event.allTouches().allObjects()) {
            const CGPoint p = t->locationInView(view().get());
            std::cout << "  " << p << " taps " << t->tapCount();
            if (t->phase() != UITouchPhase::Ended && t->phase() != UITouchPhase::Cancelled)
                m_shapes->fingers.push_back(p);
        }
        std::cout << std::endl;
        m_shapes->setNeedsDisplay();
    }

    void buildPage()
    {
        m_page = std::make_shared<UIView>();
        m_page->setBackgroundColor(UIColor::blackColor());
        m_pageLabel = std::make_shared<UILabel>(CGRectMake(0, 0, 280, 40));
        m_pageLabel->setText("The reverse side");
        m_pageLabel->setBackgroundColor(UIColor::blackColor());
        m_pageLabel->setTextColor(UIColor::whiteColor());
        m_pageLabel->setTextAlignment(UITextAlignmentCenter);
        m_pageLabel->setFont(UIFont::systemFontOfSize(15));
        m_page->addSubview(m_pageLabel);
        m_pageButton = UIButton::buttonWithType(UIButtonTypeRoundedRect);
        m_pageButton->setFrame(CGRectMake(0, 0, 240, 57));
        m_pageButton->setTitle("Open example.org", UIControlStateNormal);
        m_pageButton->addTarget(
            [] { UIApplication::sharedApplication().openURL(NSURL::URLWithString("https://example.org/")); },
            UIControlEventTouchUpInside);
        m_page->addSubview(m_pageButton);
        m_bar = std::make_shared<UINavigationBar>();
        m_bar->setBarStyle(UIBarStyleBlack);
        auto item = std::make_shared<UINavigationItem>("Dazed");
        item->setRightBarButtonItem(
            std::make_shared<UIBarButtonItem>(UIBarButtonSystemItemDone, [this] { toggleView(); }));
        m_bar->pushNavigationItem(item, false);
        layout();
    }

    void toggleView()
    {
        if (!m_page)
            buildPage();
        const bool frontShowing = m_front->superview() != nullptr;
        std::cout << "flip to the " << (frontShowing ? "page" : "front") << std::endl;
        UIView::beginAnimations(nullptr, nullptr);
        UIView::setAnimationDuration(1.0);
        UIView::setAnimationTransition(frontShowing ? UIViewAnimationTransitionFlipFromRight
                                                    : UIViewAnimationTransitionFlipFromLeft,
                                       view().get(), true);
        if (frontShowing) {
            m_front->removeFromSuperview();
            infoButton->removeFromSuperview();
            view()->addSubview(m_page);
            view()->insertSubviewAboveSubview(m_bar, m_page.get());
        } else {
            m_page->removeFromSuperview();
            m_bar->removeFromSuperview();
            view()->addSubview(m_front);
            view()->insertSubviewAboveSubview(infoButton, m_front.get());
        }
        layout();
        UIView::commitAnimations();
    }

    mutable bool m_landscape{false};
    std::shared_ptr<UIView> m_front;
    std::shared_ptr<ShapesView> m_shapes;
    std::shared_ptr<UILabel> m_hint;
    std::shared_ptr<UIView> m_page;
    std::shared_ptr<UILabel> m_pageLabel;
    std::shared_ptr<UIButton> m_pageButton;
    std::shared_ptr<UINavigationBar> m_bar;
};

class SandboxDelegate : public UIApplicationDelegate {
public:
    void setWindow(std::shared_ptr<UIWindow> window) override { m_window = std::move(window); }
    void setRootViewController(std::shared_ptr<UIViewController> root) override { m_root = std::move(root); }
    void applicationDidFinishLaunching(UIApplication& application) override
    {
        application.setStatusBarStyle(UIStatusBarStyleBlackOpaque, false);
        if (m_window && m_root)
            m_window->addSubview(m_root->view());
        if (m_window)
            m_window->makeKeyAndVisible();
    }

private:
    std::shared_ptr<UIWindow> m_window;
    std::shared_ptr<UIViewController> m_root;
};

} // namespace
} // namespace dazed

int main(int argc, char** argv)
{
    using namespace dazed;
    ClassRegistry::shared().registerDelegate<SandboxDelegate>("AppDelegate_Phone");
    ClassRegistry::shared().registerDelegate<SandboxDelegate>("AppDelegate_Pad");
    ClassRegistry::shared().registerController<SandboxRootController>("RootViewController");
    const int status = UIApplicationMain(argc, argv, nullptr, nullptr);
    if (status == kUIApplicationMainNoDisplay)
        std::cerr << "ui_sandbox: no display to open a window on (" << UIApplicationMainStartFailure()
                  << ")\n";
    return status;
}

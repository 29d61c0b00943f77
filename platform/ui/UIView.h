#pragma once

// A rectangular area of the screen that draws itself through the drawing context. Views are held
// by std::shared_ptr: a view can have several owners (its superview and a controller). A view
// holds its subviews; the superview link is a plain pointer that the superview clears when it lets
// a subview go.

#include "platform/graphics/CGContext.h"
#include "platform/graphics/Geometry.h"
#include "platform/graphics/RecordingContext.h"
#include "platform/graphics/image/Image.h"
#include "platform/graphics/image/PixelSize.h"
#include "platform/ui/UIColor.h"
#include "platform/ui/UIResponder.h"

#include <memory>
#include <optional>
#include <vector>

namespace dazed {

class UIViewController;
class UIPainter;

enum UIViewAnimationTransition : int {
    UIViewAnimationTransitionNone = 0,
    UIViewAnimationTransitionFlipFromLeft = 1,
    UIViewAnimationTransitionFlipFromRight = 2,
};

class UIView;

// Watches views draw (tests and tools): told before and after every drawRect that a view's picture
// is brought up to date with, in the display cycle and in the flip's captures. It may hand drawRect
// another context than the picture's, such as a recording, or one that forwards to both.
class UIViewDrawingObserver {
public:
    virtual ~UIViewDrawingObserver() = default;
    // The context `view`'s drawRect is to draw into: `picture` (the view's own) or another one,
    // which must stay alive until didDraw.
    virtual CGContextRef willDraw(UIView& view, CGContextRef picture) = 0;
    virtual void didDraw(UIView& view) = 0;

protected:
    UIViewDrawingObserver() = default;
    UIViewDrawingObserver(const UIViewDrawingObserver&) = default;
    UIViewDrawingObserver& operator=(const UIViewDrawingObserver&) = default;
};

class UIView : public UIResponder, public std::enable_shared_from_this<UIView> {
public:
    explicit UIView(CGRect frame = {});
    ~UIView() override;

    // Frame: position and size in the superview's coordinates.
    [[nodiscard]] CGRect frame() const { return m_frame; }
    void setFrame(CGRect frame);
    // The view's own coordinate space: origin (0, 0), the frame's size.
    [[nodiscard]] CGRect bounds() const { return {{}, m_frame.size}; }
    [[nodiscard]] CGPoint center() const { return m_frame.center(); }
    // Moves the frame so that its centre lies at `center`; the size is kept.
    void setCenter(CGPoint center);

    [[nodiscard]] bool isOpaque() const { return m_opaque; }
    void setOpaque(bool opaque);
    // Whether every pixel of the view's frame is drawn opaque, whatever it draws: an opaque view
    // whose background colour, if it has one, is opaque too.
    [[nodiscard]] bool hidesWhatLiesBeneath() const;
    // Filled behind whatever drawRect draws; none by default.
    [[nodiscard]] std::optional<UIColor> backgroundColor() const { return m_backgroundColor; }
    void setBackgroundColor(UIColor color);
    [[nodiscard]] bool isHidden() const { return m_hidden; }
    void setHidden(bool hidden);
    // A view that does not take part in touches lets them through to the views beneath it.
    [[nodiscard]] bool isUserInteractionEnabled() const { return m_userInteractionEnabled; }
    void setUserInteractionEnabled(bool enabled) { m_userInteractionEnabled = enabled; }

    // Subviews, bottom to top: later subviews lie above earlier ones.
    [[nodiscard]] const std::vector<std::shared_ptr<UIView>>& subviews() const { return m_subviews; }
    [[nodiscard]] UIView* superview() const { return m_superview; }
    // Adds `view` on top of the other subviews, taking it from its old superview first.
    void addSubview(const std::shared_ptr<UIView>& view);
    // Inserts `view` directly below (or above) `sibling`; on top when `sibling` is not a subview.
    void insertSubviewBelowSubview(const std::shared_ptr<UIView>& view, const UIView* sibling);
    void insertSubviewAboveSubview(const std::shared_ptr<UIView>& view, const UIView* sibling);
    // Does nothing for a view without a superview.
    void removeFromSuperview();
    [[nodiscard]] bool isDescendantOfView(const UIView* view) const;
    // The topmost ancestor (the view itself when it has no superview).
    [[nodiscard]] UIView* rootView();

    // The deepest visible, interactive view under `point` (in this view's coordinates), or null.
    [[nodiscard]] virtual UIView* hitTest(CGPoint point);
    [[nodiscard]] virtual bool pointInside(CGPoint point) const;
    // Screen points are the coordinates of the topmost ancestor.
    [[nodiscard]] CGPoint convertPointFromScreen(CGPoint point) const;
    [[nodiscard]] CGPoint convertPointToScreen(CGPoint point) const;

    // Marks the whole view as needing display: the display cycle calls drawRect once, however
    // many marks arrived since the last one. Never draws by itself.
    void setNeedsDisplay();
    [[nodiscard]] bool needsDisplay() const { return m_needsDisplay; }

    // Called by the display cycle with the current drawing context pushed
    // (UIGraphicsGetCurrentContext). `rect` is in the view's own coordinates. Draws nothing here.
    virtual void drawRect(CGRect rect);

    // Runs drawRect for a pending mark and clears it; false when nothing was pending.
    bool displayIfNeeded();

    // The controller whose root view this is, if any; it is the view's next responder.
    [[nodiscard]] UIViewController* viewController() const { return m_viewController; }
    void setViewController(UIViewController* controller) { m_viewController = controller; }
    [[nodiscard]] UIResponder* nextResponder() const override;

    // Animation blocks: the changes made between begin and commit happen at once; the
    // transition set for a view is shown over `duration` seconds by the display cycle.
    static void beginAnimations(const char* animationID = nullptr, void* context = nullptr);
    static void setAnimationDuration(double seconds);
    static void setAnimationTransition(UIViewAnimationTransition transition, UIView* view, bool cache);
    static void commitAnimations();

    // What an opaque view's drawRect drew, kept as its calls: the display makes them again into
    // the screen over the background, clipped to pictureSize(), instead of copying a picture.
    struct RecordedDrawing {
        // Shared, never changed: a flip's recorded side keeps the calls it was drawn with.
        std::shared_ptr<const std::vector<DrawOp>> ops;
        RGBAColor background;
        // The first call clears the whole view, so the background filled beneath never shows.
        bool clearsFirst{false};
    };

    // The display cycle: brings the view's picture up to date at `scale` pixels per point,
    // running drawRect when marked (or when the picture was made for another size or in another
    // tint than the application's screen now has), and returns
    // it. A view whose drawRect made no call gets no picture (null): it shows its solid colour,
    // if any, over pictureSize(). Nor does an opaque view whose drawRect drew: it keeps its
    // recordedDrawing(). Nor does a view that paints itself: the display fills its colour and
    // has it paint(). True in `drawn` when drawRect ran.
    const std::shared_ptr<Image>& updateBackingStore(float scale, bool* drawn = nullptr);
    [[nodiscard]] const std::shared_ptr<Image>& backingStore() const { return m_backing; }
    [[nodiscard]] const std::optional<RGBAColor>& solidColour() const { return m_solidColour; }
    [[nodiscard]] const std::optional<RecordedDrawing>& recordedDrawing() const { return m_drawing; }
    // The pixels and scale the view was last drawn for; none before its first drawing.
    [[nodiscard]] const std::optional<PixelSize>& drawnPixelSize() const { return m_pictureSize; }
    // The display cycle: a view that paints itself (a control, a label, an image view) paints its
    // content through `painter` with the view's top left at `origin`, clipped to pictureSize().
    // Others paint nothing here.
    void paint(UIPainter& painter, CGPoint origin);
    // The size in points the picture, or the solid colour, covers: the frame's size rounded up to
    // whole pixels.
    [[nodiscard]] CGSize pictureSize() const;

    // True once something that changes what the screen shows (a mark, a frame, the tree) happened
    // since the last call; the display cycle composites the screen again only then.
    static bool consumeScreenChanged();
    static void noteScreenChanged();

    // The one observer of every view's drawRect in the process, or none (null, the default). The
    // observer is not owned; whoever sets it clears it before it goes away.
    static void setDrawingObserver(UIViewDrawingObserver* observer);

protected:
    // Views that paint their content with a painter (controls, labels, image views) answer true
    // and paint it in paintContent, in their own coordinates, over their background colour. They
    // are painted straight into the screen at every display: what they paint is small and quick,
    // and a picture of it would be kept in memory for nothing. The others' content is what
    // drawRect draws.
    [[nodiscard]] virtual bool paintsContent() const { return false; }
    virtual void paintContent(UIPainter&) {}

private:
    void detachFromSuperview();
    // No picture and no drawing: the display shows `fill`, or nothing when it is transparent.
    void keepOnlyColour(RGBAColor fill);
    void insertSubviewAt(const std::shared_ptr<UIView>& view, std::size_t index);

    CGRect m_frame;
    bool m_opaque{false};
    bool m_needsDisplay{false};
    bool m_hidden{false};
    bool m_userInteractionEnabled{true};
    std::optional<UIColor> m_backgroundColor;
    UIView* m_superview{nullptr};
    std::vector<std::shared_ptr<UIView>> m_subviews;
    UIViewController* m_viewController{nullptr};
    std::shared_ptr<Image> m_backing;
    // The size the picture (or its absence) was last made for; none before the first.
    std::optional<PixelSize> m_pictureSize;
    std::optional<RGBAColor> m_solidColour;
    std::optional<RecordedDrawing> m_drawing;
};

} // namespace dazed

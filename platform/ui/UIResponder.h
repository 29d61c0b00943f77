#pragma once

// Touches and the responder chain. A touch keeps its identity from the finger going down to it
// lifting; positions are kept in screen points and converted to a view's points on request.

#include "platform/graphics/Geometry.h"

#include <cstddef>
#include <memory>
#include <vector>

namespace dazed {

class UIView;

enum class UITouchPhase { Began, Moved, Stationary, Ended, Cancelled };

class UITouch {
public:
    UITouch(CGPoint screenLocation, double timestamp, int tapCount)
        : m_location(screenLocation)
        , m_previous(screenLocation)
        , m_timestamp(timestamp)
        , m_tapCount(tapCount)
    {
    }

    // The position in `view`'s own coordinates; in screen points when `view` is null.
    [[nodiscard]] CGPoint locationInView(const UIView* view) const;
    [[nodiscard]] CGPoint previousLocationInView(const UIView* view) const;
    // 1 for a single tap, 2 for the second touch of a double tap, and so on.
    [[nodiscard]] int tapCount() const { return m_tapCount; }
    [[nodiscard]] UITouchPhase phase() const { return m_phase; }
    [[nodiscard]] double timestamp() const { return m_timestamp; }
    // The view the touch went down in; it keeps receiving the touch until the finger lifts.
    [[nodiscard]] UIView* view() const { return m_view.lock().get(); }

    // Used by the touch delivery.
    void setView(const std::shared_ptr<UIView>& view) { m_view = view; }
    void update(UITouchPhase phase, CGPoint screenLocation, double timestamp);
    [[nodiscard]] CGPoint screenLocation() const { return m_location; }

private:
    CGPoint m_location;
    CGPoint m_previous;
    double m_timestamp;
    int m_tapCount;
    UITouchPhase m_phase{UITouchPhase::Began};
    std::weak_ptr<UIView> m_view;
};

// A set of touches in a stable order: the order in which their fingers went down.
class UITouchSet {
public:
    UITouchSet() = default;
    explicit UITouchSet(std::vector<std::shared_ptr<UITouch>> touches)
        : m_touches(std::move(touches))
    {
    }

    [[nodiscard]] std::size_t count() const { return m_touches.size(); }
    [[nodiscard]] bool empty() const { return m_touches.empty(); }
    // The touches in the set's order; index with objectAtIndex or [].
    [[nodiscard]] std::vector<UITouch*> allObjects() const;
    [[nodiscard]] UITouch* objectAtIndex(std::size_t index) const;
    [[nodiscard]] UITouch* anyObject() const { return m_touches.empty() ? nullptr : m_touches.front().get(); }

    [[nodiscard]] auto begin() const { return m_touches.begin(); }
    [[nodiscard]] auto end() const { return m_touches.end(); }

private:
    std::vector<std::shared_ptr<UITouch>> m_touches;
};

// A key of the keyboard: an arrow, Escape, Return, Backspace, a function key, or a character (lower
// case for letters).
enum class UIKeyCode {
    Character,
    LeftArrow,
    RightArrow,
    UpArrow,
    DownArrow,
    Escape,
    Return,
    Backspace,
    Other
};

enum UIKeyModifierFlags : unsigned {
    UIKeyModifierShift = 1u << 17,
    UIKeyModifierControl = 1u << 18,
    UIKeyModifierAlternate = 1u << 19,
};

struct UIKey {
    UIKeyCode code{UIKeyCode::Other};
    char character{0}; // for UIKeyCode::Character
    unsigned modifierFlags{0};
    bool isRepeat{false}; // sent again because the key is held down

    static constexpr UIKey fromCharacter(char c, unsigned modifiers = 0)
    {
        return {UIKeyCode::Character, c, modifiers, false};
    }
    friend constexpr bool operator==(const UIKey&, const UIKey&) = default;
};

// A turn of the scroll wheel over a view: notches away from the user are positive.
struct UIScrollEvent {
    CGPoint screenLocation;
    float dy{0};
};

class UIEvent {
public:
    UIEvent(UITouchSet allTouches, double timestamp)
        : m_allTouches(std::move(allTouches))
        , m_timestamp(timestamp)
    {
    }

    // Every finger on the screen at this moment, including those that are just coming down or
    // just lifting, in the order they went down.
    [[nodiscard]] const UITouchSet& allTouches() const { return m_allTouches; }
    [[nodiscard]] double timestamp() const { return m_timestamp; }

private:
    UITouchSet m_allTouches;
    double m_timestamp;
};

// Something that can receive touches. What it does not handle goes on to its next responder.
class UIResponder {
public:
    virtual ~UIResponder();
    UIResponder(const UIResponder&) = delete;
    UIResponder& operator=(const UIResponder&) = delete;

    [[nodiscard]] virtual UIResponder* nextResponder() const = 0;

    // The defaults pass the touches on to the next responder.
    virtual void touchesBegan(const UITouchSet& touches, const UIEvent& event);
    virtual void touchesMoved(const UITouchSet& touches, const UIEvent& event);
    virtual void touchesEnded(const UITouchSet& touches, const UIEvent& event);
    virtual void touchesCancelled(const UITouchSet& touches, const UIEvent& event);

    // Keys go to the first responder and scrolls to the view under the pointer; what a responder
    // does not handle goes on to its next responder. True when someone handled it.
    virtual bool keyDown(const UIKey& key);
    virtual bool scrollWheel(const UIScrollEvent& event);

    // Makes this the responder that receives key presses first.
    void becomeFirstResponder();
    [[nodiscard]] bool isFirstResponder() const;

protected:
    UIResponder() = default;
};

} // namespace dazed

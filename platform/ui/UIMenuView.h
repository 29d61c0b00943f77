#pragma once

// A menu of actions drawn by the framework over the whole screen: a dark panel of items, each at
// least kMinimumItemHeight points tall in a type readable at arm's length, near the point it was
// opened at and kept on screen. A tap on an item closes the menu and then runs the item's action;
// a tap outside the panel, or Escape, closes it and runs nothing. While open, the menu is the first
// responder and the views beneath it get no touches; closing gives the keys back to the responder
// that had them (see UIModalView).
//
// Under the items the menu can show a note of up to two lines (what an item set going, or why it
// could not be done); the panel grows by kNoteHeight while there is one. Where that would leave
// items shorter than a fingertip (a phone held sideways), the note has a panel of its own beside
// the items instead.
//
// The menu lays itself out from its bounds at every paint and hit test, so its owner only has to
// give it the screen's bounds again when the screen turns or changes size (any size, 1 x 1
// included).

#include "platform/ui/UIModalView.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace dazed {

struct UIMenuItem {
    std::string title;
    std::function<void()> action;
    // An on/off mark beside the title; no mark when empty.
    std::function<bool()> isOn;
    // A disabled item is drawn dimmed and does nothing; always enabled when empty.
    std::function<bool()> isEnabled;
};

class UIMenuView : public UIModalView {
public:
    // A touch target of a fingertip: no item is shorter, however small the screen.
    static constexpr float kMinimumItemHeight = 44.0f; // points
    // The height of an item where the screen has room.
    static constexpr float kItemHeight = 52.0f; // points
    static constexpr float kMaximumPanelWidth = 300.0f;
    // Between the panel and the screen's edges.
    static constexpr float kScreenMargin = 6.0f;
    static constexpr float kFontSize = 20.0f;
    static constexpr float kNoteFontSize = 14.0f;
    static constexpr float kNoteLineHeight = 20.0f;
    static constexpr float kNoteHeight = 48.0f; // points: two lines of the note's type
    // The note's own panel, beside the items where the screen is too short to have it under them.
    static constexpr float kNoteBesideWidth = 160.0f;
    static constexpr float kNoteBesideHeight = 128.0f; // six lines

    explicit UIMenuView(std::vector<UIMenuItem> items);

    // Presents the menu over the whole of `parent` (see UIModalView), its panel centred on
    // `anchor` (in the parent's points) as far as the screen allows.
    void showInView(const std::shared_ptr<UIView>& parent, CGPoint anchor);
    [[nodiscard]] bool isOpen() const { return isPresented(); }

    [[nodiscard]] const std::vector<UIMenuItem>& items() const { return m_items; }
    // The note under the items, read at every layout; none while it gives an empty text. Its
    // owner marks the menu for display when the text changes.
    void setNote(std::function<std::string()> note) { m_note = std::move(note); }
    [[nodiscard]] std::string note() const { return m_note ? m_note() : std::string(); }
    // Where the note lies, in the menu's own points; empty without a note.
    [[nodiscard]] CGRect noteFrame() const;
    // Where the panel and each item lie, in the menu's own points, for its current bounds.
    [[nodiscard]] CGRect panelFrame() const;
    [[nodiscard]] CGRect itemFrame(std::size_t index) const;
    [[nodiscard]] float itemHeight() const;
    // The item under `point` (the menu's points), if any.
    [[nodiscard]] std::optional<std::size_t> itemAtPoint(CGPoint point) const;
    [[nodiscard]] bool isItemEnabled(std::size_t index) const;
    [[nodiscard]] std::optional<std::size_t> highlightedItem() const { return m_pressed; }

    void touchesBegan(const UITouchSet& touches, const UIEvent& event) override;
    void touchesMoved(const UITouchSet& touches, const UIEvent& event) override;
    void touchesEnded(const UITouchSet& touches, const UIEvent& event) override;
    void touchesCancelled(const UITouchSet& touches, const UIEvent& event) override;
    // Escape closes; every other key is swallowed while the menu is open.
    bool keyDown(const UIKey& key) override;
    bool scrollWheel(const UIScrollEvent& event) override;

protected:
    void didDismiss() override;
    [[nodiscard]] bool paintsContent() const override { return true; }
    void paintContent(UIPainter& painter) override;

private:
    // Whether the note fits under the items (else it goes beside them).
    [[nodiscard]] bool noteBelowItems() const;
    [[nodiscard]] float noteBesideWidth() const;
    void paintNote(UIPainter& painter, const std::string& text);
    // The touch that went down first while the menu was open; the others are ignored.
    [[nodiscard]] bool isTracked(const UITouchSet& touches) const;

    std::vector<UIMenuItem> m_items;
    std::function<std::string()> m_note;
    CGPoint m_anchor;
    const UITouch* m_tracked{nullptr};
    std::optional<std::size_t> m_pressed;
    bool m_pressedOutside{false};
};

} // namespace dazed

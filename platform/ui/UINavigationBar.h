#pragma once

// A bar across the top of a screen showing the title of the topmost pushed item and its right
// button. The bar handles touches on that button itself.

#include "platform/ui/UIView.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace dazed {

enum UIBarStyle : int {
    UIBarStyleDefault = 0,
    UIBarStyleBlack = 1,
};

enum UIBarButtonSystemItem : int {
    UIBarButtonSystemItemDone = 0,
    UIBarButtonSystemItemCancel = 1,
};

class UIBarButtonItem {
public:
    // `action` is the target's method bound to its target, run when the button is pressed.
    UIBarButtonItem(int systemItem, std::function<void()> action);
    [[nodiscard]] int systemItem() const { return m_systemItem; }
    [[nodiscard]] std::string title() const;
    void press() const;

private:
    int m_systemItem;
    std::function<void()> m_action;
};

class UINavigationItem {
public:
    explicit UINavigationItem(std::string title = {})
        : m_title(std::move(title))
    {
    }
    [[nodiscard]] const std::string& title() const { return m_title; }
    void setTitle(std::string title) { m_title = std::move(title); }
    [[nodiscard]] const std::shared_ptr<UIBarButtonItem>& rightBarButtonItem() const { return m_right; }
    void setRightBarButtonItem(std::shared_ptr<UIBarButtonItem> item) { m_right = std::move(item); }

private:
    std::string m_title;
    std::shared_ptr<UIBarButtonItem> m_right;
};

class UINavigationBar : public UIView {
public:
    explicit UINavigationBar(CGRect frame = {});

    void setBarStyle(int style);
    [[nodiscard]] int barStyle() const { return m_style; }
    // The bar keeps the item; it is shown at once (there is nothing to animate from here).
    void pushNavigationItem(std::shared_ptr<UINavigationItem> item, bool animated);
    [[nodiscard]] std::shared_ptr<UINavigationItem> topItem() const;
    [[nodiscard]] const std::vector<std::shared_ptr<UINavigationItem>>& items() const { return m_items; }
    // Where the top item's right button is drawn, in the bar's coordinates; empty without one.
    [[nodiscard]] CGRect rightButtonFrame() const;

    void touchesBegan(const UITouchSet& touches, const UIEvent& event) override;
    void touchesMoved(const UITouchSet& touches, const UIEvent& event) override;
    void touchesEnded(const UITouchSet& touches, const UIEvent& event) override;
    void touchesCancelled(const UITouchSet& touches, const UIEvent& event) override;

protected:
    [[nodiscard]] bool paintsContent() const override { return true; }
    void paintContent(UIPainter& painter) override;

private:
    int m_style{UIBarStyleDefault};
    std::vector<std::shared_ptr<UINavigationItem>> m_items;
    bool m_pressing{false};
};

} // namespace dazed

#pragma once

// The list of names to centre the chart on (Find…): every star and constellation name the chart
// knows, alphabetical, in a list that scrolls, under a line with the filter typed so far and a Done
// button. Typing (letters, digits, spaces) narrows the list to the names that match (see
// namesMatching), Backspace takes a character back, Return chooses the first name shown, Escape
// and Done close the list. A tap on a name chooses it. The view covers the whole screen and is the
// first responder while shown.

#include "platform/ui/UIModalView.h"

#include <functional>
#include <memory>
#include <string>

namespace dazed {

class UIButton;
class UILabel;
class UITableView;

class FindNameView : public UIModalView {
public:
    // The line across the top that holds the filter and Done.
    static constexpr float kHeaderHeight = 56.0f; // points
    static constexpr float kDoneWidth = 88.0f;
    // The longest filter kept: longer than any name.
    static constexpr std::size_t kMaximumFilterLength = 40;

    explicit FindNameView(CGRect frame);

    // Presents the list over the whole of `parent` (see UIModalView), with an empty filter.
    void showInView(const std::shared_ptr<UIView>& parent) { presentInView(parent); }
    void close() { dismiss(); }
    [[nodiscard]] bool isOpen() const { return isPresented(); }
    // Lays the header and the list out again for the view's size (the screen turned or resized).
    void layOut(CGSize size);

    void setFilter(std::string filter);
    [[nodiscard]] const std::string& filter() const { return m_filter; }
    [[nodiscard]] const std::shared_ptr<UITableView>& list() const { return m_list; }
    [[nodiscard]] const std::shared_ptr<UILabel>& filterLabel() const { return m_label; }
    [[nodiscard]] const std::shared_ptr<UIButton>& doneButton() const { return m_done; }

    // Told the name chosen, after the list has closed (and onDismiss was told).
    std::function<void(const std::string&)> onChoose;

    bool keyDown(const UIKey& key) override;
    // Touches that miss the header's button and the list land on the view itself: nothing happens.
    void touchesBegan(const UITouchSet&, const UIEvent&) override {}
    void touchesMoved(const UITouchSet&, const UIEvent&) override {}
    void touchesEnded(const UITouchSet&, const UIEvent&) override {}
    void touchesCancelled(const UITouchSet&, const UIEvent&) override {}
    bool scrollWheel(const UIScrollEvent&) override { return true; }

protected:
    void willPresent() override;

private:
    void choose(std::size_t row);
    void showFilter();

    std::string m_filter;
    std::shared_ptr<UILabel> m_label;
    std::shared_ptr<UIButton> m_done;
    std::shared_ptr<UITableView> m_list;
};

} // namespace dazed

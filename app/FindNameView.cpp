#include "app/FindNameView.h"

#include "catalog/NameLookup.h"
#include "platform/ui/UIButton.h"
#include "platform/ui/UILabel.h"
#include "platform/ui/UITableView.h"

#include <algorithm>

namespace dazed {

namespace {

constexpr UIColor kHeaderColour{0.13f, 0.14f, 0.17f, 1};
constexpr float kInset = 12.0f;

bool isFilterCharacter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == ' ' || c == '-';
}

} // namespace

FindNameView::FindNameView(CGRect frame)
    : UIModalView(frame)
    , m_label(std::make_shared<UILabel>())
    , m_done(std::make_shared<UIButton>(UIButtonTypeCustom))
    , m_list(std::make_shared<UITableView>())
{
    setOpaque(true);
    setBackgroundColor(kHeaderColour);
    m_label->setBackgroundColor(kHeaderColour);
    m_label->setTextColor(UIColor::whiteColor());
    m_label->setFont(UIFont::systemFontOfSize(20));
    m_done->setTitle("Done", UIControlStateNormal);
    m_done->setTitleColor(UIColor{0.55f, 0.85f, 1, 1}, UIControlStateNormal);
    m_done->setFont(UIFont::boldSystemFontOfSize(20));
    m_done->addTarget([this] { close(); }, UIControlEventTouchUpInside);
    m_list->onSelectRow = [this](std::size_t row) {
        choose(row);
    };
    addSubview(m_label);
    addSubview(m_done);
    addSubview(m_list);
    m_list->setRows(namesMatching(""));
    showFilter();
    layOut(frame.size);
}

void FindNameView::layOut(CGSize size)
{
    const float w = std::max(0.0f, size.width);
    const float h = std::max(0.0f, size.height);
    setFrame(CGRectMake(0, 0, w, h));
    const float header = std::min(kHeaderHeight, h);
    const float done = std::min(kDoneWidth, w);
    m_label->setFrame(CGRectMake(std::min(kInset, w), 0, std::max(0.0f, w - done - kInset), header));
    m_done->setFrame(CGRectMake(w - done, 0, done, header));
    m_list->setFrame(CGRectMake(0, header, w, h - header));
    // The offset is brought within the new height's range.
    m_list->setContentOffset(m_list->contentOffset());
}

void FindNameView::willPresent()
{
    setFilter("");
    layOut(frame().size);
}

void FindNameView::setFilter(std::string filter)
{
    if (filter.size() > kMaximumFilterLength)
        filter.resize(kMaximumFilterLength);
    m_filter = std::move(filter);
    m_list->setRows(namesMatching(m_filter));
    showFilter();
}

void FindNameView::showFilter()
{
    m_label->setText("Find: " + m_filter + "_");
}

void FindNameView::choose(std::size_t row)
{
    if (row >= m_list->rows().size())
        return;
    const std::string name = m_list->rows()[row];
    // Held: the owner may let go of the view when told it closed.
    const auto keep = shared_from_this();
    close();
    if (onChoose)
        onChoose(name);
}

bool FindNameView::keyDown(const UIKey& key)
{
    // Keys with Ctrl or Alt belong to the window (turning, quitting).
    if (key.modifierFlags & (UIKeyModifierControl | UIKeyModifierAlternate))
        return UIView::keyDown(key);
    switch (key.code) {
    case UIKeyCode::Escape:
        if (!key.isRepeat)
            close();
        return true;
    case UIKeyCode::Return:
        if (!key.isRepeat && !m_list->rows().empty())
            choose(0);
        return true;
    case UIKeyCode::Backspace:
        if (!m_filter.empty())
            setFilter(m_filter.substr(0, m_filter.size() - 1));
        return true;
    case UIKeyCode::UpArrow:
        m_list->setContentOffset(m_list->contentOffset() - UITableView::kRowHeight);
        return true;
    case UIKeyCode::DownArrow:
        m_list->setContentOffset(m_list->contentOffset() + UITableView::kRowHeight);
        return true;
    case UIKeyCode::Character:
        if (isFilterCharacter(key.character))
            setFilter(m_filter + key.character);
        return true;
    default:
        return true; // nothing beneath the list is steered while it is open
    }
}

} // namespace dazed

#pragma once

#include "platform/ui/UIView.h"

#include <functional>
#include <memory>
#include <string>

namespace dazed {

class UIButton;
class UIImageView;
class UILabel;

// The information page's view: a plain full-screen view that draws nothing itself; its background
// colour and its elements make the page. From top to bottom the page shows a headline, the
// advertised application's logo under an invisible button that opens its store page, a line
// inviting to the web site and the web-site button.
class FlipsideView : public UIView {
public:
    explicit FlipsideView(CGRect frame = {})
        : UIView(frame)
    {
    }
    void drawRect(CGRect) override {}

    // Makes the page's elements for a screen of `size` points and adds them: the logo, the
    // headline, the line, then the store button beneath the web-site button. `webSiteTitle` is
    // the web-site button's title; `openWebSite` and `openStorePage` are the buttons' actions.
    void addElements(CGSize size, const std::string& webSiteTitle, std::function<void()> openWebSite,
                     std::function<void()> openStorePage);
    // Centres the elements again for a screen of `size` points; the store button covers the logo
    // and the area above it. Nothing happens to elements not made yet.
    void layOutElements(CGSize size);

    // The elements, null until made.
    [[nodiscard]] const std::shared_ptr<UIImageView>& qorviPrg() const { return m_qorviPrg; }
    [[nodiscard]] const std::shared_ptr<UILabel>& label() const { return m_label; }
    [[nodiscard]] const std::shared_ptr<UILabel>& label1() const { return m_label1; }
    [[nodiscard]] const std::shared_ptr<UIButton>& ch2Button() const { return m_ch2Button; }
    [[nodiscard]] const std::shared_ptr<UIButton>& ch1Button() const { return m_ch1Button; }

private:
    std::shared_ptr<UIImageView> m_qorviPrg; // the logo
    std::shared_ptr<UILabel> m_label;        // the headline
    std::shared_ptr<UILabel> m_label1;       // the line above the web-site button
    std::shared_ptr<UIButton> m_ch2Button;   // the web-site button
    std::shared_ptr<UIButton> m_ch1Button;   // the invisible store-page button
};

} // namespace dazed

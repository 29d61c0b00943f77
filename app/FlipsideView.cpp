#include "app/FlipsideView.h"

#include "platform/ui/UIButton.h"
#include "platform/ui/UIImage.h"
#include "platform/ui/UILabel.h"

namespace dazed {

namespace {

// The store button covers the logo and the area above it, from 90 points down to half the height.
CGRect storeButtonFrame(float w, float h)
{
    return CGRectMake(10, 90, w - 10, h / 2);
}

std::shared_ptr<UILabel> pageLabel(CGRect frame, const char* text)
{
    auto label = std::make_shared<UILabel>(frame);
    label->setText(text);
    label->setBackgroundColor(UIColor::blackColor());
    label->setTextColor(UIColor::whiteColor());
    label->setTextAlignment(UITextAlignmentCenter);
    label->setFont(UIFont::systemFontOfSize(15));
    return label;
}

} // namespace

void FlipsideView::addElements(CGSize size, const std::string& webSiteTitle,
                               std::function<void()> openWebSite, std::function<void()> openStorePage)
{
    const float w = size.width, h = size.height;

    m_qorviPrg = std::make_shared<UIImageView>(UIImage::imageNamed("qorvilan.png"));
    m_qorviPrg->setCenter({w / 2, h / 2 + 30});
    addSubview(m_qorviPrg);

    m_label = pageLabel(CGRectMake(20, 70, 280, 40), "a New Ipod/Iphone/Ipad application");
    m_label->setCenter({w / 2, h / 2 - 170});
    addSubview(m_label);

    m_label1 = pageLabel(CGRectMake(20, h - 100, 280, 40), "Please visit our web site :");
    m_label1->setCenter({w / 2, h - 100});
    addSubview(m_label1);

    m_ch2Button = UIButton::buttonWithType(UIButtonTypeRoundedRect);
    m_ch2Button->setFrame(CGRectMake(w / 2 - 120, h - 60, 240, 57));
    m_ch2Button->setCenter({w / 2, h - 60});
    m_ch2Button->setBackgroundColor(UIColor::clearColor());
    m_ch2Button->setBackgroundImage(UIImage::imageNamed("DevoRod1.png"), UIControlStateNormal);
    m_ch2Button->setContentHorizontalAlignment(UIControlContentHorizontalAlignmentLeft);
    m_ch2Button->setTitleColor(UIColor::whiteColor(), UIControlStateNormal);
    m_ch2Button->setTitle(webSiteTitle, UIControlStateNormal);
    m_ch2Button->addTarget(std::move(openWebSite), UIControlEventTouchUpInside);
    addSubview(m_ch2Button);

    m_ch1Button = UIButton::buttonWithType(UIButtonTypeCustom);
    m_ch1Button->setFrame(storeButtonFrame(w, h));
    m_ch1Button->setBackgroundColor(UIColor::clearColor());
    m_ch1Button->addTarget(std::move(openStorePage), UIControlEventTouchUpInside);
    // It draws nothing, so its place in the order only decides taps: beneath the web-site button,
    // a tap on the visible button opens the site even where the invisible one reaches over it.
    insertSubviewBelowSubview(m_ch1Button, m_ch2Button.get());
}

void FlipsideView::layOutElements(CGSize size)
{
    const float w = size.width, h = size.height;
    if (m_qorviPrg)
        m_qorviPrg->setCenter({w / 2, h / 2 + 30});
    if (m_label)
        m_label->setCenter({w / 2, h / 2 - 170});
    if (m_label1)
        m_label1->setCenter({w / 2, h - 100});
    if (m_ch2Button)
        m_ch2Button->setCenter({w / 2, h - 60});
    // The invisible store button follows its logo through every turn.
    if (m_ch1Button)
        m_ch1Button->setFrame(storeButtonFrame(w, h));
}

} // namespace dazed

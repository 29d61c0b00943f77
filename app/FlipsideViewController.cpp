#include "app/FlipsideViewController.h"

#include "app/FlipsideView.h"
#include "platform/ui/UINavigationBar.h"
#include "platform/ui/UIScreen.h"

namespace dazed {

void FlipsideViewController::loadView()
{
    const UIScreen* screen = UIScreen::mainScreen();
    setView(std::make_shared<FlipsideView>(screen ? screen->bounds() : CGRect{}));
}

void FlipsideViewController::viewDidLoad()
{
    UIViewController::viewDidLoad();
    view()->setBackgroundColor(UIColor::viewFlipsideBackgroundColor());
}

std::shared_ptr<FlipsideView> FlipsideViewController::flipsideView()
{
    return std::dynamic_pointer_cast<FlipsideView>(view());
}

void FlipsideViewController::buildPage(CGSize size, const std::string& webSiteTitle, Actions actions)
{
    const auto page = flipsideView(); // loads it: the flipside colour, replaced at once
    page->setFrame(CGRectMake(0, 0, size.width, size.height));
    page->setBackgroundColor(UIColor::blackColor());
    page->addElements(size, webSiteTitle, std::move(actions.openWebSite), std::move(actions.openStorePage));

    m_navigationBar = std::make_shared<UINavigationBar>(CGRectMake(0, 0, size.width, 44));
    m_navigationBar->setBarStyle(UIBarStyleBlack);
    auto done = std::make_shared<UIBarButtonItem>(UIBarButtonSystemItemDone, std::move(actions.done));
    auto item = std::make_shared<UINavigationItem>("Dazed");
    item->setRightBarButtonItem(done);
    m_navigationBar->pushNavigationItem(item, false);
}

void FlipsideViewController::layOut(CGSize size)
{
    const auto page = flipsideView();
    page->setFrame(CGRectMake(0, 0, size.width, size.height));
    page->layOutElements(size);
    if (m_navigationBar)
        m_navigationBar->setFrame(CGRectMake(0, 0, size.width, 44));
}

} // namespace dazed

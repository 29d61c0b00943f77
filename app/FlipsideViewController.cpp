#include "app/FlipsideViewController.h"

#include "app/FlipsideView.h"
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

} // namespace dazed

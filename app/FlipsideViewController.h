#pragma once

#include "platform/ui/UIViewController.h"

namespace dazed {

// The information page's controller. Its view is a FlipsideView in the platform's colour for the
// reverse side of a screen; the root controller fills it and lays it out.
class FlipsideViewController : public UIViewController {
public:
    FlipsideViewController() = default;
    void loadView() override;
    void viewDidLoad() override;
};

} // namespace dazed

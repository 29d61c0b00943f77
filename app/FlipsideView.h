#pragma once

#include "platform/ui/UIView.h"

namespace dazed {

// The information page's view: a plain full-screen view that draws nothing itself; its background
// colour and its subviews make the page.
class FlipsideView : public UIView {
public:
    explicit FlipsideView(CGRect frame = {})
        : UIView(frame)
    {
    }
    void drawRect(CGRect) override {}
};

} // namespace dazed

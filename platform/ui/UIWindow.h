#pragma once

#include "platform/ui/UIView.h"

namespace dazed {

// The view at the top of the tree: it fills the device screen and is what touches are tested
// against and what the display cycle draws.
class UIWindow : public UIView {
public:
    using UIView::UIView;

    // Makes this the application's key window and shows it.
    void makeKeyAndVisible();
    [[nodiscard]] bool isKeyWindow() const;
};

} // namespace dazed

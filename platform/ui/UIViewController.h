#pragma once

// A controller owns its root view, which it builds on the first request for it.

#include "platform/ui/UIResponder.h"
#include "platform/ui/UIView.h"

#include <functional>
#include <memory>
#include <string>

namespace dazed {

enum UIInterfaceOrientation : int {
    UIInterfaceOrientationPortrait = 1,
    UIInterfaceOrientationPortraitUpsideDown = 2,
    UIInterfaceOrientationLandscapeLeft = 4,
    UIInterfaceOrientationLandscapeRight = 3,
};

class UIViewController : public UIResponder {
public:
    // `nibName` names an interface description for the view; the framework keeps it but builds the
    // view in loadView (an interface loader may have supplied a view builder instead).
    explicit UIViewController(std::string nibName = {});
    ~UIViewController() override;

    // The first call runs loadView, then viewDidLoad.
    [[nodiscard]] const std::shared_ptr<UIView>& view();
    [[nodiscard]] bool isViewLoaded() const { return m_view != nullptr; }
    // Makes `view` the root view; the old root view stops forwarding touches here.
    void setView(std::shared_ptr<UIView> view);
    [[nodiscard]] const std::string& nibName() const { return m_nibName; }

    // Builds the root view: from the view builder when one was given, else a plain view the size
    // of the main screen.
    virtual void loadView();
    virtual void viewDidLoad() {}
    virtual void viewWillAppear(bool) {}
    virtual void viewDidAppear(bool) {}
    virtual void viewWillDisappear(bool) {}
    virtual void viewDidDisappear(bool) {}
    // The default accepts portrait only.
    virtual bool shouldAutorotateToInterfaceOrientation(int interfaceOrientation);
    virtual void didReceiveMemoryWarning() {}

    // Interface descriptions connect named outlets and actions; the defaults know none.
    // True when the controller has an outlet of that name.
    virtual bool setOutlet(const std::string& name, const std::shared_ptr<UIView>& view);
    // An empty function when the controller has no action of that name.
    virtual std::function<void()> actionNamed(const std::string& name);

    // Used by the interface loader: how loadView builds the root view.
    void setViewBuilder(std::function<std::shared_ptr<UIView>(UIViewController&)> builder)
    {
        m_viewBuilder = std::move(builder);
    }

    // After the root view, the touches go to the view's superview.
    [[nodiscard]] UIResponder* nextResponder() const override;

protected:
    // Turns on the device's orientation notifications and runs `onChange` after every change of
    // the device's orientation. The subscription names this controller: subscribing again (a
    // controller is asked about autorotation again and again) replaces the earlier callback, so one
    // change runs it once, and the controller must remove itself from the default notification
    // centre before it goes.
    void observeDeviceOrientation(std::function<void()> onChange);

private:
    std::string m_nibName;
    std::shared_ptr<UIView> m_view;
    bool m_loading{false};
    std::function<std::shared_ptr<UIView>(UIViewController&)> m_viewBuilder;
};

} // namespace dazed

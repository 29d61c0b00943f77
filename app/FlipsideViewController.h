#pragma once

#include "platform/ui/UIViewController.h"

#include <functional>
#include <memory>
#include <string>

namespace dazed {

class FlipsideView;
class UINavigationBar;

// The information page's controller. Its view is a FlipsideView in the platform's colour for the
// reverse side of a screen until the page is built on it; the page's navigation bar, titled with
// the application's name and holding the Done button, is the controller's too, though it lies
// beside the page view rather than in it (the root controller places both).
class FlipsideViewController : public UIViewController {
public:
    FlipsideViewController() = default;
    void loadView() override;
    void viewDidLoad() override;

    // What the page's buttons do: open the web site, open the store page, flip back (Done).
    struct Actions {
        std::function<void()> openWebSite;
        std::function<void()> openStorePage;
        std::function<void()> done;
    };
    // Builds the page for a screen of `size` points: the view fills it, black, with its elements
    // (FlipsideView::addElements), and the bar is made across its top. `webSiteTitle` is the
    // web-site button's title.
    void buildPage(CGSize size, const std::string& webSiteTitle, Actions actions);
    // Lays the page view, its elements and the bar out again for a screen of `size` points.
    void layOut(CGSize size);

    // The page view, loading it if need be.
    [[nodiscard]] std::shared_ptr<FlipsideView> flipsideView();
    // Null until the page is built.
    [[nodiscard]] const std::shared_ptr<UINavigationBar>& navigationBar() const { return m_navigationBar; }

private:
    std::shared_ptr<UINavigationBar> m_navigationBar;
};

} // namespace dazed

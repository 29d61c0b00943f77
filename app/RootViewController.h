#pragma once

// The window's root controller. Its view comes from the main interface description with the info
// button on it; once loaded, the controller puts the sky screen (MainViewController) beneath the
// button, keeps the screen's size for the device's orientation, lays the button and the
// information page out again when the device turns, and flips between the sky and the page with a
// one-second flip of the whole root view. The page (FlipsideViewController, which builds it) is
// made the first time it is shown and kept.

#include "app/InfoLinks.h"
#include "navigation/SkyLayerState.h"
#include "platform/location/SystemLocation.h"
#include "platform/ui/UIViewController.h"

#include <functional>
#include <memory>
#include <optional>
#include <stop_token>
#include <string>

namespace dazed {

class BackgroundWork;
class FindNameView;
class FlipsideView;
class FlipsideViewController;
class MainViewController;
class UIButton;
class UIMenuView;
class UINavigationBar;

class RootViewController : public UIViewController {
public:
    RootViewController();
    ~RootViewController() override;

    // The two addresses the page's buttons open; without them the buttons open nothing.
    void setLinks(std::optional<InfoLinks> links) { m_links = std::move(links); }
    // Where the sky screen starts (the command line's choice); 17 h, +31 degrees by default.
    void setInitialCentre(float rightAscension, float declination);
    // The sky layer the sky screen starts with (--place, --time).
    void setInitialSkyLayer(const SkyLayerState& state) { m_initialSkyLayer = state; }
    // Hears every change the sky screen makes to the layer (T), once the view has loaded.
    void setSkyLayerObserver(std::function<void(const SkyLayerState&)> observer)
    {
        m_skyLayerObserver = std::move(observer);
    }

    // Night mode: the whole window (sky, page, flip, pointer) red on black for eyes adapted to the
    // dark, from the next frame on; off gives the day picture back exactly. A property of how the
    // screen is shown, so it changes nothing the controllers draw.
    void setNightMode(bool on);
    [[nodiscard]] bool nightMode() const { return m_nightMode; }
    // Hears each change of night mode made after it is set (R, the menu).
    void setNightModeObserver(std::function<void(bool)> observer)
    {
        m_nightModeObserver = std::move(observer);
    }

    // Asks the system where the device is, giving up when `stop` is requested (askSystemLocation
    // with the window's timeout; tests give a fake). With one, T and the menu's Tonight here ask it
    // when the sky screen knows no place: off the event loop, the menu saying so meanwhile, and
    // then showing the sky of the place found, or one line on why there is none.
    using PlaceQuestion = std::function<Result<SystemLocation>(std::stop_token)>;
    void setPlaceQuestion(PlaceQuestion question) { m_placeQuestion = std::move(question); }
    // True while the question is out.
    [[nodiscard]] bool isAskingForPlace() const;
    // What the menu says under its items about the place ("" for nothing).
    [[nodiscard]] const std::string& placeNote() const { return m_placeNote; }

    void viewDidLoad() override;
    // Sets largeur and hauteur for the device's orientation and lays out again.
    void detectOrientation();
    // Lays out the page, its bar and the info button for largeur x hauteur.
    void setOrientation();
    // Has the information page, its navigation bar and their elements built, for largeur x hauteur.
    void loadFlipsideViewController();
    // Flips between the sky screen and the information page.
    void toggleView();
    // The page's two buttons: the web site and the advertised application's page.
    void choice2();
    void choiceApp();
    // Accepts every orientation, and subscribes detectOrientation to orientation changes.
    bool shouldAutorotateToInterfaceOrientation(int interfaceOrientation) override;

    // The interface description connects the info button and its action.
    bool setOutlet(const std::string& name, const std::shared_ptr<UIView>& view) override;
    std::function<void()> actionNamed(const std::string& name) override;

    // The long-press menu over the sky, its panel near `screenPoint`; nothing while the page shows
    // or the screen flips. Its items send the keys the keyboard sends (see SkyMenu).
    void showMenu(CGPoint screenPoint);
    // The list of names (Find…) over the sky; choosing a name centres the sky on it as --at does.
    void showFind();
    [[nodiscard]] const std::shared_ptr<UIMenuView>& menu() const { return m_menu; }
    [[nodiscard]] const std::shared_ptr<FindNameView>& findView() const { return m_find; }

    // Desktop: I flips to the page and back, Escape leaves the page, / opens the list of names, R turns night
    // mode on and off, T with no place asks the system for one (see setPlaceQuestion); the wheel
    // over the info button still zooms the sky.
    bool keyDown(const UIKey& key) override;
    bool scrollWheel(const UIScrollEvent& event) override;

    [[nodiscard]] bool isShowingSky() const;
    [[nodiscard]] float largeur() const { return m_largeur; }
    [[nodiscard]] float hauteur() const { return m_hauteur; }

    // The outlets, the page's controller, and the page's bar and elements (null until the page is
    // built).
    [[nodiscard]] const std::shared_ptr<UIButton>& infoButton() const { return m_infoButton; }
    [[nodiscard]] const std::shared_ptr<MainViewController>& mainViewController() const
    {
        return m_mainViewController;
    }
    [[nodiscard]] const std::shared_ptr<FlipsideViewController>& flipsideViewController() const
    {
        return m_flipsideViewController;
    }
    [[nodiscard]] std::shared_ptr<UINavigationBar> flipsideNavigationBar() const;
    // The page view, which holds the page's elements (qorviPrg, label, label1, ch2Button,
    // ch1Button).
    [[nodiscard]] std::shared_ptr<FlipsideView> flipsideView() const;

    void setInfoButton(std::shared_ptr<UIButton> button) { m_infoButton = std::move(button); }

protected:
    // Makes the sky-screen controller; tests give one that records its commands.
    virtual std::shared_ptr<MainViewController> makeMainViewController();

private:
    void openLink(const std::string& url);
    void askForPlace();
    void placeAnswered(const Result<SystemLocation>& answer);

    std::shared_ptr<UIButton> m_infoButton;
    std::shared_ptr<MainViewController> m_mainViewController;
    std::shared_ptr<FlipsideViewController> m_flipsideViewController;
    float m_largeur{0.0f}; // screen width for the current orientation, points; 0 until detected
    float m_hauteur{0.0f};
    std::optional<InfoLinks> m_links;
    std::optional<std::pair<float, float>> m_initialCentre;
    std::optional<SkyLayerState> m_initialSkyLayer;
    bool m_nightMode{false};
    std::function<void(const SkyLayerState&)> m_skyLayerObserver;
    std::function<void(bool)> m_nightModeObserver;
    // Made when first shown, then kept (null until then).
    std::shared_ptr<UIMenuView> m_menu;
    CGPoint m_menuAnchor;
    std::shared_ptr<FindNameView> m_find;
    PlaceQuestion m_placeQuestion;
    std::string m_placeNote;
    // The question out to the system; last, so that it is withdrawn before anything it reports to
    // goes.
    std::unique_ptr<BackgroundWork> m_placeAsk;
};

} // namespace dazed

#pragma once

// The main interface description: a JSON file naming the application delegate, the window, the
// root view controller and the root view with its subviews, outlets and actions, for example
//
//   { "delegate": "AppDelegate_Phone",
//     "window": { "frame": [0, 0, 320, 480] },
//     "rootViewController": { "class": "RootViewController",
//       "view": { "frame": [0, 0, 320, 480], "subviews": [
//         { "class": "UIButton", "buttonType": "custom", "image": "InfoButton.png",
//           "frame": [260, 400, 50, 50], "action": "toggleView", "outlet": "infoButton" } ] } } }
//
// A button's "image" names a picture in the resource folder (see UIImage::imageNamed), shown centred
// for the normal state; a picture that cannot be loaded leaves the button without one.
//
// "window" and "rootViewController" may be left out; the application then starts without them.

#include "platform/Result.h"
#include "platform/graphics/Geometry.h"
#include "platform/ui/ClassRegistry.h"
#include "platform/ui/UIButton.h"
#include "platform/ui/UIColor.h"
#include "platform/ui/UIWindow.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace dazed {

struct ViewDescription {
    std::string className{"UIView"}; // "UIView" or "UIButton"
    CGRect frame;
    std::optional<UIColor> backgroundColor;
    UIButtonType buttonType{UIButtonTypeCustom};
    std::string title;
    std::string image;  // a button's picture for the normal state, by name in the resource folder
    std::string action; // run on touch-up-inside, looked up on the root controller
    std::string outlet; // the root controller's outlet this view is connected to
    std::vector<ViewDescription> subviews;
};

struct InterfaceDescription {
    std::string delegateClass;
    std::optional<CGRect> windowFrame;
    std::optional<std::string> rootControllerClass;
    std::optional<ViewDescription> rootView;
};

// No frame number may go beyond this many points either way, and no size below 0: the largest
// screen is 1024 points, and a float conversion or a view picture never meets an absurd number.
inline constexpr double kMaxFramePoints = 10000.0;
// The largest description file read; the shipped ones are well under 2 KiB.
inline constexpr std::uintmax_t kMaxInterfaceBytes = std::uintmax_t{1} << 20;

// The description in `path`, or a one-line message naming the file and what is wrong with it
// (missing, too large, not JSON, a member of the wrong type or out of range, a class the registry
// does not know).
Result<InterfaceDescription> readInterfaceDescription(const std::string& path, const ClassRegistry& registry);
// The same for the text of a description; messages name it as `source`.
Result<InterfaceDescription> parseInterfaceDescription(std::string_view text, const std::string& source,
                                                       const ClassRegistry& registry);

struct LoadedInterface {
    std::unique_ptr<UIApplicationDelegate> delegate;
    std::shared_ptr<UIWindow> window;
    std::shared_ptr<UIViewController> rootViewController;
    // What could not be connected (an outlet or action the root controller does not have), one line
    // each; filled in when the root view is built.
    std::shared_ptr<std::vector<std::string>> warnings = std::make_shared<std::vector<std::string>>();
};

// Creates the objects: the delegate, the window, the root controller, which builds the described
// root view (connecting outlets and actions) the first time its view is asked for. The delegate
// is handed the window and the controller.
LoadedInterface instantiateInterface(const InterfaceDescription& description, const ClassRegistry& registry);

// Builds a described view tree; outlets and actions are connected on `owner` when given, and what
// cannot be connected is added to `warnings` when given.
std::shared_ptr<UIView> buildView(const ViewDescription& description, UIViewController* owner,
                                  std::vector<std::string>* warnings = nullptr);

} // namespace dazed

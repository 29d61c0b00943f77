#pragma once

// The sky screen's long-press menu: what it offers and what each item does. Every item sends the
// key that does the same from the keyboard, through the application's key path, so that the menu
// and the keys can never drift apart:
//   Night mode R · Tonight here T · Now N · One hour back [ · One hour on ] · Find… / ·
//   Centre on the zenith H.
// The items that steer the place's sky (Now, the hours, the zenith) are disabled while no place is
// known; Tonight here stays enabled (it is how a place is asked for).

#include "platform/ui/UIMenuView.h"

#include <functional>
#include <vector>

namespace dazed {

struct SkyMenuHooks {
    // Sends a key as the keyboard does (UIApplication::sendKey in the window).
    std::function<void(const UIKey&)> sendKey;
    // The on/off marks; an empty one shows no mark.
    std::function<bool()> nightMode;
    std::function<bool()> layerShown;
    // Whether the sky screen knows a place; without this hook, it does not.
    std::function<bool()> placeKnown;
};

[[nodiscard]] std::vector<UIMenuItem> skyMenuItems(const SkyMenuHooks& hooks);

} // namespace dazed

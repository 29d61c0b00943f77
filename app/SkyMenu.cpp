#include "app/SkyMenu.h"

namespace dazed {

namespace {

enum class Needs { Nothing, Place };

struct Entry {
    const char* title;
    char key;
    Needs needs;
};

// "Find…" ends in a horizontal ellipsis (UTF-8): it opens a screen of its own.
constexpr Entry kEntries[] = {
    {"Night mode", 'r', Needs::Nothing},
    {"Tonight here", 't', Needs::Nothing},
    {"Now", 'n', Needs::Place},
    {"One hour back", '[', Needs::Place},
    {"One hour on", ']', Needs::Place},
    {"Find\xE2\x80\xA6", '/', Needs::Nothing},
    {"Centre on the zenith", 'h', Needs::Place},
};

} // namespace

std::vector<UIMenuItem> skyMenuItems(const SkyMenuHooks& hooks)
{
    std::vector<UIMenuItem> items;
    for (const Entry& entry : kEntries) {
        UIMenuItem item;
        item.title = entry.title;
        const UIKey key = UIKey::fromCharacter(entry.key);
        item.action = [send = hooks.sendKey, key] {
            if (send)
                send(key);
        };
        if (entry.key == 'r')
            item.isOn = hooks.nightMode;
        else if (entry.key == 't')
            item.isOn = hooks.layerShown;
        if (entry.needs == Needs::Place)
            item.isEnabled = [known = hooks.placeKnown] {
                return known && known();
            };
        items.push_back(std::move(item));
    }
    return items;
}

} // namespace dazed

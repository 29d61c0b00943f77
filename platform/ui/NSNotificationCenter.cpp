#include "platform/ui/NSNotificationCenter.h"

#include <algorithm>

namespace dazed {

NSNotificationCenter& NSNotificationCenter::defaultCenter()
{
    static NSNotificationCenter center;
    return center;
}

void NSNotificationCenter::addObserver(const void* observer,
                                       std::function<void(const NSNotification&)> callback,
                                       const std::string& name, const void* sender)
{
    if (!callback)
        return;
    for (auto& o : m_observers) {
        if (o.observer == observer && o.name == name && o.sender == sender) {
            o.callback = std::move(callback);
            return;
        }
    }
    m_observers.push_back({observer, std::move(callback), name, sender});
}

void NSNotificationCenter::removeObserver(const void* observer)
{
    std::erase_if(m_observers, [&](const Observer& o) { return o.observer == observer; });
}

void NSNotificationCenter::postNotificationName(const std::string& name, const void* sender)
{
    const NSNotification note{name, sender};
    // Observers may subscribe or unsubscribe while being called, so deliver from a copy, and skip
    // those removed meanwhile.
    const std::vector<Observer> snapshot = m_observers;
    for (const auto& o : snapshot) {
        if ((!o.name.empty() && o.name != name) || (o.sender && o.sender != sender))
            continue;
        const bool stillSubscribed =
            std::any_of(m_observers.begin(), m_observers.end(), [&](const Observer& cur) {
                return cur.observer == o.observer && cur.name == o.name && cur.sender == o.sender;
            });
        if (stillSubscribed)
            o.callback(note);
    }
}

} // namespace dazed

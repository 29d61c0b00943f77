#pragma once

// Named notifications, delivered synchronously on the thread that posts them (the main thread:
// the event loop is the only poster of device notifications).

#include <functional>
#include <string>
#include <vector>

namespace dazed {

struct NSNotification {
    std::string name;
    const void* object{nullptr};
};

inline constexpr const char* UIDeviceOrientationDidChangeNotification =
    "UIDeviceOrientationDidChangeNotification";

class NSNotificationCenter {
public:
    static NSNotificationCenter& defaultCenter();

    // Calls `callback` for every notification called `name` (any name when empty) from `sender`
    // (any sender when null). `observer` identifies the subscription: subscribing the same
    // observer to the same name and sender again replaces the earlier callback instead of adding a
    // second one, so a repeated subscription never runs the observer twice for one change.
    void addObserver(const void* observer, std::function<void(const NSNotification&)> callback,
                     const std::string& name, const void* sender);
    void removeObserver(const void* observer);
    void postNotificationName(const std::string& name, const void* sender = nullptr);
    [[nodiscard]] std::size_t observerCount() const { return m_observers.size(); }
    void removeAllObservers() { m_observers.clear(); }

private:
    struct Observer {
        const void* observer;
        std::function<void(const NSNotification&)> callback;
        std::string name;
        const void* sender;
    };
    std::vector<Observer> m_observers;
};

} // namespace dazed

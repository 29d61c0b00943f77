#pragma once

// Classes that an interface description may name, with a factory each. The application registers
// its delegates and controllers before starting; nothing else is created by name.

#include "platform/ui/UIApplicationDelegate.h"
#include "platform/ui/UIViewController.h"

#include <functional>
#include <map>
#include <memory>
#include <string>

namespace dazed {

class ClassRegistry {
public:
    using DelegateFactory = std::function<std::unique_ptr<UIApplicationDelegate>()>;
    using ControllerFactory = std::function<std::shared_ptr<UIViewController>()>;

    void registerDelegate(const std::string& name, DelegateFactory factory)
    {
        m_delegates[name] = std::move(factory);
    }
    void registerController(const std::string& name, ControllerFactory factory)
    {
        m_controllers[name] = std::move(factory);
    }
    template <class T> void registerDelegate(const std::string& name)
    {
        registerDelegate(name, [] { return std::make_unique<T>(); });
    }
    template <class T> void registerController(const std::string& name)
    {
        registerController(name, [] { return std::make_shared<T>(); });
    }

    // Null for a name that was not registered.
    [[nodiscard]] std::unique_ptr<UIApplicationDelegate> makeDelegate(const std::string& name) const
    {
        auto it = m_delegates.find(name);
        return it == m_delegates.end() ? nullptr : it->second();
    }
    [[nodiscard]] std::shared_ptr<UIViewController> makeController(const std::string& name) const
    {
        auto it = m_controllers.find(name);
        return it == m_controllers.end() ? nullptr : it->second();
    }
    [[nodiscard]] bool hasDelegate(const std::string& name) const { return m_delegates.contains(name); }
    [[nodiscard]] bool hasController(const std::string& name) const { return m_controllers.contains(name); }

    // The registry the application fills at start-up.
    static ClassRegistry& shared();

private:
    std::map<std::string, DelegateFactory> m_delegates;
    std::map<std::string, ControllerFactory> m_controllers;
};

} // namespace dazed

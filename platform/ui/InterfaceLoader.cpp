#include "platform/ui/InterfaceLoader.h"

#include "platform/FileRead.h"
#include "platform/ui/UIButton.h"

#include <cstdio>
#include <nlohmann/json.hpp>

namespace dazed {

namespace {

using nlohmann::json;

// A problem found while reading; the message names the member and what is wrong with it.
struct DescriptionError {
    std::string message;
};

std::string member(const std::string& where, const std::string& key)
{
    return where.empty() ? "\"" + key + "\"" : where + "." + key;
}

const json* optionalMember(const json& object, const std::string& key)
{
    auto it = object.find(key);
    return it == object.end() || it->is_null() ? nullptr : &*it;
}

std::string readString(const json& object, const std::string& key, const std::string& where, bool required)
{
    const json* v = optionalMember(object, key);
    if (!v) {
        if (required)
            throw DescriptionError{member(where, key) + " is missing"};
        return {};
    }
    if (!v->is_string())
        throw DescriptionError{member(where, key) + " must be a string"};
    return v->get<std::string>();
}

// The number as JSON spells it, for messages: "1e+39", "-5", "100000".
std::string spelled(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.9g", value);
    return text;
}

CGRect readFrame(const json& object, const std::string& where)
{
    const json* v = optionalMember(object, "frame");
    if (!v)
        throw DescriptionError{member(where, "frame") + " is missing"};
    if (!v->is_array() || v->size() != 4)
        throw DescriptionError{member(where, "frame") +
                               " must be an array of four numbers [x, y, width, height]"};
    static constexpr const char* kNames[4] = {"x", "y", "width", "height"};
    float n[4];
    for (std::size_t i = 0; i < 4; ++i) {
        if (!(*v)[i].is_number())
            throw DescriptionError{member(where, "frame") +
                                   " must be an array of four numbers [x, y, width, height]"};
        // Checked in double precision, before the narrowing to float: a number beyond the float
        // range (1e39) would otherwise become infinite, or undefined.
        const double value = (*v)[i].get<double>();
        const bool isSize = i >= 2;
        if (!(value >= (isSize ? 0.0 : -kMaxFramePoints) && value <= kMaxFramePoints))
            throw DescriptionError{member(where, "frame") + " " + kNames[i] + " " + spelled(value) +
                                   " is out of range (" + (isSize ? "0" : "-" + spelled(kMaxFramePoints)) +
                                   " to " + spelled(kMaxFramePoints) + " points)"};
        n[i] = static_cast<float>(value);
    }
    return CGRectMake(n[0], n[1], n[2], n[3]);
}

std::optional<UIColor> readColor(const json& object, const std::string& where)
{
    const std::string name = readString(object, "backgroundColor", where, false);
    if (name.empty())
        return std::nullopt;
    if (name == "black")
        return UIColor::blackColor();
    if (name == "white")
        return UIColor::whiteColor();
    if (name == "clear")
        return UIColor::clearColor();
    throw DescriptionError{member(where, "backgroundColor") + " must be \"black\", \"white\" or \"clear\""};
}

UIButtonType readButtonType(const json& object, const std::string& where)
{
    const std::string kind = readString(object, "buttonType", where, false);
    if (kind.empty() || kind == "custom")
        return UIButtonTypeCustom;
    if (kind == "roundedRect")
        return UIButtonTypeRoundedRect;
    if (kind == "infoLight")
        return UIButtonTypeInfoLight;
    if (kind == "infoDark")
        return UIButtonTypeInfoDark;
    throw DescriptionError{member(where, "buttonType") +
                           " must be \"custom\", \"roundedRect\", \"infoLight\" or \"infoDark\""};
}

ViewDescription readView(const json& object, const std::string& where, int depth)
{
    // Deep nesting can only come from a broken or hostile file.
    if (depth > 32)
        throw DescriptionError{where + " nests views too deeply"};
    if (!object.is_object())
        throw DescriptionError{where + " must be an object"};
    ViewDescription view;
    const std::string cls = readString(object, "class", where, false);
    if (!cls.empty()) {
        if (cls != "UIView" && cls != "UIButton")
            throw DescriptionError{member(where, "class") + " \"" + cls +
                                   "\" is not a view class (UIView, UIButton)"};
        view.className = cls;
    }
    view.frame = readFrame(object, where);
    view.backgroundColor = readColor(object, where);
    if (view.className == "UIButton") {
        view.buttonType = readButtonType(object, where);
        view.title = readString(object, "title", where, false);
        view.image = readString(object, "image", where, false);
        view.action = readString(object, "action", where, false);
    }
    view.outlet = readString(object, "outlet", where, false);
    if (const json* subviews = optionalMember(object, "subviews")) {
        if (!subviews->is_array())
            throw DescriptionError{member(where, "subviews") + " must be an array"};
        for (std::size_t i = 0; i < subviews->size(); ++i)
            view.subviews.push_back(readView(
                (*subviews)[i], member(where, "subviews") + "[" + std::to_string(i) + "]", depth + 1));
    }
    return view;
}

InterfaceDescription readDescription(const json& doc, const ClassRegistry& registry)
{
    if (!doc.is_object())
        throw DescriptionError{"the top level must be an object"};
    InterfaceDescription d;
    d.delegateClass = readString(doc, "delegate", "", true);
    if (!registry.hasDelegate(d.delegateClass))
        throw DescriptionError{"\"delegate\" names the unknown class \"" + d.delegateClass + "\""};
    if (const json* window = optionalMember(doc, "window")) {
        if (!window->is_object())
            throw DescriptionError{"\"window\" must be an object"};
        d.windowFrame = readFrame(*window, "window");
    }
    if (const json* root = optionalMember(doc, "rootViewController")) {
        if (!root->is_object())
            throw DescriptionError{"\"rootViewController\" must be an object"};
        const std::string cls = readString(*root, "class", "rootViewController", true);
        if (!registry.hasController(cls))
            throw DescriptionError{"rootViewController.class names the unknown class \"" + cls + "\""};
        d.rootControllerClass = cls;
        if (const json* view = optionalMember(*root, "view"))
            d.rootView = readView(*view, "rootViewController.view", 0);
    }
    return d;
}

} // namespace

Result<InterfaceDescription> readInterfaceDescription(const std::string& path, const ClassRegistry& registry)
{
    const auto text = readWholeFile(path, kMaxInterfaceBytes, "an interface description");
    if (!text)
        return text.error();
    return parseInterfaceDescription(text.value(), path, registry);
}

Result<InterfaceDescription> parseInterfaceDescription(std::string_view text, const std::string& source,
                                                       const ClassRegistry& registry)
{
    const json doc = json::parse(text, nullptr, /*allow_exceptions=*/false);
    if (doc.is_discarded())
        return failure(source + ": is not valid JSON");
    try {
        return readDescription(doc, registry);
    } catch (const DescriptionError& e) {
        return failure(source + ": " + e.message);
    } catch (const json::exception& e) {
        return failure(source + ": " + e.what());
    }
}

std::shared_ptr<UIView> buildView(const ViewDescription& d, UIViewController* owner,
                                  std::vector<std::string>* warnings)
{
    const auto warn = [warnings](std::string message) {
        if (warnings)
            warnings->push_back(std::move(message));
    };
    std::shared_ptr<UIView> view;
    if (d.className == "UIButton") {
        auto button = std::make_shared<UIButton>(d.buttonType, d.frame);
        if (!d.title.empty())
            button->setTitle(d.title, UIControlStateNormal);
        // A missing picture is reported by imageNamed; the button is kept, without it.
        if (!d.image.empty()) {
            if (auto image = UIImage::imageNamed(d.image))
                button->setImage(std::move(image), UIControlStateNormal);
        }
        if (!d.action.empty() && owner) {
            if (auto action = owner->actionNamed(d.action))
                button->addTarget(std::move(action), UIControlEventTouchUpInside);
            else
                warn("interface description: the root controller has no action \"" + d.action + "\"");
        }
        view = button;
    } else {
        view = std::make_shared<UIView>(d.frame);
    }
    if (d.backgroundColor)
        view->setBackgroundColor(*d.backgroundColor);
    for (const auto& sub : d.subviews)
        view->addSubview(buildView(sub, owner, warnings));
    if (!d.outlet.empty() && owner && !owner->setOutlet(d.outlet, view))
        warn("interface description: the root controller has no outlet \"" + d.outlet + "\"");
    return view;
}

LoadedInterface instantiateInterface(const InterfaceDescription& description, const ClassRegistry& registry)
{
    LoadedInterface loaded;
    loaded.delegate = registry.makeDelegate(description.delegateClass);
    if (description.windowFrame)
        loaded.window = std::make_shared<UIWindow>(*description.windowFrame);
    if (description.rootControllerClass)
        loaded.rootViewController = registry.makeController(*description.rootControllerClass);
    if (loaded.rootViewController && description.rootView) {
        // Like a view loaded from an interface file: built on the first request for the view.
        const ViewDescription rootView = *description.rootView;
        loaded.rootViewController->setViewBuilder(
            [rootView, warnings = loaded.warnings](UIViewController& owner) {
                return buildView(rootView, &owner, warnings.get());
            });
    }
    if (loaded.delegate) {
        loaded.delegate->setWindow(loaded.window);
        loaded.delegate->setRootViewController(loaded.rootViewController);
    }
    return loaded;
}

} // namespace dazed

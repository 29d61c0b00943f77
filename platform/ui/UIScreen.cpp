#include "platform/ui/UIScreen.h"

#include <memory>

namespace dazed {

namespace {
std::unique_ptr<UIScreen>& screenSlot()
{
    static std::unique_ptr<UIScreen> screen;
    return screen;
}
} // namespace

UIScreen* UIScreen::mainScreen()
{
    return screenSlot().get();
}

void UIScreen::setMainScreen(std::optional<DeviceFamily> family)
{
    screenSlot().reset(family ? new UIScreen(portraitScreenSize(*family)) : nullptr);
}

void UIScreen::setMainScreenSize(CGSize portraitSize)
{
    screenSlot().reset(new UIScreen(portraitSize));
}

void UIScreen::setMainScreenFittingWindow(CGSize shown, bool landscape)
{
    const CGSize portrait = landscape ? CGSize{shown.height, shown.width} : shown;
    screenSlot().reset(new UIScreen(portrait, ScreenFit::Window, shown));
}

std::optional<DeviceFamily> parseDeviceFamily(std::string_view word)
{
    if (word == "phone")
        return DeviceFamily::Phone;
    if (word == "tablet" || word == "pad")
        return DeviceFamily::Tablet;
    return std::nullopt;
}

const char* deviceFamilyName(DeviceFamily family)
{
    return family == DeviceFamily::Tablet ? "tablet" : "phone";
}

} // namespace dazed

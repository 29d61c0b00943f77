#pragma once

#include "platform/graphics/Geometry.h"

#include <optional>
#include <string_view>

namespace dazed {

enum class DeviceFamily { Phone, Tablet };

// The emulated device's screen in portrait, in points.
constexpr CGSize portraitScreenSize(DeviceFamily family)
{
    return family == DeviceFamily::Tablet ? CGSize{768, 1024} : CGSize{320, 480};
}

// "phone" or "tablet" (also "pad"); nothing for any other word.
std::optional<DeviceFamily> parseDeviceFamily(std::string_view word);
const char* deviceFamilyName(DeviceFamily family);

} // namespace dazed

#include "platform/ui/LaunchOptions.h"

#include "platform/ui/ResourceDirectory.h"

#include <charconv>
#include <string_view>

namespace dazed {

Result<LaunchOptions> parseLaunchOptions(int argc, const char* const* argv)
{
    LaunchOptions options;
    for (int i = 1; i < argc; ++i) {
        std::string_view arg = argv[i] ? argv[i] : "";
        std::string_view name = arg, value;
        bool hasValue = false;
        if (auto eq = arg.find('='); arg.starts_with("--") && eq != std::string_view::npos) {
            name = arg.substr(0, eq);
            value = arg.substr(eq + 1);
            hasValue = true;
        }
        if (arg == "--exit-after-first-frame") {
            options.exitAfterFirstFrame = true;
            continue;
        }
        if (name != "--device" && name != "--orientation" && name != "--interface" && name != "--quit-after")
            continue;
        if (!hasValue) {
            if (i + 1 >= argc || !argv[i + 1])
                return failure(std::string(name) + " needs a value");
            value = argv[++i];
        }
        if (name == "--device") {
            if (value == "fit") {
                options.family = DeviceFamily::Phone;
                options.fit = ScreenFit::Window;
                continue;
            }
            auto family = parseDeviceFamily(value);
            if (!family)
                return failure("--device must be phone, tablet or fit, not \"" + std::string(value) + "\"");
            options.family = *family;
            options.fit = ScreenFit::Device;
        } else if (name == "--orientation") {
            if (value == "portrait")
                options.orientation = UIDeviceOrientationPortrait;
            else if (value == "landscape")
                options.orientation = UIDeviceOrientationLandscapeLeft;
            else
                return failure("--orientation must be portrait or landscape, not \"" + std::string(value) +
                               "\"");
        } else if (name == "--interface") {
            options.interfacePath = std::string(value);
        } else {
            double seconds = 0;
            auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), seconds);
            if (ec != std::errc() || end != value.data() + value.size() || !(seconds >= 0))
                return failure("--quit-after must be a number of seconds, not \"" + std::string(value) +
                               "\"");
            options.quitAfter = seconds;
        }
    }
    return options;
}

std::string defaultInterfacePath(DeviceFamily family)
{
    return resourceDirectory() +
           (family == DeviceFamily::Tablet ? "/MainWindow_Pad.json" : "/MainWindow_Phone.json");
}

} // namespace dazed

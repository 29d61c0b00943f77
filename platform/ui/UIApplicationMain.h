#pragma once

// The process's application loop: picks the framework's options out of argv (--device
// phone|tablet, --interface FILE, --quit-after SECONDS; everything else is left alone), opens the
// window, loads the main interface description with the classes in ClassRegistry::shared(), and
// runs the event loop until the window is closed. Returns 0 then, or 1 after a one-line message on
// stderr when start-up fails. Without a display to open the window on it prints nothing and
// returns kUIApplicationMainNoDisplay, so that the program can say what to do instead;
// UIApplicationMainStartFailure() then gives the reason. The class names are accepted for the platform's
// signature; the interface description decides the delegate.
//
// Declared here for the layers above; defined by the desktop host (platform/sdl), which the
// application links.

#include <string>

namespace dazed {

inline constexpr int kUIApplicationMainNoDisplay = 3;

int UIApplicationMain(int argc, char** argv, const char* principalClassName, const char* delegateClassName);

// Why the last UIApplicationMain could not open its window; empty when it could.
const std::string& UIApplicationMainStartFailure();

} // namespace dazed

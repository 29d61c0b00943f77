#pragma once

// Where the system says the device is, from GeoClue 2 over D-Bus (the system bus), as Linux phones
// and desktops provide it. Only this folder talks D-Bus; the layers above see plain numbers.

#include "platform/Result.h"

#include <chrono>
#include <optional>
#include <stop_token>

namespace dazed {

// GeoClue's answer as it came: degrees north and east, metres. The numbers are not checked here
// (a broken service may send NaN or 1000 degrees); the caller decides what it accepts.
struct SystemLocation {
    double latitudeDegrees{0};
    double longitudeDegrees{0};
    std::optional<double> altitudeMetres; // none when GeoClue does not know it
    double accuracyMetres{0};
};

// Asks GeoClue for the device's place, at city accuracy, and waits at most `timeout` for the
// answer. The failure is one line saying why: no system bus, no GeoClue on it, access refused, no
// answer in time, or an answer without a place. Blocks the calling thread; uses a private
// connection and main context of its own, so it may be called any number of times, from any
// thread. A stop requested through `stop` ends the wait at once, as a failure.
Result<SystemLocation> askSystemLocation(std::chrono::milliseconds timeout, std::stop_token stop = {});

} // namespace dazed

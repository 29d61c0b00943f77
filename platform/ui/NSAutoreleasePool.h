#pragma once

namespace dazed {

// The scope the process entry opens around the application loop. Ownership here is C++ ownership,
// so there is nothing to collect: the pool only marks the scope, and its lifetime is the scope's.
class NSAutoreleasePool {
public:
    NSAutoreleasePool() = default;
    NSAutoreleasePool(const NSAutoreleasePool&) = delete;
    NSAutoreleasePool& operator=(const NSAutoreleasePool&) = delete;
};

} // namespace dazed

#include "platform/ui/ClassRegistry.h"

namespace dazed {

ClassRegistry& ClassRegistry::shared()
{
    static ClassRegistry registry;
    return registry;
}

} // namespace dazed

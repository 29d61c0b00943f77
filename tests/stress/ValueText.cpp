#include "ValueText.h"

#include <sstream>

namespace dazed::stress {

std::string str(double v)
{
    std::ostringstream s;
    s.precision(17);
    s << v;
    return s.str();
}

std::string str(CGRect r)
{
    return "(" + str(r.origin.x) + ", " + str(r.origin.y) + ", " + str(r.size.width) + ", " +
           str(r.size.height) + ")";
}

} // namespace dazed::stress

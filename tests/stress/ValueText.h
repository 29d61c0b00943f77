#pragma once

// Numbers and rectangles as the stress run's failure messages print them: with every digit a
// double holds, so that a replayed failure can be compared to the letter.

#include "platform/graphics/Geometry.h"

#include <string>

namespace dazed::stress {

std::string str(double v);
// "(x, y, width, height)".
std::string str(CGRect r);

} // namespace dazed::stress

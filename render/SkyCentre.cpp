#include "render/SkyCentre.h"

namespace dazed {

double xs1 = 0.0;
double ys1 = 0.0;

} // namespace dazed

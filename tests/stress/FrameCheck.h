#pragma once

// Checks of one recorded drawRect of the sky view.

#include "platform/graphics/RecordingContext.h"
#include "render/QuartzView.h"

#include <string>

namespace dazed::stress {

// The first NaN among a drawing's coordinates ("a NaN in drawing call 12 (CGContextMoveToPoint)"),
// or empty. Infinities are allowed: a point far out of the projection is narrowed to one, and the
// contexts ignore it.
std::string nanIn(const RecordingContext& rec);

// Empty when `rec`, the recording of one drawRect of `view`, is a whole frame: it begins by clearing
// the view, has no NaN (in its calls or in the segment ends it keeps), shows the readout of the
// centre the frame began with, and ends with the red cross on the view's middle. Otherwise what is
// wrong; a frame cut short (the centre changed between passes) fails.
std::string wholeFrameProblem(const QuartzView& view, const RecordingContext& rec);

} // namespace dazed::stress

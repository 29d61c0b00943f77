#pragma once

// `dazed render --place auto`: the frame of the place the system gives, or of the remembered one.

#include "app/AutoPlace.h"
#include "app/RenderCommand.h"

#include <iosfwd>

namespace dazed {

// The request, checked with a stand-in place, to check again and draw once the system (or the
// settings) gives the place.
struct AutoPlaceRender {
    RenderRequest request;
    double timeoutSeconds{kDefaultPlaceTimeoutSeconds};
};

// Asks `ask` for the place (waiting at most the request's timeout), falls back on the place the
// settings file of the environment remembers, saying so in one line on `err`, and draws. Without
// either place: one line and BadOption, nothing drawn. The settings file is only read.
RenderStatus runAutoPlaceRender(const AutoPlaceRender& pending, const AskLocation& ask, std::ostream& err);

} // namespace dazed

#pragma once

// `dazed render`: one frame of the chart, as an image (PNG, SVG, PDF) or as a trace of every
// drawing call, for people making charts and for tests.

#include "app/CentreChoice.h"

#include <iosfwd>
#include <string>

namespace dazed {

// The options as typed; they are checked when the command runs, so that every bad value gets a
// message naming its option.
struct RenderRequest {
    std::string device{"phone"};
    std::string orientation{"portrait"};
    std::string ra{"17"};
    std::string dec{"31"};
    std::string zoom{"1.0"};
    std::string labels{"0"};
    std::string scale{"2"};
    std::string output;  // -o FILE.png|.svg|.pdf
    std::string trace;   // --trace FILE.jsonl
    CentreChoice centre; // --at, --overhead, --time: in place of ra and dec when given
};

// Exit status of the render command.
enum class RenderStatus { Ok = 0, BadOption = 2, Failed = 1 };

// Draws the frame and writes the file. Errors go to `err` as one line naming the option.
RenderStatus runRender(const RenderRequest& request, std::ostream& err);

} // namespace dazed

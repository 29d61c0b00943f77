#pragma once

// `dazed render`: one frame of the chart, as an image (PNG, SVG, PDF) or as a trace of every
// drawing call, for people making charts and for tests.

#include "app/CentreChoice.h"
#include "platform/Result.h"
#include "platform/graphics/Geometry.h"
#include "platform/graphics/image/ImageExport.h"
#include "sky/SkySnapshot.h"

#include <iosfwd>
#include <optional>
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
    std::string output;     // -o FILE.png|.svg|.pdf
    std::string trace;      // --trace FILE.jsonl
    CentreChoice centre;    // --at, --overhead, --time: in place of ra and dec when given
    bool raDecGiven{false}; // --ra or --dec typed: with --place alone they still say the centre
};

// Exit status of the render command.
enum class RenderStatus { Ok = 0, BadOption = 2, Failed = 1 };

// A request that passed every check: the frame to draw and the file to write.
struct RenderPlan {
    CGSize size; // the device's screen in points, as held
    float ra{0};
    float dec{0};
    double zoom{1};
    int labels{0};
    double scale{2};
    std::optional<ImageFormat> format; // none for a trace
    std::string path;                  // the image or the trace
    std::optional<SkySnapshot> sky;    // the place's sky drawn with the chart (--place)
};

// Checks every option without drawing or writing anything; the error names the option
// ("--zoom: '9' is not a zoom from 0.9 to 3.0").
Result<RenderPlan> checkRenderRequest(const RenderRequest& request);
// Draws the frame and writes the file. Errors go to `err` as one line naming the option.
RenderStatus drawRender(const RenderPlan& plan, std::ostream& err);
// Both: checks, then draws; a bad option is reported on `err` as one line.
RenderStatus runRender(const RenderRequest& request, std::ostream& err);

} // namespace dazed

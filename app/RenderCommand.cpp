#include "app/RenderCommand.h"

#include "app/AtomicFile.h"
#include "app/NumberParsing.h"
#include "platform/graphics/RecordingContext.h"
#include "platform/graphics/TraceFormat.h"
#include "platform/graphics/image/ImageExport.h"
#include "platform/ui/DeviceFamily.h"
#include "render/ChartSetup.h"
#include "render/QuartzView.h"
#include "sky/SolarSystem.h"

#include <chrono>
#include <cmath>
#include <limits>
#include <optional>
#include <ostream>

namespace dazed {

namespace {
enum class Orientation { Portrait, Landscape };

// The message for a bad value of `option`.
Error bad(const std::string& option, const std::string& message)
{
    return failure(option + ": " + message);
}

// Reads a number that the view takes in single precision: it must stay finite there too.
bool floatOption(const std::string& text, float& out)
{
    // Compared before the conversion: a double beyond the float range has no float to become.
    const auto v = parseFiniteNumber(text);
    if (!v || std::fabs(*v) > static_cast<double>(std::numeric_limits<float>::max()))
        return false;
    out = static_cast<float>(*v);
    return true;
}

std::string quoted(const std::string& s)
{
    return "'" + s + "'";
}
} // namespace

Result<RenderPlan> checkRenderRequest(const RenderRequest& request)
{
    RenderPlan c;

    DeviceFamily device = DeviceFamily::Phone;
    if (request.device == "tablet")
        device = DeviceFamily::Tablet;
    else if (request.device != "phone")
        return bad("--device", "unknown device " + quoted(request.device) + " (phone or tablet)");
    Orientation orientation = Orientation::Portrait;
    if (request.orientation == "landscape")
        orientation = Orientation::Landscape;
    else if (request.orientation != "portrait")
        return bad("--orientation",
                   "unknown orientation " + quoted(request.orientation) + " (portrait or landscape)");
    // --place alone centres on its zenith, unless --ra or --dec say where.
    const bool centredByChoice =
        request.centre.at || request.centre.overhead || (request.centre.place && !request.raDecGiven);
    if (!centredByChoice) {
        if (!floatOption(request.ra, c.ra))
            return bad("--ra", quoted(request.ra) + " is not a finite number of hours");
        if (!floatOption(request.dec, c.dec) || c.dec < -90.0f || c.dec > 90.0f)
            return bad("--dec", quoted(request.dec) + " is not a declination from -90 to +90 degrees");
    } else {
        const auto centre = resolveCentre(request.centre, std::chrono::system_clock::now());
        if (const auto* message = std::get_if<std::string>(&centre))
            return failure(*message);
        c.ra = static_cast<float>(std::get<EquatorialPosition>(centre).rightAscensionHours);
        c.dec = static_cast<float>(std::get<EquatorialPosition>(centre).declinationDegrees);
    }
    if (request.centre.time && !request.centre.overhead && !request.centre.place)
        return failure("--time needs --overhead or --place: it is the moment of that place's sky");
    if (request.centre.place) {
        const auto now = std::chrono::system_clock::now();
        const auto sky = resolveSkyChoice(request.centre, now);
        if (const auto* message = std::get_if<std::string>(&sky))
            return failure(*message);
        if (const auto& choice = std::get<std::optional<SkyChoice>>(sky)) {
            c.sky = computeSkySnapshot(choice->place, choice->time.value_or(utcFromSystemClock(now)),
                                       choice->utcOffsetMinutes);
            if (!c.sky)
                return bad("--time", "the sky of that moment cannot be worked out");
        }
    }
    const auto zoom = parseFiniteNumber(request.zoom);
    // The chart's own zoom limits: a pinch never goes beyond them either.
    if (!zoom || *zoom < 0.9 || *zoom > 3.0)
        return bad("--zoom", quoted(request.zoom) + " is not a zoom from 0.9 to 3.0");
    c.zoom = *zoom;
    if (request.labels == "0" || request.labels == "1" || request.labels == "2")
        c.labels = request.labels[0] - '0';
    else
        return bad("--labels", quoted(request.labels) + " is not 0, 1 or 2");
    const auto scale = parseFiniteNumber(request.scale);
    // Beyond 8 pixels a point the image of a tablet no longer fits a Cairo surface.
    if (!scale || !(*scale > 0.0) || *scale > 8.0)
        return bad("--scale", quoted(request.scale) + " is not a number above 0 and at most 8");
    c.scale = *scale;

    const bool toTrace = !request.trace.empty();
    if (toTrace == !request.output.empty())
        return bad("-o/--trace", "give exactly one of -o FILE.png|.svg|.pdf or --trace FILE.jsonl");
    if (!toTrace) {
        c.format = imageFormatForPath(request.output);
        if (!c.format)
            return bad("-o", "unknown image format for " + quoted(request.output) +
                                 " (use a .png, .svg or .pdf file name)");
        c.path = request.output;
    } else {
        c.path = request.trace;
    }

    // The device's screen in points; landscape swaps the two sides.
    c.size = portraitScreenSize(device);
    if (orientation == Orientation::Landscape)
        c.size = {c.size.height, c.size.width};
    return c;
}

RenderStatus drawRender(const RenderPlan& c, std::ostream& err)
{
    auto view = makeChartView({c.size.width, c.size.height, c.ra, c.dec, c.zoom, c.labels});
    if (c.sky)
        view->setSkySnapshot(c.sky);

    std::string bytes;
    if (!c.format) {
        RecordingContext recording;
        {
            UIGraphicsContextScope scope(&recording);
            view->displayIfNeeded();
        }
        for (const DrawOp& op : recording.ops()) {
            bytes += traceLine(op);
            bytes += '\n';
        }
    } else {
        auto image = renderImage(*c.format, c.size, c.scale, [&] { view->displayIfNeeded(); });
        if (!image) {
            err << "dazed render: -o: cannot draw " << quoted(c.path) << ": " << image.error().message
                << "\n";
            return RenderStatus::Failed;
        }
        bytes = std::move(image).value();
    }

    if (auto written = writeFileAtomically(c.path, bytes); !written) {
        err << "dazed render: " << (c.format ? "-o" : "--trace") << ": cannot write " << quoted(c.path)
            << ": " << written.error().message << "\n";
        return RenderStatus::BadOption;
    }
    return RenderStatus::Ok;
}

RenderStatus runRender(const RenderRequest& request, std::ostream& err)
{
    const auto plan = checkRenderRequest(request);
    if (!plan) {
        err << "dazed render: " << plan.error().message << "\n";
        return RenderStatus::BadOption;
    }
    return drawRender(plan.value(), err);
}

} // namespace dazed

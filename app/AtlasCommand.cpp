#include "app/AtlasCommand.h"

#include "app/AtomicFile.h"
#include "app/CentreChoice.h"
#include "app/NumberParsing.h"
#include "platform/graphics/RecordingContext.h"
#include "platform/graphics/TraceFormat.h"
#include "platform/graphics/image/ImageExport.h"
#include "platform/graphics/image/PdfDocument.h"

#include <CLI/CLI.hpp>
#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <ostream>

namespace dazed {

namespace {

// The whole string as a finite number (spaces around it allowed), or nothing.
std::optional<double> parseNumber(std::string_view text)
{
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    return parseFiniteNumber(text);
}

std::string quoted(const std::string& s)
{
    return "'" + s + "'";
}

Error bad(const std::string& option, const std::string& message)
{
    return failure(option + ": " + message);
}

std::string twoDecimals(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", value);
    return text;
}

// "RA,DEC": right ascension in hours, 0 to 24, and declination in degrees, -90 to +90.
std::optional<EquatorialPosition> parseCentre(const std::string& text)
{
    const auto comma = text.find(',');
    if (comma == std::string::npos)
        return std::nullopt;
    const auto ra = parseNumber(std::string_view(text).substr(0, comma));
    const auto dec = parseNumber(std::string_view(text).substr(comma + 1));
    if (!ra || !dec || *ra < 0.0 || *ra > 24.0 || *dec < -90.0 || *dec > 90.0)
        return std::nullopt;
    return EquatorialPosition{*ra == 24.0 ? 0.0 : *ra, *dec};
}

// The whole atlas's scheme for a plan, made once (it takes tens of milliseconds) and shared by
// every page of the document: the last one made, kept for the thread that made it.
const AtlasScheme& schemeFor(const AtlasSettings& settings)
{
    thread_local AtlasSettings made{};
    thread_local AtlasScheme scheme;
    thread_local bool have = false;
    if (!have || made.paper != settings.paper || made.radiusMm != settings.radiusMm) {
        scheme = atlasScheme(pageExtent(settings.paper, settings.radiusMm));
        made = settings;
        have = true;
    }
    return scheme;
}

} // namespace

Result<AtlasPlan> checkAtlasRequest(const AtlasRequest& request)
{
    AtlasPlan plan;
    const auto paper = paperNamed(request.paper);
    if (!paper)
        return bad("--paper", "unknown paper " + quoted(request.paper) + " (a4 or letter)");
    plan.settings.paper = *paper;
    if (request.style == "print")
        plan.settings.style = AtlasStyle::Print;
    else if (request.style == "screen")
        plan.settings.style = AtlasStyle::Screen;
    else
        return bad("--style", "unknown style " + quoted(request.style) + " (print or screen)");

    const auto radius = parseNumber(request.radiusMm);
    const double largest = largestRadiusMm(*paper);
    if (!radius || *radius < kMinimumRadiusMm || *radius > largest)
        return bad("--radius-mm", quoted(request.radiusMm) + " is not a scale from " +
                                      twoDecimals(kMinimumRadiusMm) + " to " + twoDecimals(largest) +
                                      " mm per radian for " + request.paper + " paper");
    plan.settings.radiusMm = *radius;
    const auto limit = parseNumber(request.limit);
    if (!limit || *limit < kBrightestLimit || *limit > kFaintestLimit)
        return bad("--limit",
                   quoted(request.limit) + " is not a magnitude from -2 to 5 (the catalogue's faintest)");
    plan.settings.limitMagnitude = *limit;
    const auto grid = parseNumber(request.grid);
    if (!grid || *grid < 1.0 || *grid > 90.0)
        return bad("--grid", quoted(request.grid) + " is not a spacing from 1 to 90 degrees");
    plan.settings.gridDegrees = *grid;

    if (request.centre && request.at)
        return bad("--centre/--at", "give one centre, not both");
    if (request.centre) {
        plan.single = parseCentre(*request.centre);
        if (!plan.single)
            return bad(
                "--centre",
                quoted(*request.centre) +
                    " is not RA,DEC: hours from 0 to 24 and degrees from -90 to +90 (--centre 3.2,58)");
    } else if (request.at) {
        CentreChoice choice;
        choice.at = *request.at;
        const auto centre = resolveCentre(choice, std::chrono::system_clock::now());
        if (const auto* message = std::get_if<std::string>(&centre))
            return failure(*message);
        plan.single = std::get<EquatorialPosition>(centre);
    }

    plan.toTrace = !request.trace.empty();
    if (plan.toTrace == !request.output.empty())
        return bad("-o/--trace", "give exactly one of -o FILE.pdf or --trace FILE.jsonl");
    if (!plan.toTrace && imageFormatForPath(request.output) != ImageFormat::Pdf)
        return bad("-o", quoted(request.output) + " is not a .pdf file name (the atlas is a PDF)");
    plan.path = plan.toTrace ? request.trace : request.output;
    return plan;
}

int atlasPageCount(const AtlasPlan& plan)
{
    if (plan.single)
        return 1;
    return 1 + static_cast<int>(schemeFor(plan.settings).pages.size());
}

void drawAtlasPage(const AtlasPlan& plan, int index)
{
    CGContextRef c = UIGraphicsGetCurrentContext();
    if (plan.single) {
        drawChartPage(c, plan.settings,
                      {0, 0, plan.single->rightAscensionHours, plan.single->declinationDegrees, {}});
        return;
    }
    const AtlasScheme& scheme = schemeFor(plan.settings);
    if (index == 0) {
        drawIndexPage(c, plan.settings, scheme);
        return;
    }
    const AtlasPage& page = scheme.pages.at(static_cast<std::size_t>(index - 1));
    drawChartPage(
        c, plan.settings,
        {page.number, static_cast<int>(scheme.pages.size()), page.raHours, page.decDegrees,
         neighboursOf(scheme, page.number, pageExtent(plan.settings.paper, plan.settings.radiusMm))});
}

int drawAtlas(const AtlasPlan& plan, std::ostream& err)
{
    const int pages = atlasPageCount(plan);
    std::string bytes;
    if (plan.toTrace) {
        // Each page's calls follow a line naming the page.
        for (int i = 0; i < pages; ++i) {
            RecordingContext recording;
            {
                UIGraphicsContextScope scope(&recording);
                drawAtlasPage(plan, i);
            }
            bytes += "{\"page\":" + std::to_string(i + 1) + "}\n";
            for (const DrawOp& op : recording.ops()) {
                bytes += traceLine(op);
                bytes += '\n';
            }
        }
    } else {
        const PaperSize paper = paperSize(plan.settings.paper);
        auto document = renderPdfDocument(paper.widthMm * kPointsPerMm, paper.heightMm * kPointsPerMm, pages,
                                          [&](int i) { drawAtlasPage(plan, i); });
        if (!document) {
            err << "dazed atlas: -o: cannot draw " << quoted(plan.path) << ": " << document.error().message
                << "\n";
            return 1;
        }
        bytes = std::move(document).value();
    }
    if (auto written = writeFileAtomically(plan.path, bytes); !written) {
        err << "dazed atlas: " << (plan.toTrace ? "--trace" : "-o") << ": cannot write " << quoted(plan.path)
            << ": " << written.error().message << "\n";
        return 2;
    }
    return 0;
}

void AtlasOptions::addTo(CLI::App& command)
{
    AtlasRequest& r = m_request;
    command.add_option("--paper", r.paper, "a4 (210 x 297 mm) or letter (8.5 x 11 in)")
        ->type_name("a4|letter")
        ->capture_default_str();
    command
        .add_option("--radius-mm", r.radiusMm, "the scale: millimetres for one radian at a chart's centre")
        ->type_name("MM")
        ->capture_default_str();
    command.add_option("--style", r.style, "print (black on white) or screen (the chart's colours on black)")
        ->type_name("print|screen")
        ->capture_default_str();
    command.add_option("--limit", r.limit, "the faintest stars shown, magnitude up to 5")
        ->type_name("MAG")
        ->capture_default_str();
    command.add_option("--grid", r.grid, "spacing of the hour circles and parallels, degrees")
        ->type_name("DEG")
        ->capture_default_str();
    auto* centre = command.add_option_function<std::string>(
        "--centre", [this](const std::string& v) { m_request.centre = v; },
        "one chart around RA,DEC: hours and degrees (--centre 3.2,58 for the Perseids' radiant)");
    centre->type_name("RA,DEC");
    auto* at = command.add_option_function<std::string>(
        "--at", [this](const std::string& v) { m_request.at = v; },
        "one chart around a star or constellation, as render --at (--at Perseus)");
    at->type_name("NAME");
    centre->excludes(at);
    auto* output = command.add_option("-o", r.output, "the PDF file")->type_name("FILE.pdf");
    auto* trace = command
                      .add_option("--trace", r.trace,
                                  "JSON lines of every drawing call of every page, each page after a line "
                                  "{\"page\":N}")
                      ->type_name("FILE.jsonl");
    output->excludes(trace);
}

} // namespace dazed

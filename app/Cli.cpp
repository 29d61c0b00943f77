#include "app/Cli.h"

#include "app/CatalogSummary.h"
#include "app/RenderCommand.h"

#include <CLI/CLI.hpp>
#include <ostream>

#ifndef DAZED_VERSION
#define DAZED_VERSION "unknown"
#endif

namespace dazed {

const char* const kControlsHelp = R"(Controls in the window:
  drag                    move the sky (left mouse button, or one finger)
  pinch                   zoom (two fingers, or Alt+drag with the mouse)
  double tap or click     next label mode: lines and names, also star names, neither
  wheel, + and -          zoom in and out, from 0.9 to 3.0
  arrow keys              look left, right, up and down
  L                       next label mode
  I                       the information page and back (Escape also leaves it)
  Ctrl+Left, Ctrl+Right   turn the device a quarter
  F11                     full screen
  Ctrl+Q                  quit)";

CliOutcome runCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    CLI::App app{"Dazed: a touch star chart. With no command, opens the chart in a window.", "dazed"};
    app.footer(std::string("\n") + kControlsHelp +
               "\n\nWithout a display, draw the chart into a file instead: dazed render -o chart.png");
    app.set_version_flag("--version", std::string("dazed ") + DAZED_VERSION);
    app.require_subcommand(0, 1);

    ChartOptions chart;
    app.add_option("--device", chart.device, "phone (320 x 480 points) or tablet (768 x 1024)")
        ->check(CLI::IsMember({"phone", "tablet"}))
        ->capture_default_str();
    app.add_option("--orientation", chart.orientation,
                   "how the device is held at start: portrait or landscape")
        ->check(CLI::IsMember({"portrait", "landscape"}))
        ->capture_default_str();
    app.add_option("--quit-after", chart.quitAfter, "close the window after this many seconds (for scripts)")
        ->check(CLI::NonNegativeNumber);
    app.add_flag("--exit-after-first-frame", chart.exitAfterFirstFrame,
                 "quit once the first frame is on screen, printing the time it took and the peak memory");
    app.add_option("--interface", chart.interfacePath, "another main interface description (JSON)")
        ->check(CLI::ExistingFile)
        ->group(""); // for developers; not listed

    auto* summary = app.add_subcommand("summary", "Print what the compiled-in catalogue holds");
    auto* render = app.add_subcommand("render", "Draw one frame of the chart to an image or a trace");
    RenderRequest request;
    render->add_option("--device", request.device, "phone (320 x 480 points) or tablet (768 x 1024)")
        ->capture_default_str();
    render->add_option("--orientation", request.orientation, "portrait or landscape")->capture_default_str();
    render->add_option("--ra", request.ra, "right ascension of the centre, hours")->capture_default_str();
    render->add_option("--dec", request.dec, "declination of the centre, -90 to +90 degrees")
        ->capture_default_str();
    render->add_option("--zoom", request.zoom, "zoom factor, 0.9 to 3.0")->capture_default_str();
    render->add_option("--labels", request.labels, "label mode changes from a new view: 0, 1 or 2")
        ->capture_default_str();
    render->add_option("--scale", request.scale, "pixels per point of a PNG image")->capture_default_str();
    auto* output = render->add_option("-o", request.output, "image file: .png, .svg or .pdf");
    auto* trace = render->add_option("--trace", request.trace, "JSON lines of every drawing call");
    output->excludes(trace);

    std::vector<std::string> reversed(args.rbegin(), args.rend());
    if (!reversed.empty())
        reversed.pop_back(); // the program name
    try {
        app.parse(reversed);
    } catch (const CLI::ParseError& e) {
        // Help and the version are not errors; CLI11 prints them for what they were asked of.
        if (e.get_exit_code() == 0)
            return app.exit(e, out, err);
        err << "dazed" << (render->parsed() ? " render" : "") << ": " << e.what() << "\n";
        return 2;
    }

    if (render->parsed())
        return static_cast<int>(runRender(request, err));
    if (summary->parsed()) {
        printCatalogSummary(out);
        return 0;
    }
    return chart;
}

} // namespace dazed

#include "app/Cli.h"

#include "app/CatalogSummary.h"
#include "app/RenderCommand.h"

#include <CLI/CLI.hpp>
#include <ostream>

namespace dazed {

int runCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    CLI::App app{"Dazed: a touch star chart"};
    app.require_subcommand(0, 1);
    auto* summary = app.add_subcommand("summary", "Print what the compiled-in catalogue holds");
    auto* render = app.add_subcommand("render", "Draw one frame of the chart to an image or a trace");
    RenderRequest request;
    render->add_option("--device", request.device, "phone (320 x 480 points) or tablet (768 x 1024)")
        ->capture_default_str();
    render->add_option("--orientation", request.orientation, "portrait or landscape")->capture_default_str();
    render->add_option("--ra", request.ra, "right ascension of the centre, hours")->capture_default_str();
    render->add_option("--dec", request.dec, "declination of the centre, degrees")->capture_default_str();
    render->add_option("--zoom", request.zoom, "zoom factor")->capture_default_str();
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
        // Help is not an error; CLI11 prints it for the subcommand it was asked of.
        if (e.get_exit_code() == 0)
            return app.exit(e, out, err);
        err << "dazed: " << e.what() << "\n";
        return 2;
    }

    if (render->parsed())
        return static_cast<int>(runRender(request, err));
    if (summary->parsed() || app.get_subcommands().empty())
        printCatalogSummary(out);
    return 0;
}

} // namespace dazed

#include "app/Cli.h"

#include "app/CatalogSummary.h"
#include "app/CentreChoice.h"
#include "app/NumberParsing.h"
#include "app/RenderCommand.h"
#include "app/SettingsStore.h"

#include <CLI/CLI.hpp>
#include <chrono>
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
  R                       night mode on and off: the whole window red on black
  T                       the place's sky (--place) on and off
  N                       the place's sky now, following the clock again
  [ and ]                 an hour earlier and later
  { and }                 a day earlier and later
  H                       centre on the place's zenith
  Ctrl+Left, Ctrl+Right   turn the device a quarter
  F11                     full screen
  Ctrl+Q                  quit)";

namespace {

// A number of seconds to wait: finite and not negative. CLI11's NonNegativeNumber lets "nan" and
// "inf" through.
const CLI::Validator kSeconds(
    [](std::string& text) -> std::string {
        const auto value = parseFiniteNumber(text);
        if (!value || *value < 0)
            return "must be a finite number of seconds, 0 or more, not '" + text + "'";
        return {};
    },
    "SECONDS");

// --at, --overhead and --time on one command (the window's or render's), with their rules: one
// place at most, and a time only for the sky overhead.
class CentreOptions {
public:
    void addTo(CLI::App& command)
    {
        m_at = command.add_option("--at", m_atText,
                                  "centre on a star or constellation: a name the chart shows or an IAU "
                                  "abbreviation, in any case (--at Betelgeuse, --at 'ursa major', --at UMa)");
        m_at->type_name("NAME");
        m_overhead = command.add_option("--overhead", m_overheadText,
                                        "centre on the sky straight above a place, latitude and longitude in "
                                        "degrees, north and east positive (--overhead 48.85,2.35; "
                                        "--overhead -33.87,151.21)");
        m_overhead->type_name("LAT,LON");
        m_time =
            command.add_option("--time", m_timeText,
                               "the moment for --overhead and --place instead of now, ISO 8601 with Z or "
                               "an offset (--time 2026-12-08T21:30:00Z, --time 2026-12-08T22:30:00+01:00)");
        m_time->type_name("TIME");
        m_place =
            command.add_option("--place", m_placeText,
                               "draw the sky of a place: its horizon, the Sun, the Moon and the planets; "
                               "latitude and longitude in degrees, north and east positive, and a height "
                               "in metres if you like (--place 48.85,2.35 or 48.85,2.35,35). Centres on "
                               "its zenith unless --at, --overhead or render's --ra/--dec say otherwise; "
                               "without --time the "
                               "chart follows the clock. 'auto' asks the system (GeoClue) and falls "
                               "back on the place last used");
        m_place->type_name("LAT,LON[,HEIGHT_M]|auto");
        command
            .add_option("--place-timeout", m_placeTimeout,
                        "seconds to wait for the system's place with --place auto (5 by default)")
            ->type_name("SECONDS")
            ->check(kSeconds);
        m_at->excludes(m_overhead);
    }
    // A named centre excludes a centre given by its coordinates.
    void exclude(CLI::Option* coordinate)
    {
        m_at->excludes(coordinate);
        m_overhead->excludes(coordinate);
    }
    [[nodiscard]] double placeTimeout() const { return m_placeTimeout; }
    [[nodiscard]] CentreChoice choice() const
    {
        CentreChoice c;
        if (m_at->count() > 0)
            c.at = m_atText;
        if (m_overhead->count() > 0)
            c.overhead = m_overheadText;
        if (m_time->count() > 0)
            c.time = m_timeText;
        if (m_place->count() > 0)
            c.place = m_placeText;
        return c;
    }

private:
    std::string m_atText, m_overheadText, m_timeText, m_placeText;
    double m_placeTimeout{kDefaultPlaceTimeoutSeconds};
    CLI::Option* m_at{nullptr};
    CLI::Option* m_overhead{nullptr};
    CLI::Option* m_time{nullptr};
    CLI::Option* m_place{nullptr};
};

} // namespace

CliCommand parseCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    CLI::App app{"Dazed: a touch star chart. With no command, opens the chart in a window.", "dazed"};
    app.footer(std::string("\n") + kControlsHelp +
               "\n\nStart somewhere else (render takes the same options):\n"
               "  dazed --at Betelgeuse\n"
               "  dazed --at 'ursa major'\n"
               "  dazed --overhead 48.85,2.35 --time 2026-12-08T21:30:00Z\n"
               "  dazed --place 48.85,2.35                  tonight's sky from Paris, following the clock\n"
               "\nWithout a display, draw the chart into a file instead: dazed render -o chart.png");
    app.set_version_flag("--version", std::string("dazed ") + DAZED_VERSION);
    app.require_subcommand(0, 1);

    ChartOptions chart;
    auto* deviceOption =
        app.add_option(
               "--device", chart.device,
               "phone (320 x 480 points), tablet (768 x 1024), or fit: the window's own size, laid out "
               "again as it is resized")
            ->check(CLI::IsMember({"phone", "tablet", "fit"}))
            ->capture_default_str();
    app.add_option("--orientation", chart.orientation,
                   "how the device is held at start: portrait or landscape")
        ->check(CLI::IsMember({"portrait", "landscape"}))
        ->capture_default_str();
    app.add_option("--quit-after", chart.quitAfter, "close the window after this many seconds (for scripts)")
        ->check(kSeconds);
    app.add_flag("--exit-after-first-frame", chart.exitAfterFirstFrame,
                 "quit once the first frame is on screen, printing the time it took and the peak memory");
    app.add_flag("--night", chart.night, "start in night mode: the whole window red on black (R switches)");
    app.add_option("--interface", chart.interfacePath, "another main interface description (JSON)")
        ->check(CLI::ExistingFile)
        ->group(""); // for developers; not listed
    CentreOptions windowCentre;
    windowCentre.addTo(app);

    auto* summary = app.add_subcommand("summary", "Print what the compiled-in catalogue holds");
    auto* render = app.add_subcommand("render", "Draw one frame of the chart to an image or a trace");
    RenderRequest request;
    // Choices from a fixed list are checked by CLI11; numbers are checked when the command runs,
    // where each gets a message naming what it must be.
    render->add_option("--device", request.device, "phone (320 x 480 points) or tablet (768 x 1024)")
        ->check(CLI::IsMember({"phone", "tablet"}))
        ->capture_default_str();
    render->add_option("--orientation", request.orientation, "portrait or landscape")
        ->check(CLI::IsMember({"portrait", "landscape"}))
        ->capture_default_str();
    auto* ra =
        render->add_option("--ra", request.ra, "right ascension of the centre, hours")->capture_default_str();
    auto* dec = render->add_option("--dec", request.dec, "declination of the centre, -90 to +90 degrees")
                    ->capture_default_str();
    CentreOptions renderCentre;
    renderCentre.addTo(*render);
    renderCentre.exclude(ra);
    renderCentre.exclude(dec);
    render->add_option("--zoom", request.zoom, "zoom factor, 0.9 to 3.0")->capture_default_str();
    render->add_option("--labels", request.labels, "label mode changes from a new view: 0, 1 or 2")
        ->check(CLI::IsMember({"0", "1", "2"}))
        ->capture_default_str();
    render->add_option("--scale", request.scale, "pixels per point of a PNG image")->capture_default_str();
    auto* output = render->add_option("-o", request.output, "image file: .png, .svg or .pdf");
    auto* trace = render->add_option("--trace", request.trace, "JSON lines of every drawing call");
    output->excludes(trace);

    auto* atlas =
        app.add_subcommand("atlas", "Print a gnomonic atlas of the whole sky, or one chart, to a PDF");
    AtlasOptions atlasOptions;
    atlasOptions.addTo(*atlas);

    std::vector<std::string> reversed(args.rbegin(), args.rend());
    if (!reversed.empty())
        reversed.pop_back(); // the program name
    try {
        app.parse(reversed);
    } catch (const CLI::ParseError& e) {
        // Help and the version are not errors; CLI11 prints them for what they were asked of.
        if (e.get_exit_code() == 0)
            return app.exit(e, out, err);
        err << "dazed"
            << (render->parsed()  ? " render"
                : atlas->parsed() ? " atlas"
                                  : "")
            << ": " << e.what() << "\n";
        return 2;
    }

    if (render->parsed()) {
        if (!windowCentre.choice().empty()) {
            err << "dazed: --at, --overhead, --time and --place go after 'render' when drawing to a file\n";
            return 2;
        }
        request.centre = renderCentre.choice();
        request.raDecGiven = ra->count() > 0 || dec->count() > 0;
        if (asksForSystemPlace(request.centre)) {
            // Every other option is checked now, with a stand-in place, so that a mistake is said
            // before the system is asked.
            RenderRequest standIn = request;
            standIn.centre = withPlace(request.centre, GeographicPlace{});
            if (auto plan = checkRenderRequest(standIn); !plan) {
                err << "dazed render: " << plan.error().message << "\n";
                return static_cast<int>(RenderStatus::BadOption);
            }
            return AutoPlaceRender{request, renderCentre.placeTimeout()};
        }
        auto plan = checkRenderRequest(request);
        if (!plan) {
            err << "dazed render: " << plan.error().message << "\n";
            return static_cast<int>(RenderStatus::BadOption);
        }
        return std::move(plan).value();
    }
    if (summary->parsed())
        return SummaryCommand{};
    if (atlas->parsed()) {
        if (!windowCentre.choice().empty()) {
            err << "dazed: --at goes after 'atlas' when drawing an atlas\n";
            return 2;
        }
        auto plan = checkAtlasRequest(atlasOptions.request());
        if (!plan) {
            err << "dazed atlas: " << plan.error().message << "\n";
            return 2;
        }
        return std::move(plan).value();
    }
    if (const CentreChoice choice = windowCentre.choice(); asksForSystemPlace(choice)) {
        // Checked with a stand-in place now, so that a mistake is said before the system is
        // asked; resolved when the window starts.
        const CentreChoice standIn = withPlace(choice, GeographicPlace{});
        const auto now = std::chrono::system_clock::now();
        const auto centre = resolveCentre(standIn, now);
        const auto sky = resolveSkyChoice(standIn, now);
        for (const auto* message : {std::get_if<std::string>(&centre), std::get_if<std::string>(&sky)})
            if (message) {
                err << "dazed: " << *message << "\n";
                return 2;
            }
        chart.systemPlace = choice;
        chart.placeTimeout = windowCentre.placeTimeout();
    } else if (!choice.empty()) {
        const auto centre = resolveCentre(choice, std::chrono::system_clock::now());
        if (const auto* message = std::get_if<std::string>(&centre)) {
            err << "dazed: " << *message << "\n";
            return 2;
        }
        chart.centre = std::get<EquatorialPosition>(centre);
        const auto sky = resolveSkyChoice(choice, std::chrono::system_clock::now());
        if (const auto* message = std::get_if<std::string>(&sky)) {
            err << "dazed: " << *message << "\n";
            return 2;
        }
        chart.sky = std::get<std::optional<SkyChoice>>(sky);
    }
    chart.deviceChosen = deviceOption->count() > 0;
    return chart;
}

CliOutcome runCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    CliCommand command = parseCli(args, out, err);
    if (const auto* plan = std::get_if<RenderPlan>(&command))
        return static_cast<int>(drawRender(*plan, err));
    if (const auto* atlas = std::get_if<AtlasPlan>(&command))
        return drawAtlas(*atlas, err);
    if (std::holds_alternative<SummaryCommand>(command)) {
        printCatalogSummary(out);
        return 0;
    }
    if (const auto* pending = std::get_if<AutoPlaceRender>(&command))
        return static_cast<int>(runAutoPlaceRender(
            *pending, [](std::chrono::milliseconds timeout) { return askSystemLocation(timeout); }, err));
    if (const auto* status = std::get_if<int>(&command))
        return *status;
    auto chart = std::get<ChartOptions>(std::move(command));
    chart.settingsPath = settingsPathFromEnvironment();
    return chart;
}

} // namespace dazed

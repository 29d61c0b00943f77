#pragma once

// The `dazed` command line: with no subcommand it opens the chart window; `render` draws one frame
// to a file and `summary` prints what the catalogue holds.

#include "app/AtlasCommand.h"
#include "app/AutoPlace.h"
#include "app/AutoPlaceRender.h"
#include "app/RenderCommand.h"
#include "catalog/EquatorialPosition.h"

#include <iosfwd>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace dazed {

// How the chart window starts, as checked on the command line.
struct ChartOptions {
    std::string device{"phone"};         // phone, tablet or fit (the window's own size)
    bool deviceChosen{false};            // --device was given (else the remembered screen stands)
    std::string orientation{"portrait"}; // portrait or landscape
    double quitAfter{0};                 // seconds before the window closes by itself; 0 never
    std::string interfacePath;           // another main interface description (developers)
    bool exitAfterFirstFrame{false};     // quit once the first frame is shown, reporting start-up figures
    std::optional<EquatorialPosition> centre; // where the sky starts (--at, --overhead); else 17 h, +31 deg
    std::optional<SkyChoice> sky; // the place's sky to draw (--place, --time); none: the chart alone
    bool night{false};            // start in night mode, red on black (--night)
    // --place auto: the centre options to resolve once the system (or the settings) gives the
    // place; centre and sky are then left unset until it does.
    std::optional<CentreChoice> systemPlace;
    double placeTimeout{kDefaultPlaceTimeoutSeconds}; // seconds to wait for the system's place
    std::string settingsPath; // the remembered settings; empty: none are read or written
};

// The chart window to open, or the exit status of what already ran: 0 after a subcommand, help or
// the version; 2 for a bad option or argument, after a one-line message on `err`.
using CliOutcome = std::variant<ChartOptions, int>;

// `dazed summary`: print what the catalogue holds.
struct SummaryCommand {};

// What a command line asks for once it is parsed and every option checked, before anything runs:
// the chart window, a frame to render, the summary, the atlas, or an exit status as for CliOutcome (help and
// the version are already printed on `out`, a bad option reported on `err`). Parsing opens no
// window and writes no file.
using CliCommand = std::variant<ChartOptions, RenderPlan, SummaryCommand, AtlasPlan, AutoPlaceRender, int>;
CliCommand parseCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// Runs the command line given as the argument vector (program name first): parses it, then renders
// or prints what it asks for. The chart window's options come back with the settings file of the
// environment (XDG_CONFIG_HOME or HOME).
CliOutcome runCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// The window's controls, as --help lists them.
extern const char* const kControlsHelp;

} // namespace dazed

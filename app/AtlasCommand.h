#pragma once

// `dazed atlas`: the printed gnomonic atlas for meteor observers, a multi-page vector PDF of charts
// of one fixed scale covering the whole sky, with an index first; or one chart around a given
// centre (--centre, --at). Or, with --trace, every drawing call of every page.

#include "catalog/EquatorialPosition.h"
#include "platform/Result.h"
#include "render/AtlasPage.h"

#include <iosfwd>
#include <optional>
#include <string>

namespace CLI {
class App;
}

namespace dazed {

// The options as typed; checked when the command runs, so that each bad value gets a message
// naming its option.
struct AtlasRequest {
    std::string paper{"a4"};
    std::string radiusMm{"160.43"};
    std::string style{"print"};
    std::string limit{"5.0"};
    std::string grid{"10"};
    std::optional<std::string> centre; // --centre RA,DEC: hours and degrees
    std::optional<std::string> at;     // --at NAME
    std::string output;                // -o FILE.pdf
    std::string trace;                 // --trace FILE.jsonl
};

// A request that passed every check.
struct AtlasPlan {
    AtlasSettings settings;
    // One chart around this centre; the whole atlas when none.
    std::optional<EquatorialPosition> single;
    std::string path;
    bool toTrace{false};
};

// The brightest limit a chart takes and the catalogue's faintest star.
inline constexpr double kFaintestLimit = 5.0;
inline constexpr double kBrightestLimit = -2.0;

// Checks every option without drawing or writing anything; the error names the option
// ("--radius-mm: '0' is not a scale from 60 to 362.01 mm per radian for a4 paper").
Result<AtlasPlan> checkAtlasRequest(const AtlasRequest& request);

// The pages of the plan: 1 for a single chart, else the index and every chart.
int atlasPageCount(const AtlasPlan& plan);

// Draws page `index` (0 first) of the plan into the current context.
void drawAtlasPage(const AtlasPlan& plan, int index);

// Draws the pages and writes the file whole or not at all. Errors go to `err` as one line; the
// exit status: 0, 1 when the document cannot be made, 2 when the file cannot be written.
int drawAtlas(const AtlasPlan& plan, std::ostream& err);

// The atlas subcommand's options on the command line, registered on `command`.
class AtlasOptions {
public:
    void addTo(CLI::App& command);
    [[nodiscard]] const AtlasRequest& request() const { return m_request; }

private:
    AtlasRequest m_request;
};

} // namespace dazed

#include "app/Cli.h"
#include "catalog/NameLookup.h"
#include "sky/Zenith.h"
#include "tests/app/CommandTestSupport.h"
#include "tests/support/ScratchFolder.h"

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <sstream>
#include <sys/resource.h>

namespace dazed {
namespace {

namespace fs = std::filesystem;

class RenderCommand : public test::CommandTest {
protected:
    RenderCommand()
        : CommandTest("render")
    {
    }
};

// Width and height from a PNG's header.
std::pair<unsigned, unsigned> pngSize(const std::string& png)
{
    auto be32 = [&](std::size_t at) {
        unsigned v = 0;
        for (std::size_t i = 0; i < 4; ++i)
            v = (v << 8) | static_cast<unsigned char>(png.at(at + i));
        return v;
    };
    return {be32(16), be32(20)};
}

TEST_F(RenderCommand, WritesImagesOfTheDeviceScreenAtTheScale)
{
    ASSERT_EQ(run({"-o", path("a.png")}), 0) << m_err.str();
    EXPECT_EQ(pngSize(slurp(path("a.png"))), std::make_pair(640u, 960u));
    ASSERT_EQ(run({"--device", "tablet", "--orientation", "landscape", "--scale", "1", "-o", path("b.png")}),
              0);
    EXPECT_EQ(pngSize(slurp(path("b.png"))), std::make_pair(1024u, 768u));
    ASSERT_EQ(run({"--device", "tablet", "-o", path("c.pdf")}), 0);
    EXPECT_EQ(slurp(path("c.pdf")).substr(0, 5), "%PDF-");
    ASSERT_EQ(run({"--labels", "1", "-o", path("d.SVG")}), 0);
    EXPECT_NE(slurp(path("d.SVG")).find("<svg"), std::string::npos);
    EXPECT_EQ(filesLeft(), 4u);
    EXPECT_TRUE(m_err.str().empty());
}

TEST_F(RenderCommand, TraceHasOneJsonCallPerLineWithShortestNumbers)
{
    ASSERT_EQ(run({"--ra", "6.7525", "--dec", "-16.7161", "--labels", "1", "--trace", path("t.jsonl")}), 0)
        << m_err.str();
    std::istringstream lines(slurp(path("t.jsonl")));
    std::string line;
    std::vector<nlohmann::json> calls;
    while (std::getline(lines, line))
        calls.push_back(nlohmann::json::parse(line));
    ASSERT_GT(calls.size(), 100u);
    EXPECT_EQ(calls.front(), nlohmann::json::parse(R"({"op":"CGContextClearRect","args":[0,0,320,480]})"));
    EXPECT_EQ(calls.back()["op"], "CGContextStrokePath");
    bool greyNames = false;
    bool readout = false;
    for (const auto& call : calls) {
        if (call["op"] == "CGContextSetRGBFillColor" &&
            call["args"] == nlohmann::json::parse("[0.8,0.8,0.8,1]"))
            greyNames = true;
        if (call["op"] == "CGContextShowTextAtPoint" &&
            call["args"][2] == "Ra : 06h 45mn 09s  De : -16d -42' -57\" ")
            readout = call["args"][3] == 39;
        if (call["op"] == "CGContextStrokeLineSegments") {
            EXPECT_EQ(call["args"][0].size(), call["args"][1].get<std::size_t>());
            EXPECT_GT(call["args"][1].get<int>(), 0);
        }
    }
    EXPECT_TRUE(greyNames);
    EXPECT_TRUE(readout);
    // The panel of a 320-point view is written as 300 by 26, the text origin as 21.
    EXPECT_NE(slurp(path("t.jsonl")).find(R"({"op":"CGContextFillRect","args":[0,0,300,26]})"),
              std::string::npos);
}

TEST_F(RenderCommand, BadOptionsExitWithTwoNameTheOptionAndLeaveNoFile)
{
    struct Case {
        std::vector<std::string> args;
        const char* option;
    };
    const std::string png = path("out.png");
    const Case cases[] = {
        {{"--device", "watch", "-o", png}, "--device"},
        {{"--orientation", "sideways", "-o", png}, "--orientation"},
        {{"--labels", "3", "-o", png}, "--labels"},
        {{"--labels", "-1", "-o", png}, "--labels"},
        {{"--labels", "1.0", "-o", png}, "--labels"},
        {{"--ra", "abc", "-o", png}, "--ra"},
        {{"--ra", "inf", "-o", png}, "--ra"},
        {{"--dec", "nan", "-o", png}, "--dec"},
        {{"--dec", "1e300", "-o", png}, "--dec"},
        // Finite doubles beyond the float range: the view takes the centre in single precision.
        {{"--ra", "1e39", "-o", png}, "--ra"},
        {{"--ra", "-3.5e38", "-o", png}, "--ra"},
        {{"--dec", "-1e39", "-o", png}, "--dec"},
        {{"--zoom", "", "-o", png}, "--zoom"},
        {{"--zoom", "2x", "-o", png}, "--zoom"},
        {{"--zoom", "0.89", "-o", png}, "--zoom"},
        {{"--zoom", "3.01", "-o", png}, "--zoom"},
        {{"--dec", "90.5", "-o", png}, "--dec"},
        {{"--dec", "-91", "-o", png}, "--dec"},
        {{"--scale", "0", "-o", png}, "--scale"},
        {{"--scale", "-1", "-o", png}, "--scale"},
        {{"-o", path("out.jpg")}, "-o"},
        {{"-o", "/dev/full"}, "-o"},
        {{"-o", path("out.png") + "/"}, "-o"},
        {{"-o", path("no-such-folder/out.png")}, "-o"},
        {{"--trace", path("no-such-folder/t.jsonl")}, "--trace"},
        {{}, "-o"},
        {{"--colour", "red", "-o", png}, "--colour"},
        {{"-o", png, "--trace", path("t.jsonl")}, "--trace"},
        {{"--at", "Betelgeuze", "-o", png}, "--at"},
        {{"--at", "", "-o", png}, "--at"},
        {{"--at", "Vega", "--ra", "5", "-o", png}, "--at"},
        {{"--at", "Vega", "--dec", "5", "-o", png}, "--at"},
        {{"--at", "Vega", "--overhead", "10,20", "-o", png}, "--overhead"},
        {{"--overhead", "10,20", "--ra", "5", "-o", png}, "--overhead"},
        {{"--overhead", "91,20", "-o", png}, "--overhead"},
        {{"--overhead", "10,-180.5", "-o", png}, "--overhead"},
        {{"--overhead", "10", "-o", png}, "--overhead"},
        {{"--overhead", "10,20", "--time", "yesterday", "-o", png}, "--time"},
        {{"--overhead", "10,20", "--time", "2026-12-08T21:30:00", "-o", png}, "--time"},
        {{"--time", "2026-12-08T21:30:00Z", "-o", png}, "--time"},
    };
    for (const Case& c : cases)
        expectRefused(c.args, c.option);
}

// A disk that fills up while the chart is written: a file-size limit makes every write past a few
// bytes fail as it would on a full disk (EFBIG rather than ENOSPC), without needing a full device.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        ::getrlimit(RLIMIT_FSIZE, &m_saved);
        m_savedSignal = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limited = m_saved;
        limited.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~FileSizeLimit()
    {
        ::setrlimit(RLIMIT_FSIZE, &m_saved);
        std::signal(SIGXFSZ, m_savedSignal);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit m_saved{};
    void (*m_savedSignal)(int){};
};

TEST_F(RenderCommand, AFullDiskIsReportedAndLeavesNoPartOfTheFile)
{
    for (const char* name : {"full.png", "full.svg", "full.pdf", "full.jsonl"}) {
        const bool trace = std::string(name).ends_with(".jsonl");
        int status = 0;
        {
            const FileSizeLimit limit(4096);
            status = run({trace ? "--trace" : "-o", path(name)});
        }
        EXPECT_EQ(status, 2) << name;
        const std::string err = m_err.str();
        EXPECT_NE(err.find("cannot write"), std::string::npos) << name << ": " << err;
        EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
        EXPECT_EQ(filesLeft(), 0u) << name << ": neither the chart nor its temporary file is left";
    }
}

TEST_F(RenderCommand, ParsingChecksEverythingAndDrawsAndWritesNothing)
{
    std::ostringstream out, err;
    const CliCommand command = parseCli({"dazed", "render", "-o", path("chart.svg"), "--ra", "5.5", "--dec",
                                         "-20", "--zoom", "2.5", "--labels", "1", "--device", "tablet"},
                                        out, err);
    ASSERT_TRUE(std::holds_alternative<RenderPlan>(command)) << err.str();
    const auto& plan = std::get<RenderPlan>(command);
    EXPECT_EQ(plan.path, path("chart.svg"));
    EXPECT_EQ(plan.format, ImageFormat::Svg);
    EXPECT_EQ(plan.size, (CGSize{768, 1024}));
    EXPECT_EQ(plan.ra, 5.5f);
    EXPECT_EQ(plan.dec, -20.0f);
    EXPECT_EQ(plan.zoom, 2.5);
    EXPECT_EQ(plan.labels, 1);
    EXPECT_EQ(filesLeft(), 0u);
    EXPECT_EQ(out.str() + err.str(), "");
    // A trace has no image format; a refused value is one line and nothing is written.
    const CliCommand trace = parseCli({"dazed", "render", "--trace", path("t.jsonl")}, out, err);
    ASSERT_TRUE(std::holds_alternative<RenderPlan>(trace));
    EXPECT_FALSE(std::get<RenderPlan>(trace).format);
    const CliCommand bad = parseCli({"dazed", "render", "-o", path("x.png"), "--ra", "1e39"}, out, err);
    ASSERT_TRUE(std::holds_alternative<int>(bad));
    EXPECT_EQ(std::get<int>(bad), 2);
    EXPECT_EQ(err.str(), "dazed render: --ra: '1e39' is not a finite number of hours\n");
    EXPECT_EQ(filesLeft(), 0u);
}

TEST(Cli, ParsingTheSummaryPrintsNothingYet)
{
    std::ostringstream out, err;
    EXPECT_TRUE(std::holds_alternative<SummaryCommand>(parseCli({"dazed", "summary"}, out, err)));
    EXPECT_EQ(out.str() + err.str(), "");
}

TEST_F(RenderCommand, AFailedRunLeavesAnExistingFileAsItWas)
{
    ASSERT_EQ(run({"-o", path("keep.png")}), 0);
    const std::string before = slurp(path("keep.png"));
    EXPECT_EQ(run({"--labels", "7", "-o", path("keep.png")}), 2);
    EXPECT_EQ(slurp(path("keep.png")), before);
    EXPECT_EQ(filesLeft(), 1u);
}

TEST_F(RenderCommand, TheZoomAndDeclinationLimitsThemselvesAreAccepted)
{
    EXPECT_EQ(run({"--zoom", "0.9", "--dec", "-90", "--trace", path("a.jsonl")}), 0) << m_err.str();
    EXPECT_EQ(run({"--zoom", "3", "--dec", "90", "--trace", path("b.jsonl")}), 0) << m_err.str();
}

// The shortest decimal text that reads back as the same double.
std::string exactText(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.17g", value);
    return text;
}

TEST_F(RenderCommand, NamedCentresDrawTheSameFrameAsTheirCoordinates)
{
    struct Case {
        std::vector<std::string> named;
        EquatorialPosition centre;
    };
    const auto orion = figureCentre("Ori");
    const auto uma = figureCentre("UMa");
    const auto paris = zenithJ2000({48.85, 2.35}, {2026, 12, 8, 21, 30, 0.0});
    const auto sydney = zenithJ2000({-33.87, 151.21}, {2026, 6, 21, 2, 0, 0.0});
    ASSERT_TRUE(orion && uma && paris && sydney);
    const Case cases[] = {
        {{"--at", "betelgeuse"}, {5.91953, 7.4069}},
        {{"--at", "Ori"}, *orion},
        {{"--at", "URSA  MAJOR"}, *uma},
        {{"--overhead", "48.85,2.35", "--time", "2026-12-08T22:30:00+01:00"}, *paris},
        {{"--overhead", "-33.87,151.21", "--time", "2026-06-21T12:00:00+10:00"}, *sydney},
    };
    for (const Case& c : cases) {
        std::vector<std::string> named = c.named;
        named.insert(named.end(), {"--labels", "1", "--trace", path("named.jsonl")});
        ASSERT_EQ(run(named), 0) << c.named.back() << ": " << m_err.str();
        ASSERT_EQ(
            run({"--ra", exactText(c.centre.rightAscensionHours), "--dec",
                 exactText(c.centre.declinationDegrees), "--labels", "1", "--trace", path("plain.jsonl")}),
            0)
            << m_err.str();
        EXPECT_EQ(slurp(path("named.jsonl")), slurp(path("plain.jsonl"))) << c.named.back();
    }
    // And not the default frame.
    ASSERT_EQ(run({"--labels", "1", "--trace", path("default.jsonl")}), 0);
    EXPECT_NE(slurp(path("named.jsonl")), slurp(path("default.jsonl")));
}

TEST_F(RenderCommand, AnUnknownNameSuggestsTheClosestOnes)
{
    EXPECT_EQ(run({"--at", "betelgeuze", "-o", path("x.png")}), 2);
    const std::string err = m_err.str();
    EXPECT_EQ(err.rfind("dazed render: --at: ", 0), 0u) << err;
    EXPECT_NE(err.find("Betelgeuse"), std::string::npos) << err;
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
    EXPECT_EQ(filesLeft(), 0u);
}

TEST(Cli, WithoutACommandItOpensTheChartWithTheOptionsGiven)
{
    std::ostringstream out;
    std::ostringstream err;
    const auto plain = runCli({"dazed"}, out, err);
    ASSERT_TRUE(std::holds_alternative<ChartOptions>(plain));
    EXPECT_EQ(std::get<ChartOptions>(plain).device, "phone");
    EXPECT_EQ(std::get<ChartOptions>(plain).orientation, "portrait");
    const auto tablet = runCli({"dazed", "--device", "tablet", "--orientation=landscape"}, out, err);
    ASSERT_TRUE(std::holds_alternative<ChartOptions>(tablet));
    EXPECT_EQ(std::get<ChartOptions>(tablet).device, "tablet");
    EXPECT_EQ(std::get<ChartOptions>(tablet).orientation, "landscape");
    EXPECT_TRUE(err.str().empty());

    EXPECT_EQ(std::get<int>(runCli({"dazed", "summary"}, out, err)), 0);
    EXPECT_NE(out.str().find("constellation segments"), std::string::npos);
    EXPECT_FALSE(std::get<ChartOptions>(plain).centre);
}

TEST(Cli, TheWindowCanStartAtANameOrOverheadAPlace)
{
    std::ostringstream out;
    std::ostringstream err;
    const auto atVega = runCli({"dazed", "--at", "VEGA"}, out, err);
    ASSERT_TRUE(std::holds_alternative<ChartOptions>(atVega)) << err.str();
    const EquatorialPosition vega = std::get<NamedPlace>(findNamedPlace("Vega")).position;
    ASSERT_TRUE(std::get<ChartOptions>(atVega).centre);
    EXPECT_EQ(std::get<ChartOptions>(atVega).centre->rightAscensionHours, vega.rightAscensionHours);
    EXPECT_EQ(std::get<ChartOptions>(atVega).centre->declinationDegrees, vega.declinationDegrees);

    const auto overhead =
        runCli({"dazed", "--overhead", "-33.87,151.21", "--time", "2026-06-21T12:00:00+10:00"}, out, err);
    ASSERT_TRUE(std::holds_alternative<ChartOptions>(overhead)) << err.str();
    const auto sydney = zenithJ2000({-33.87, 151.21}, {2026, 6, 21, 2, 0, 0.0});
    ASSERT_TRUE(sydney && std::get<ChartOptions>(overhead).centre);
    EXPECT_EQ(std::get<ChartOptions>(overhead).centre->rightAscensionHours, sydney->rightAscensionHours);
    EXPECT_EQ(std::get<ChartOptions>(overhead).centre->declinationDegrees, sydney->declinationDegrees);

    // Now, when no time is given: the zenith's declination is the latitude moved by precession.
    const auto now = runCli({"dazed", "--overhead=78.22,15.63"}, out, err);
    ASSERT_TRUE(std::holds_alternative<ChartOptions>(now)) << err.str();
    EXPECT_NEAR(std::get<ChartOptions>(now).centre->declinationDegrees, 78.22, 0.5);
    EXPECT_TRUE(err.str().empty()) << err.str();
}

TEST(Cli, BadWindowOptionsGetOneLineAndExitCodeTwo)
{
    for (const std::vector<std::string>& args : {std::vector<std::string>{"dazed", "--device", "toaster"},
                                                 {"dazed", "--orientation", "sideways"},
                                                 {"dazed", "--quit-after", "-1"},
                                                 {"dazed", "--quit-after", "nan"},
                                                 {"dazed", "--quit-after", "inf"},
                                                 {"dazed", "--quit-after", "1e400"},
                                                 {"dazed", "--colour", "red"},
                                                 {"dazed", "extra"},
                                                 {"dazed", "--at", "Betelgeuze"},
                                                 {"dazed", "--at", "Vega", "--overhead", "1,2"},
                                                 {"dazed", "--overhead", "90.5,0"},
                                                 {"dazed", "--overhead", "0,181"},
                                                 {"dazed", "--overhead", "0,0", "--time", "noon"},
                                                 {"dazed", "--time", "2026-12-08T21:30:00Z"},
                                                 {"dazed", "--at", "Vega", "render", "-o", "x.png"}}) {
        std::ostringstream out;
        std::ostringstream err;
        const auto outcome = runCli(args, out, err);
        ASSERT_TRUE(std::holds_alternative<int>(outcome)) << args.back();
        EXPECT_EQ(std::get<int>(outcome), 2) << args.back();
        const std::string message = err.str();
        EXPECT_EQ(std::count(message.begin(), message.end(), '\n'), 1) << message;
        EXPECT_EQ(message.rfind("dazed: ", 0), 0u) << message;
    }
}

TEST(Cli, HelpListsTheOptionsAndEveryControlAndVersionAnswers)
{
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(std::get<int>(runCli({"dazed", "--help"}, out, err)), 0);
    const std::string help = out.str();
    for (const char* word : {"--device", "--orientation", "--version", "render", "Alt+drag", "wheel",
                             "arrow keys", "Escape", "Ctrl+Left", "F11", "Ctrl+Q", "dazed render -o", "--at",
                             "--overhead", "--time", "dazed --at Betelgeuse", "2026-12-08T21:30:00Z"})
        EXPECT_NE(help.find(word), std::string::npos) << word;
    out.str("");
    EXPECT_EQ(std::get<int>(runCli({"dazed", "render", "--help"}, out, err)), 0);
    for (const char* word :
         {"--ra", "--at", "--overhead", "--time", "--at Betelgeuse", "--overhead 48.85,2.35"})
        EXPECT_NE(out.str().find(word), std::string::npos) << word;
    out.str("");
    EXPECT_EQ(std::get<int>(runCli({"dazed", "--version"}, out, err)), 0);
    EXPECT_EQ(out.str().rfind("dazed ", 0), 0u) << out.str();
}

} // namespace
} // namespace dazed

#include "../render/AtlasTestSupport.h"
#include "app/Cli.h"
#include "catalog/Catalog.h"
#include "render/AtlasLayout.h"
#include "tests/app/CommandTestSupport.h"
#include "tests/support/ScratchFolder.h"

#include <csignal>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <regex>
#include <sstream>
#include <sys/resource.h>

namespace dazed {
namespace {

namespace fs = std::filesystem;
using test::kDeg;

class AtlasCommand : public test::CommandTest {
protected:
    AtlasCommand()
        : CommandTest("atlas")
    {
    }
    // The trace's pages: each page's drawing calls as JSON objects.
    static std::vector<std::vector<nlohmann::json>> tracePages(const std::string& text)
    {
        std::vector<std::vector<nlohmann::json>> pages;
        std::istringstream in(text);
        std::string line;
        while (std::getline(in, line)) {
            auto j = nlohmann::json::parse(line);
            if (j.contains("page"))
                pages.emplace_back();
            else
                pages.back().push_back(std::move(j));
        }
        return pages;
    }
};

// Every page's MediaBox, in points, read from the PDF's own text.
std::vector<std::pair<double, double>> mediaBoxes(const std::string& pdf)
{
    std::vector<std::pair<double, double>> boxes;
    const std::regex box(R"(/MediaBox \[\s*0 0 ([0-9.]+) ([0-9.]+)\s*\])");
    for (auto it = std::sregex_iterator(pdf.begin(), pdf.end(), box); it != std::sregex_iterator(); ++it)
        boxes.emplace_back(std::stod((*it)[1]), std::stod((*it)[2]));
    return boxes;
}

TEST_F(AtlasCommand, WholeAtlasIsAnIndexAndTwentySevenA4Pages)
{
    ASSERT_EQ(run({"-o", path("atlas.pdf")}), 0) << m_err.str();
    const std::string pdf = slurp(path("atlas.pdf"));
    ASSERT_EQ(pdf.rfind("%PDF-", 0), 0u);
    const auto boxes = mediaBoxes(pdf);
    ASSERT_EQ(boxes.size(), 28u);
    for (const auto& [w, h] : boxes) {
        // 210 x 297 mm at 72 points to 25.4 mm.
        EXPECT_NEAR(w * 25.4 / 72.0, 210.0, 0.01);
        EXPECT_NEAR(h * 25.4 / 72.0, 297.0, 0.01);
    }
    EXPECT_LT(pdf.size(), 5u * 1024 * 1024);
}

TEST_F(AtlasCommand, LetterPaperAndOneChartMakeOnePageOfLetterSize)
{
    ASSERT_EQ(run({"--paper", "letter", "--centre", "3.2,58", "-o", path("radiant.pdf")}), 0) << m_err.str();
    const auto boxes = mediaBoxes(slurp(path("radiant.pdf")));
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_NEAR(boxes[0].first * 25.4 / 72.0, 215.9, 0.01);
    EXPECT_NEAR(boxes[0].second * 25.4 / 72.0, 279.4, 0.01);
}

// Where each star disc is, read back from the trace in millimetres from the page's middle, against
// R x (xi, eta) of the textbook projection of the catalogue position.
void expectStarsWhereTheProjectionPutsThem(const std::vector<nlohmann::json>& calls, Paper paper,
                                           double radiusMm, double raHours, double decDegrees, double limit)
{
    const PaperSize size = paperSize(paper);
    const ChartArea area = chartArea(paper);
    const double ptPerMm = 72.0 / 25.4;
    // The discs drawn black (the print style's star colour): centres in mm, x right and y up.
    std::vector<std::pair<double, double>> discs;
    bool black = false;
    for (const auto& call : calls) {
        if (call["op"] == "CGContextSetRGBFillColor")
            black = call["args"][0] == 0 && call["args"][1] == 0 && call["args"][2] == 0;
        if (call["op"] == "CGContextFillEllipseInRect" && black) {
            const auto& a = call["args"];
            const double cx = a[0].get<double>() + a[2].get<double>() / 2.0;
            const double cy = a[1].get<double>() + a[3].get<double>() / 2.0;
            discs.emplace_back(cx / ptPerMm - size.widthMm / 2.0, size.heightMm / 2.0 - cy / ptPerMm);
        }
    }
    const test::RaDec centre{raHours * 15.0 * kDeg, decDegrees * kDeg};
    int found = 0;
    for (int i = 0; i < kStarCount; ++i) {
        const float* star = starrd + static_cast<std::ptrdiff_t>(i) * kStarStride;
        if (star[2] > limit)
            continue;
        const auto s = test::textbookGnomonic(centre, {star[0], star[1]});
        // Stars a millimetre or more inside the chart area (the key's discs lie outside it).
        if (!s || std::fabs(radiusMm * s->xi) > area.halfWidthMm - 1.0 ||
            std::fabs(radiusMm * s->eta) > area.halfHeightMm - 1.0)
            continue;
        const double x = -radiusMm * s->xi; // east to the left
        const double y = radiusMm * s->eta;
        double nearest = 1e9;
        for (const auto& [dx, dy] : discs)
            nearest = std::min(nearest, std::hypot(dx - x, dy - y));
        EXPECT_LT(nearest, 0.01) << "star " << i << " at " << x << ", " << y << " mm";
        ++found;
    }
    EXPECT_GT(found, 20);
}

TEST_F(AtlasCommand, StarsLieAtRTimesTheStandardCoordinatesToAHundredthOfAMillimetre)
{
    ASSERT_EQ(run({"--centre", "3.2,58", "--trace", path("p.jsonl")}), 0) << m_err.str();
    auto pages = tracePages(slurp(path("p.jsonl")));
    ASSERT_EQ(pages.size(), 1u);
    expectStarsWhereTheProjectionPutsThem(pages[0], Paper::A4, 160.43, 3.2, 58.0, 5.0);

    ASSERT_EQ(run({"--paper", "letter", "--radius-mm", "250", "--limit", "4", "--centre", "18.6,-20",
                   "--trace", path("q.jsonl")}),
              0)
        << m_err.str();
    pages = tracePages(slurp(path("q.jsonl")));
    ASSERT_EQ(pages.size(), 1u);
    expectStarsWhereTheProjectionPutsThem(pages[0], Paper::Letter, 250.0, 18.6, -20.0, 4.0);
}

TEST_F(AtlasCommand, EveryChartOfTheAtlasPutsItsStarsWhereTheProjectionDoes)
{
    ASSERT_EQ(run({"--trace", path("atlas.jsonl")}), 0) << m_err.str();
    const auto pages = tracePages(slurp(path("atlas.jsonl")));
    ASSERT_EQ(pages.size(), 28u);
    const AtlasScheme scheme = atlasScheme(pageExtent(Paper::A4, kDefaultRadiusMm));
    for (const AtlasPage& page : scheme.pages)
        expectStarsWhereTheProjectionPutsThem(pages.at(static_cast<std::size_t>(page.number)), Paper::A4,
                                              kDefaultRadiusMm, page.raHours, page.decDegrees, 5.0);
}

TEST_F(AtlasCommand, TheIndexShowsEveryChartsNumber)
{
    ASSERT_EQ(run({"--trace", path("atlas.jsonl")}), 0) << m_err.str();
    const auto pages = tracePages(slurp(path("atlas.jsonl")));
    ASSERT_FALSE(pages.empty());
    std::set<std::string> texts;
    for (const auto& call : pages[0])
        if (call["op"] == "CGContextShowTextAtPoint")
            texts.insert(call["args"][2].get<std::string>());
    for (int n = 1; n <= 27; ++n)
        EXPECT_TRUE(texts.count(std::to_string(n))) << n;
    // Each chart's outline is a closed stroke: at least one path per chart.
    std::size_t strokes = 0;
    for (const auto& call : pages[0])
        strokes += call["op"] == "CGContextStrokePath";
    EXPECT_GE(strokes, 27u);
}

TEST_F(AtlasCommand, ChartsNameTheirNumberCentreScaleAndNeighbours)
{
    ASSERT_EQ(run({"--trace", path("atlas.jsonl")}), 0) << m_err.str();
    const auto pages = tracePages(slurp(path("atlas.jsonl")));
    ASSERT_EQ(pages.size(), 28u);
    std::string all;
    for (const auto& call : pages[2])
        if (call["op"] == "CGContextShowTextAtPoint")
            all += call["args"][2].get<std::string>() + "|";
    EXPECT_NE(all.find("Chart 2 of 27"), std::string::npos) << all;
    EXPECT_NE(all.find("R = 160.43 mm"), std::string::npos) << all;
    EXPECT_NE(all.find("RA 0h 00m"), std::string::npos) << all;
    EXPECT_NE(all.find("^ 1"), std::string::npos) << all; // the north pole's chart above
    // Parallels are curves: the grid of a ring chart has Bezier pieces.
    std::size_t curves = 0;
    for (const auto& call : pages[2])
        curves += call["op"] == "CGContextAddCurveToPoint";
    EXPECT_GT(curves, 0u);
}

// Every Bezier piece of the grid ends on a parallel: read back from the page in millimetres and
// turned into a direction by the textbook inverse of the projection, its declination is a whole
// multiple of the grid's spacing.
TEST_F(AtlasCommand, CurvesOnTheChartEndOnTheirParallels)
{
    ASSERT_EQ(run({"--centre", "7.5,35", "--grid", "15", "--trace", path("p.jsonl")}), 0) << m_err.str();
    const auto pages = tracePages(slurp(path("p.jsonl")));
    ASSERT_EQ(pages.size(), 1u);
    const double ptPerMm = 72.0 / 25.4;
    const double d0 = 35.0 * kDeg;
    std::size_t curves = 0;
    for (const auto& call : pages[0]) {
        if (call["op"] != "CGContextAddCurveToPoint")
            continue;
        const double xMm = call["args"][4].get<double>() / ptPerMm - 105.0;
        const double yMm = 148.5 - call["args"][5].get<double>() / ptPerMm;
        const double xi = -xMm / kDefaultRadiusMm;
        const double eta = yMm / kDefaultRadiusMm;
        // Snyder's inverse: rho = |(xi, eta)|, c = atan(rho),
        // dec = asin(cos c sin d0 + eta sin c cos d0 / rho).
        const double rho = std::hypot(xi, eta);
        const double c = std::atan(rho);
        const double dec =
            std::asin(std::cos(c) * std::sin(d0) + (rho > 0 ? eta * std::sin(c) * std::cos(d0) / rho : 0.0)) /
            kDeg;
        EXPECT_NEAR(dec / 15.0, std::round(dec / 15.0), 1e-4) << dec;
        ++curves;
    }
    EXPECT_GT(curves, 10u);
}

// The crosses a copier's distortion is measured by: the tangent point and (+-90, +-120) mm from it
// on A4, each of two 5 mm strokes.
TEST_F(AtlasCommand, ReferenceCrossesLieAtTheirMillimetres)
{
    ASSERT_EQ(run({"--centre", "12,-30", "--trace", path("c.jsonl")}), 0) << m_err.str();
    const auto pages = tracePages(slurp(path("c.jsonl")));
    ASSERT_EQ(pages.size(), 1u);
    const double ptPerMm = 72.0 / 25.4;
    // Crosses' centres in mm from the page's middle, x right and y up, from the segments drawn.
    // They are the last segments drawn, over the chart and its margins.
    const nlohmann::json* last = nullptr;
    for (const auto& call : pages[0])
        if (call["op"] == "CGContextStrokeLineSegments")
            last = &call;
    ASSERT_NE(last, nullptr);
    ASSERT_EQ((*last)["args"][1], 20);
    std::vector<std::pair<double, double>> centres;
    {
        const auto& pts = (*last)["args"][0];
        for (std::size_t i = 0; i < 20; i += 4) {
            const double x = (pts[i][0].get<double>() + pts[i + 1][0].get<double>()) / 2.0;
            const double y = (pts[i][1].get<double>() + pts[i + 1][1].get<double>()) / 2.0;
            // The horizontal arm is 5 mm long.
            EXPECT_NEAR((pts[i + 1][0].get<double>() - pts[i][0].get<double>()) / ptPerMm, 5.0, 1e-3);
            centres.emplace_back(x / ptPerMm - 105.0, 148.5 - y / ptPerMm);
        }
    }
    const std::vector<std::pair<double, double>> expected{
        {0, 0}, {-90, 120}, {90, 120}, {-90, -120}, {90, -120}};
    ASSERT_EQ(centres.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_NEAR(centres[i].first, expected[i].first, 1e-3);
        EXPECT_NEAR(centres[i].second, expected[i].second, 1e-3);
    }
}

TEST_F(AtlasCommand, AtANameCentresOnTheStar)
{
    ASSERT_EQ(run({"--at", "Vega", "--trace", path("v.jsonl")}), 0) << m_err.str();
    const auto pages = tracePages(slurp(path("v.jsonl")));
    ASSERT_EQ(pages.size(), 1u);
    // Vega, RA 18h 36m 56s, Dec +38 47' (J2000): its header and a disc at the page's middle.
    std::string all;
    for (const auto& call : pages[0])
        if (call["op"] == "CGContextShowTextAtPoint")
            all += call["args"][2].get<std::string>() + "|";
    EXPECT_NE(all.find("RA 18h 37m"), std::string::npos) << all;
    EXPECT_NE(all.find("Vega"), std::string::npos) << all;
}

TEST_F(AtlasCommand, BadOptionsExitWithTwoNameTheOptionAndLeaveNoFile)
{
    struct Case {
        std::vector<std::string> args;
        const char* option;
    };
    const std::string pdf = path("out.pdf");
    const Case cases[] = {
        {{"--radius-mm", "0", "-o", pdf}, "--radius-mm"},
        {{"--radius-mm", "-160", "-o", pdf}, "--radius-mm"},
        {{"--radius-mm", "nan", "-o", pdf}, "--radius-mm"},
        {{"--radius-mm", "inf", "-o", pdf}, "--radius-mm"},
        {{"--radius-mm", "400", "-o", pdf}, "--radius-mm"},
        {{"--radius-mm", "1e300", "-o", pdf}, "--radius-mm"},
        {{"--radius-mm", "", "-o", pdf}, "--radius-mm"},
        {{"--centre", "25,0", "-o", pdf}, "--centre"},
        {{"--centre", "3,91", "-o", pdf}, "--centre"},
        {{"--centre", "3", "-o", pdf}, "--centre"},
        {{"--centre", "nan,0", "-o", pdf}, "--centre"},
        {{"--centre", "-1,0", "-o", pdf}, "--centre"},
        {{"--centre", "3,58", "--at", "Vega", "-o", pdf}, "--at"},
        {{"--at", "Vegaa", "-o", pdf}, "--at"},
        {{"--paper", "a3", "-o", pdf}, "--paper"},
        {{"--style", "neon", "-o", pdf}, "--style"},
        {{"--limit", "6", "-o", pdf}, "--limit"},
        {{"--limit", "nan", "-o", pdf}, "--limit"},
        {{"--grid", "0", "-o", pdf}, "--grid"},
        {{"--grid", "100", "-o", pdf}, "--grid"},
        {{"-o", path("out.png")}, "-o"},
        {{"-o", "/dev/full"}, "-o"},
        {{"-o", path("no-such-folder/out.pdf")}, "-o"},
        {{"--trace", path("no-such-folder/t.jsonl")}, "--trace"},
        {{}, "-o"},
        {{"-o", pdf, "--trace", path("t.jsonl")}, "--trace"},
    };
    for (const Case& c : cases)
        expectRefused(c.args, c.option);
}

TEST_F(AtlasCommand, AnExistingFolderAsOutputIsRefusedAndKept)
{
    fs::create_directory(path("folder.pdf"));
    EXPECT_EQ(run({"--centre", "0,0", "-o", path("folder.pdf")}), 2);
    EXPECT_NE(m_err.str().find("cannot write"), std::string::npos) << m_err.str();
    EXPECT_TRUE(fs::is_directory(path("folder.pdf")));
    EXPECT_EQ(filesLeft(), 1u);
}

// A disk that fills up mid-document, as for render: a file-size limit makes every write past a
// few bytes fail.
TEST_F(AtlasCommand, AFullDiskLeavesNoPartOfTheDocument)
{
    rlimit saved{};
    ::getrlimit(RLIMIT_FSIZE, &saved);
    const auto savedSignal = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limited = saved;
    limited.rlim_cur = 16 * 1024;
    ::setrlimit(RLIMIT_FSIZE, &limited);
    const int pdf = run({"-o", path("atlas.pdf")});
    const std::string pdfErr = m_err.str();
    const int trace = run({"--centre", "1,2", "--trace", path("atlas.jsonl")});
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, savedSignal);
    EXPECT_EQ(pdf, 2);
    EXPECT_EQ(trace, 2);
    EXPECT_NE(pdfErr.find("cannot write"), std::string::npos) << pdfErr;
    EXPECT_EQ(filesLeft(), 0u) << "neither the atlas nor its temporary file is left";
}

TEST_F(AtlasCommand, AFailedRunLeavesAnExistingAtlasAsItWas)
{
    ASSERT_EQ(run({"--centre", "0,0", "-o", path("a.pdf")}), 0);
    const std::string before = slurp(path("a.pdf"));
    EXPECT_EQ(run({"--centre", "0,0", "--radius-mm", "0", "-o", path("a.pdf")}), 2);
    EXPECT_EQ(slurp(path("a.pdf")), before);
}

TEST_F(AtlasCommand, ScreenStyleIsTheChartsColoursOnBlack)
{
    ASSERT_EQ(run({"--style", "screen", "--centre", "5.5,0", "--trace", path("s.jsonl")}), 0) << m_err.str();
    const auto pages = tracePages(slurp(path("s.jsonl")));
    ASSERT_EQ(pages.size(), 1u);
    // The page is filled black first, and stars are white discs.
    ASSERT_GE(pages[0].size(), 2u);
    EXPECT_EQ(pages[0][0]["op"], "CGContextSetRGBFillColor");
    EXPECT_EQ(pages[0][0]["args"], nlohmann::json::parse("[0,0,0,1]"));
    bool white = false;
    std::size_t whiteDiscs = 0;
    for (const auto& call : pages[0]) {
        if (call["op"] == "CGContextSetRGBFillColor")
            white = call["args"] == nlohmann::json::parse("[1,1,1,1]");
        whiteDiscs += white && call["op"] == "CGContextFillEllipseInRect";
    }
    EXPECT_GT(whiteDiscs, 20u);
}

} // namespace
} // namespace dazed

// Draws the application's pictures: the companion app's logo, the web-site button's background,
// the info button and Dazed's own icon, each at one and two pixels per point. The committed files in
// resources/ are made by this tool and nothing else; to regenerate them after changing a drawing, run
//
//   build/dev/tools/make_artwork/make_artwork resources
//
// from the top of the tree. With --check the pictures are drawn in memory and compared byte for byte
// with the files already in the folder (the artwork test does this), so a hand-edited PNG is caught.
//
// All drawing is in points, with the origin at the picture's top-left corner and y growing down;
// the @2x pictures are the same drawings under cairo_scale(2, 2). Nothing depends on fonts or the
// clock, so every run writes the same bytes.

#include <CLI/CLI.hpp>
#include <array>
#include <cairo.h>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <iterator>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace {

constexpr double kPi = 3.141592653589793;

using CairoPtr = std::unique_ptr<cairo_t, decltype(&cairo_destroy)>;
using SurfacePtr = std::unique_ptr<cairo_surface_t, decltype(&cairo_surface_destroy)>;
using PatternPtr = std::unique_ptr<cairo_pattern_t, decltype(&cairo_pattern_destroy)>;

struct Rgba {
    double red, green, blue, alpha;
};

void setSource(cairo_t* cr, Rgba c)
{
    cairo_set_source_rgba(cr, c.red, c.green, c.blue, c.alpha);
}

void addStop(cairo_pattern_t* pattern, double offset, Rgba c)
{
    cairo_pattern_add_color_stop_rgba(pattern, offset, c.red, c.green, c.blue, c.alpha);
}

void roundedRectPath(cairo_t* cr, double x, double y, double width, double height, double radius)
{
    cairo_new_sub_path(cr);
    cairo_arc(cr, x + width - radius, y + radius, radius, -kPi / 2, 0);
    cairo_arc(cr, x + width - radius, y + height - radius, radius, 0, kPi / 2);
    cairo_arc(cr, x + radius, y + height - radius, radius, kPi / 2, kPi);
    cairo_arc(cr, x + radius, y + radius, radius, kPi, 3 * kPi / 2);
    cairo_close_path(cr);
}

// A soft round glow: `colour` at the centre fading to nothing at `radius` points.
void fillGlow(cairo_t* cr, double x, double y, double radius, Rgba colour)
{
    PatternPtr glow(cairo_pattern_create_radial(x, y, 0, x, y, radius), &cairo_pattern_destroy);
    addStop(glow.get(), 0, colour);
    addStop(glow.get(), 0.35, {colour.red, colour.green, colour.blue, colour.alpha * 0.35});
    addStop(glow.get(), 1, {colour.red, colour.green, colour.blue, 0});
    cairo_set_source(cr, glow.get());
    cairo_arc(cr, x, y, radius, 0, 2 * kPi);
    cairo_fill(cr);
}

// A four-pointed star: points `outer` points from the centre along the axes, the concave waist
// `inner` points from it along the diagonals.
void fourPointedStarPath(cairo_t* cr, double x, double y, double outer, double inner)
{
    cairo_new_sub_path(cr);
    for (int i = 0; i < 8; ++i) {
        const double angle = -kPi / 2 + i * kPi / 4;
        const double r = i % 2 == 0 ? outer : inner;
        cairo_line_to(cr, x + r * std::cos(angle), y + r * std::sin(angle));
    }
    cairo_close_path(cr);
}

// A fixed pseudo-random sequence in [0, 1), so that scattered background stars are the same on
// every run and every machine.
class Scatter {
public:
    explicit Scatter(std::uint32_t seed)
        : m_state(seed)
    {
    }
    double next()
    {
        m_state = m_state * 1664525u + 1013904223u;
        return static_cast<double>(m_state >> 8) / static_cast<double>(1u << 24);
    }

private:
    std::uint32_t m_state;
};

// ---- The companion app's logo, 160 x 160 points -------------------------------------------------

constexpr double kLogoSide = 160;

struct FigureStar {
    double x, y;   // points in the logo
    double radius; // of the white core, in points
};

// A stick figure's segments as one stroke, each stopped `gap` points short of its stars' cores so
// that the dots stand apart; the caller has set the colour and width.
void strokeFigure(cairo_t* cr, std::span<const FigureStar> stars,
                  std::span<const std::array<int, 2>> segments, double gap)
{
    for (const auto& [from, to] : segments) {
        const FigureStar& a = stars[static_cast<std::size_t>(from)];
        const FigureStar& b = stars[static_cast<std::size_t>(to)];
        const double dx = b.x - a.x, dy = b.y - a.y;
        const double length = std::hypot(dx, dy);
        const double gapA = a.radius + gap, gapB = b.radius + gap;
        cairo_move_to(cr, a.x + dx * gapA / length, a.y + dy * gapA / length);
        cairo_line_to(cr, b.x - dx * gapB / length, b.y - dy * gapB / length);
    }
    cairo_stroke(cr);
}

// The figure's stars: a soft glow `glowScale` times the core, a white core, and rays of `rayScale`
// times the core on the brightest.
void fillFigureStars(cairo_t* cr, std::span<const FigureStar> stars, double glowScale, Rgba glow,
                     std::size_t brightest, double rayScale)
{
    for (const FigureStar& star : stars) {
        fillGlow(cr, star.x, star.y, star.radius * glowScale, glow);
        setSource(cr, {1, 1, 1, 1});
        cairo_arc(cr, star.x, star.y, star.radius, 0, 2 * kPi);
        cairo_fill(cr);
    }
    const FigureStar& b = stars[brightest];
    fourPointedStarPath(cr, b.x, b.y, b.radius * rayScale, b.radius * 0.45);
    setSource(cr, {1, 1, 1, 0.85});
    cairo_fill(cr);
}

// An invented stick figure, a little off-centre so that the ring shows around it.
constexpr std::array<FigureStar, 8> kFigureStars{{
    {36, 110, 2.4},  // 0
    {56, 94, 3.0},   // 1
    {78, 102, 2.5},  // 2
    {94, 76, 4.6},   // 3: the brightest, with rays
    {120, 50, 3.3},  // 4
    {122, 94, 2.8},  // 5
    {106, 122, 2.2}, // 6
    {66, 58, 2.7},   // 7
}};
constexpr std::array<std::array<int, 2>, 8> kFigureSegments{{
    {0, 1},
    {1, 2},
    {2, 3},
    {3, 4},
    {3, 5},
    {5, 6},
    {1, 7},
    {7, 3},
}};

void drawLogo(cairo_t* cr)
{
    const double inset = 4;
    const double side = kLogoSide - 2 * inset;
    const double corner = 34;
    const double centre = kLogoSide / 2;

    // The night: a radial gradient, lighter a little above the centre, clipped to the rounded square.
    roundedRectPath(cr, inset, inset, side, side, corner);
    cairo_save(cr);
    cairo_clip_preserve(cr);
    PatternPtr sky(cairo_pattern_create_radial(centre - 10, centre - 16, 6, centre, centre, side * 0.78),
                   &cairo_pattern_destroy);
    addStop(sky.get(), 0, {0.16, 0.29, 0.55, 1});
    addStop(sky.get(), 0.55, {0.07, 0.13, 0.31, 1});
    addStop(sky.get(), 1, {0.02, 0.04, 0.13, 1});
    cairo_set_source(cr, sky.get());
    cairo_fill(cr);

    // Faint background stars.
    Scatter scatter(20240611u);
    for (int i = 0; i < 46; ++i) {
        const double x = inset + 6 + scatter.next() * (side - 12);
        const double y = inset + 6 + scatter.next() * (side - 12);
        const double r = 0.35 + scatter.next() * 0.55;
        const double alpha = 0.25 + scatter.next() * 0.4;
        setSource(cr, {0.85, 0.9, 1.0, alpha});
        cairo_arc(cr, x, y, r, 0, 2 * kPi);
        cairo_fill(cr);
    }

    // A thin ring, as of a celestial sphere seen from outside, tilted across the square.
    cairo_save(cr);
    cairo_translate(cr, centre, centre + 2);
    cairo_rotate(cr, -0.42);
    cairo_scale(cr, 1.0, 0.36);
    cairo_arc(cr, 0, 0, 62, 0, 2 * kPi);
    cairo_restore(cr);
    cairo_set_line_width(cr, 1.3);
    setSource(cr, {0.55, 0.72, 1.0, 0.32});
    cairo_stroke(cr);
    cairo_arc(cr, centre, centre, 58, 0, 2 * kPi);
    cairo_set_line_width(cr, 1.0);
    setSource(cr, {0.55, 0.72, 1.0, 0.22});
    cairo_stroke(cr);
    cairo_restore(cr);

    // The figure's segments, stopped short of each star so that the dots stand apart.
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_width(cr, 2.0);
    setSource(cr, {0.52, 0.74, 1.0, 0.9});
    strokeFigure(cr, kFigureStars, kFigureSegments, 3.0);
    fillFigureStars(cr, kFigureStars, 3.2, {0.75, 0.85, 1.0, 0.55}, 3, 3.4);

    // A hairline edge, lighter at the top, so the square reads on the black page.
    roundedRectPath(cr, inset + 0.5, inset + 0.5, side - 1, side - 1, corner - 0.5);
    PatternPtr edge(cairo_pattern_create_linear(0, inset, 0, inset + side), &cairo_pattern_destroy);
    addStop(edge.get(), 0, {0.62, 0.76, 1.0, 0.55});
    addStop(edge.get(), 1, {0.35, 0.5, 0.85, 0.25});
    cairo_set_source(cr, edge.get());
    cairo_set_line_width(cr, 1.0);
    cairo_stroke(cr);
}

// ---- The web-site button's background, 240 x 57 points ------------------------------------------

constexpr double kButtonWidth = 240;
constexpr double kButtonHeight = 57;
// The emblem sits in the room the title's six leading spaces leave: the title starts about 33
// points from the left edge (an 8-point inset plus six spaces of the 15-point bold system font).
constexpr double kEmblemCentreX = 22;

void drawWebSiteButton(cairo_t* cr)
{
    const double corner = 10;
    // Half a point in, so that the one-point border lies on whole pixels.
    const double x = 0.5, y = 0.5, width = kButtonWidth - 1, height = kButtonHeight - 1;

    // A deep blue, darker towards the bottom; even the lightest part keeps white text well readable.
    roundedRectPath(cr, x, y, width, height, corner);
    PatternPtr fill(cairo_pattern_create_linear(0, 0, 0, kButtonHeight), &cairo_pattern_destroy);
    addStop(fill.get(), 0, {0.16, 0.33, 0.64, 1});
    addStop(fill.get(), 0.5, {0.09, 0.22, 0.48, 1});
    addStop(fill.get(), 1, {0.05, 0.13, 0.33, 1});
    cairo_set_source(cr, fill.get());
    cairo_fill_preserve(cr);

    // A faint sheen over the upper half.
    cairo_save(cr);
    cairo_clip_preserve(cr);
    PatternPtr sheen(cairo_pattern_create_linear(0, 0, 0, kButtonHeight / 2), &cairo_pattern_destroy);
    addStop(sheen.get(), 0, {1, 1, 1, 0.10});
    addStop(sheen.get(), 1, {1, 1, 1, 0});
    cairo_set_source(cr, sheen.get());
    cairo_rectangle(cr, 0, 0, kButtonWidth, kButtonHeight / 2);
    cairo_fill(cr);
    cairo_restore(cr);

    // The thin lighter border.
    cairo_set_line_width(cr, 1.0);
    setSource(cr, {0.55, 0.7, 1.0, 0.85});
    cairo_stroke(cr);

    // The emblem: a white four-pointed star with two small companions, vertically centred.
    const double cy = kButtonHeight / 2;
    fillGlow(cr, kEmblemCentreX, cy, 9, {0.7, 0.82, 1.0, 0.45});
    fourPointedStarPath(cr, kEmblemCentreX, cy, 7.5, 2.0);
    setSource(cr, {1, 1, 1, 1});
    cairo_fill(cr);
    // The companions stay on the left, clear of the title.
    cairo_arc(cr, kEmblemCentreX - 7.0, cy - 6.5, 1.2, 0, 2 * kPi);
    cairo_new_sub_path(cr);
    cairo_arc(cr, kEmblemCentreX - 5.0, cy + 8.0, 0.9, 0, 2 * kPi);
    setSource(cr, {0.9, 0.94, 1.0, 0.9});
    cairo_fill(cr);
}

// ---- The info button, 50 x 50 points ------------------------------------------------------------

constexpr double kInfoSide = 50;

void drawInfoButton(cairo_t* cr)
{
    const double c = kInfoSide / 2;
    const double ringRadius = 12; // 24 points across, to the middle of the line
    const Rgba ink{0.93, 0.96, 1.0, 1};

    // A dark veil inside and around the ring keeps it readable over bright stars.
    setSource(cr, {0, 0, 0, 0.35});
    cairo_arc(cr, c, c, ringRadius + 2.5, 0, 2 * kPi);
    cairo_fill(cr);

    cairo_arc(cr, c, c, ringRadius, 0, 2 * kPi);
    cairo_set_line_width(cr, 1.8);
    setSource(cr, ink);
    cairo_stroke(cr);

    // The letter, drawn as shapes: a dot over a stem with a small foot.
    setSource(cr, ink);
    cairo_arc(cr, c, c - 6.2, 1.8, 0, 2 * kPi);
    cairo_fill(cr);
    const double stemWidth = 3.0, stemTop = c - 2.4, stemBottom = c + 6.6;
    roundedRectPath(cr, c - stemWidth / 2, stemTop, stemWidth, stemBottom - stemTop, 0.6);
    cairo_fill(cr);
    roundedRectPath(cr, c - 3.6, stemBottom - 1.4, 7.2, 1.4, 0.5);
    cairo_fill(cr);
    roundedRectPath(cr, c - 3.2, stemTop, 3.2, 1.3, 0.5);
    cairo_fill(cr);
}

// ---- Dazed's icon, 128 x 128 points (the 256-pixel @2x file goes into the desktop's icon theme) ---

constexpr double kIconSide = 128;

// A small invented figure around the chart's centre cross, in points of the icon.
constexpr std::array<FigureStar, 7> kIconStars{{
    {24, 42, 3.0},  // 0
    {50, 30, 2.6},  // 1
    {80, 36, 4.2},  // 2: the brightest
    {100, 60, 2.6}, // 3
    {92, 94, 3.2},  // 4
    {44, 96, 2.4},  // 5
    {38, 64, 2.8},  // 6
}};
constexpr std::array<std::array<int, 2>, 6> kIconSegments{{
    {0, 1},
    {1, 2},
    {2, 3},
    {3, 4},
    {1, 6},
    {6, 5},
}};

// The chart in small: a black sky, blue figure lines, white stars, the equator (green) and the
// ecliptic (dark red) as the straight dashed lines the gnomonic projection makes of great circles,
// and the red cross that marks the centre.
void drawAppIcon(cairo_t* cr)
{
    const double inset = 4;
    const double side = kIconSide - 2 * inset;
    const double corner = 26;
    const double centre = kIconSide / 2;

    roundedRectPath(cr, inset, inset, side, side, corner);
    cairo_save(cr);
    cairo_clip_preserve(cr);
    PatternPtr sky(cairo_pattern_create_radial(centre, centre, 4, centre, centre, side * 0.75),
                   &cairo_pattern_destroy);
    addStop(sky.get(), 0, {0.05, 0.07, 0.18, 1});
    addStop(sky.get(), 1, {0.0, 0.0, 0.03, 1});
    cairo_set_source(cr, sky.get());
    cairo_fill(cr);

    // Faint background stars.
    Scatter scatter(20261208u);
    for (int i = 0; i < 34; ++i) {
        const double x = inset + 4 + scatter.next() * (side - 8);
        const double y = inset + 4 + scatter.next() * (side - 8);
        const double r = 0.4 + scatter.next() * 0.6;
        setSource(cr, {1, 1, 1, 0.35 + scatter.next() * 0.4});
        cairo_arc(cr, x, y, r, 0, 2 * kPi);
        cairo_fill(cr);
    }

    // The equator and the ecliptic, dashed as on the chart.
    const std::array<double, 2> dash{5.0, 4.0};
    cairo_set_dash(cr, dash.data(), static_cast<int>(dash.size()), 0);
    cairo_set_line_width(cr, 1.6);
    setSource(cr, {0.1, 0.65, 0.2, 0.9});
    cairo_move_to(cr, 0, 108);
    cairo_line_to(cr, kIconSide, 104);
    cairo_stroke(cr);
    setSource(cr, {0.6, 0.08, 0.1, 0.9});
    cairo_move_to(cr, 0, 18);
    cairo_line_to(cr, kIconSide, 30);
    cairo_stroke(cr);
    cairo_set_dash(cr, nullptr, 0, 0);

    // The figure, in the chart's blue, stopped short of each star.
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_width(cr, 2.6);
    setSource(cr, {0.15, 0.25, 1.0, 1});
    strokeFigure(cr, kIconStars, kIconSegments, 2.0);
    fillFigureStars(cr, kIconStars, 2.6, {0.8, 0.85, 1.0, 0.5}, 2, 3.0);

    // The centre cross.
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
    cairo_set_line_width(cr, 2.0);
    setSource(cr, {0.95, 0.1, 0.1, 1});
    cairo_move_to(cr, centre - 9, centre);
    cairo_line_to(cr, centre + 9, centre);
    cairo_move_to(cr, centre, centre - 9);
    cairo_line_to(cr, centre, centre + 9);
    cairo_stroke(cr);
    cairo_restore(cr);

    // A hairline edge so that the square reads on a dark desktop.
    roundedRectPath(cr, inset + 0.5, inset + 0.5, side - 1, side - 1, corner - 0.5);
    setSource(cr, {0.45, 0.55, 0.9, 0.6});
    cairo_set_line_width(cr, 1.0);
    cairo_stroke(cr);
}

// ---- Rendering and writing ----------------------------------------------------------------------

struct Picture {
    std::string stem;
    double width, height; // points
    std::function<void(cairo_t*)> draw;
};

const std::vector<Picture>& pictures()
{
    static const std::vector<Picture> all{
        {"qorvilan", kLogoSide, kLogoSide, drawLogo},
        {"DevoRod1", kButtonWidth, kButtonHeight, drawWebSiteButton},
        {"InfoButton", kInfoSide, kInfoSide, drawInfoButton},
        {"dazed", kIconSide, kIconSide, drawAppIcon},
    };
    return all;
}

cairo_status_t appendBytes(void* closure, const unsigned char* data, unsigned int length)
{
    static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), length);
    return CAIRO_STATUS_SUCCESS;
}

// The PNG bytes of `picture` drawn at `scale` pixels per point; empty if Cairo failed.
std::string renderPNG(const Picture& picture, int scale)
{
    SurfacePtr surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32,
                                                  static_cast<int>(picture.width) * scale,
                                                  static_cast<int>(picture.height) * scale),
                       &cairo_surface_destroy);
    {
        CairoPtr cr(cairo_create(surface.get()), &cairo_destroy);
        cairo_scale(cr.get(), scale, scale);
        picture.draw(cr.get());
        if (cairo_status(cr.get()) != CAIRO_STATUS_SUCCESS)
            return {};
    }
    std::string bytes;
    if (cairo_surface_write_to_png_stream(surface.get(), appendBytes, &bytes) != CAIRO_STATUS_SUCCESS)
        return {};
    return bytes;
}

std::string fileName(const Picture& picture, int scale)
{
    return picture.stem + (scale == 1 ? "" : "@" + std::to_string(scale) + "x") + ".png";
}

std::string readFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

} // namespace

int main(int argc, char** argv)
{
    CLI::App app{"Draws the application's pictures into a folder (resources/ in the tree)"};
    std::string folder;
    bool check = false;
    app.add_option("folder", folder, "where the PNG files go")->required();
    app.add_flag("--check", check, "compare with the files in the folder instead of writing");
    CLI11_PARSE(app, argc, argv);

    int differing = 0;
    for (const Picture& picture : pictures()) {
        for (int scale : {1, 2}) {
            const std::string bytes = renderPNG(picture, scale);
            const std::filesystem::path path = std::filesystem::path(folder) / fileName(picture, scale);
            if (bytes.empty()) {
                std::cerr << "make_artwork: could not draw " << path.filename().string() << "\n";
                return 1;
            }
            if (check) {
                if (!std::filesystem::is_regular_file(path) || readFile(path) != bytes) {
                    std::cerr << "make_artwork: " << path.string()
                              << " is missing or differs from what the tool draws\n";
                    ++differing;
                }
                continue;
            }
            std::ofstream out(path, std::ios::binary | std::ios::trunc);
            out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
            if (!out) {
                std::cerr << "make_artwork: could not write " << path.string() << "\n";
                return 1;
            }
        }
    }
    if (check && differing > 0) {
        std::cerr << "make_artwork: regenerate with: make_artwork " << folder << "\n";
        return 1;
    }
    return 0;
}

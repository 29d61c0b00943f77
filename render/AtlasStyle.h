#pragma once

// How the printed atlas looks: a palette and line widths for each style. Print is black stars on
// white paper with grey lines, for a printer; screen is the chart's own colours on black.

namespace dazed {

enum class AtlasStyle { Print, Screen };

struct Rgb {
    float red{0.0f};
    float green{0.0f};
    float blue{0.0f};
};

struct AtlasPalette {
    Rgb paper;
    Rgb stars;
    Rgb figures; // constellation stick figures
    Rgb grid;    // hour circles and parallels
    Rgb equator;
    Rgb ecliptic;
    Rgb starNames;
    Rgb constellationNames;
    Rgb text; // header, footer, key, neighbours, crosses
    // Line widths in points.
    float figureWidth{0.0f};
    float gridWidth{0.0f};
    float referenceWidth{0.0f}; // equator and ecliptic
};

inline AtlasPalette atlasPalette(AtlasStyle style)
{
    if (style == AtlasStyle::Screen)
        // The chart's own: white stars, blue figures, grey star names, green constellation names,
        // a green equator and a dark red ecliptic, on black.
        return {.paper = {0, 0, 0},
                .stars = {1, 1, 1},
                .figures = {0, 0, 0.8f},
                .grid = {0.3f, 0.3f, 0.3f},
                .equator = {0, 0.6f, 0},
                .ecliptic = {0.6f, 0.1f, 0.1f},
                .starNames = {0.8f, 0.8f, 0.8f},
                .constellationNames = {0, 0.8f, 0},
                .text = {0.9f, 0.9f, 0.9f},
                .figureWidth = 0.8f,
                .gridWidth = 0.4f,
                .referenceWidth = 0.9f};
    // Black on white, the lines in greys a copier keeps.
    return {.paper = {1, 1, 1},
            .stars = {0, 0, 0},
            .figures = {0.55f, 0.55f, 0.55f},
            .grid = {0.72f, 0.72f, 0.72f},
            .equator = {0.25f, 0.25f, 0.25f},
            .ecliptic = {0.25f, 0.25f, 0.25f},
            .starNames = {0.2f, 0.2f, 0.2f},
            .constellationNames = {0.35f, 0.35f, 0.35f},
            .text = {0, 0, 0},
            .figureWidth = 0.4f,
            .gridWidth = 0.3f,
            .referenceWidth = 0.6f};
}

} // namespace dazed

// Every drawing call of a grid of frames, compared with the recorded calls of the same frames kept
// in golden/frames.txt: any change to what the chart draws, down to the last bit of a coordinate,
// fails here and names the frame. The grid covers both poles, 0 h and 24 h and ordinary centres,
// phone and tablet in both orientations, all three label modes and three zooms.
//
// Each frame is kept as its number of calls and a 64-bit FNV-1a hash of its trace (one JSON line a
// call, as `dazed render --trace` writes it), so the file stays small. To see a difference line by
// line, set DAZED_GOLDEN_TRACE_DIR to a folder: every frame's whole trace is written there, to be
// compared with the traces of another revision. DAZED_WRITE_GOLDEN=FILE writes the table of the
// code as it is to FILE instead of comparing (done once, when the drawing is meant to change).

#include "RenderTestSupport.h"
#include "platform/graphics/TraceFormat.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <sstream>
#include <string>
#include <unistd.h>

namespace dazed {
namespace {

namespace fs = std::filesystem;

struct Screen {
    const char* name;
    float width;
    float height;
};

// Phone and tablet screens in points, portrait and landscape.
constexpr Screen kScreens[] = {
    {"phone-portrait", 320, 480},
    {"phone-landscape", 480, 320},
    {"tablet-portrait", 768, 1024},
    {"tablet-landscape", 1024, 768},
};

struct Centre {
    const char* name;
    float ra;
    float dec;
};

constexpr Centre kCentres[] = {
    {"north-pole-0h", 0, 90},  {"north-pole-24h", 24, 90},
    {"south-pole-0h", 0, -90}, {"south-pole-12h", 12, -90},
    {"origin-0h", 0, 0},       {"equator-24h", 24, 0},
    {"south-24h", 24, -45},    {"start-17h+31", 17, 31},
    {"sirius", 6.75f, -16.7f}, {"galactic-centre", 17.76f, -28.933f},
};

constexpr double kZooms[] = {0.9, 1.0, 3.0};
constexpr int kLabelModes[] = {0, 1, 2};

struct Recorded {
    std::size_t calls{0};
    std::uint64_t hash{0};

    friend bool operator==(const Recorded&, const Recorded&) = default;
};

std::uint64_t fnv1a(const std::string& bytes)
{
    std::uint64_t h = 14695981039346656037ull;
    for (unsigned char c : bytes) {
        h ^= c;
        h *= 1099511628211ull;
    }
    return h;
}

std::string hex(std::uint64_t v)
{
    char buf[17];
    std::snprintf(buf, sizeof buf, "%016llx", static_cast<unsigned long long>(v));
    return buf;
}

std::string traceOf(const RecordingContext& rec)
{
    std::string trace;
    for (const DrawOp& op : rec.ops()) {
        trace += traceLine(op);
        trace += '\n';
    }
    return trace;
}

std::string frameName(const Screen& s, const Centre& c, double zoom, int labels)
{
    std::ostringstream name;
    name << s.name << "_" << c.name << "_zoom" << zoom << "_labels" << labels;
    return name.str();
}

// The golden table: frame name to calls and hash.
std::map<std::string, Recorded> readGolden(const fs::path& path)
{
    std::map<std::string, Recorded> golden;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#')
            continue;
        std::istringstream fields(line);
        std::string name;
        std::string hash;
        Recorded r;
        fields >> name >> r.calls >> hash;
        r.hash = std::stoull(hash, nullptr, 16);
        golden[name] = r;
    }
    return golden;
}

// A folder of this test process's own, for the traces of frames that differ.
fs::path scratchFolder()
{
    return fs::temp_directory_path() / ("dazed-golden-" + std::to_string(::getpid()));
}

TEST(TraceGolden, EveryFrameOfTheGridDrawsExactlyTheGoldenCalls)
{
    const fs::path goldenPath = fs::path(DAZED_TEST_DATA_DIR) / "golden" / "frames.txt";
    const char* writeTo = std::getenv("DAZED_WRITE_GOLDEN");
    const char* traceDir = std::getenv("DAZED_GOLDEN_TRACE_DIR");
    const auto golden = writeTo ? std::map<std::string, Recorded>{} : readGolden(goldenPath);
    if (!writeTo) {
        ASSERT_FALSE(golden.empty()) << "no golden frames in " << goldenPath;
    }

    std::ostringstream table;
    table << "# frame, number of drawing calls, FNV-1a 64 of the trace; see TraceGoldenTest.cpp\n";
    std::size_t frames = 0;
    std::size_t differing = 0;
    for (const Screen& s : kScreens)
        for (const Centre& c : kCentres)
            for (double zoom : kZooms)
                for (int labels : kLabelModes) {
                    const std::string name = frameName(s, c, zoom, labels);
                    auto frame = test::recordFrame({s.width, s.height, c.ra, c.dec, zoom, labels});
                    const std::string trace = traceOf(frame->rec);
                    const Recorded got{frame->rec.ops().size(), fnv1a(trace)};
                    table << name << " " << got.calls << " " << hex(got.hash) << "\n";
                    ++frames;
                    if (traceDir)
                        std::ofstream(fs::path(traceDir) / (name + ".jsonl"), std::ios::binary) << trace;
                    if (writeTo)
                        continue;
                    const auto expected = golden.find(name);
                    if (expected == golden.end()) {
                        ADD_FAILURE() << "frame " << name << " has no golden entry";
                        continue;
                    }
                    if (expected->second == got)
                        continue;
                    ++differing;
                    const fs::path dir = scratchFolder();
                    fs::create_directories(dir);
                    const fs::path kept = dir / (name + ".jsonl");
                    std::ofstream(kept, std::ios::binary) << trace;
                    ADD_FAILURE() << "frame " << name << " differs: " << got.calls << " calls, hash "
                                  << hex(got.hash) << "; golden " << expected->second.calls << " calls, hash "
                                  << hex(expected->second.hash) << "; its trace is in " << kept;
                }
    EXPECT_EQ(frames, std::size(kScreens) * std::size(kCentres) * std::size(kZooms) * std::size(kLabelModes));
    if (writeTo) {
        std::ofstream(writeTo, std::ios::binary) << table.str();
        std::cout << "[ info ] wrote " << frames << " golden frames to " << writeTo << "\n";
        return;
    }
    EXPECT_EQ(golden.size(), frames) << "the golden table lists frames the grid no longer draws";
    std::cout << "[ info ] " << frames << " frames compared, " << differing << " differ\n";
}

} // namespace
} // namespace dazed

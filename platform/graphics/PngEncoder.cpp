#include "platform/graphics/PngEncoder.h"

#include "platform/graphics/ParallelTasks.h"

#include <algorithm>
#include <cstring>
#include <vector>
#include <zlib.h>

namespace dazed {

namespace {

// The chart is mostly runs of one colour (black sky, flat panels), which zlib's run-length
// strategy finds without searching for matches: on a tablet frame at two pixels per point it is
// about five times faster than Cairo's writer (default level, every filter tried per row) and the
// file is no larger. Row filters only cost time here: unfiltered rows compress as well.
constexpr int kZlibLevel = 1;
constexpr int kZlibStrategy = Z_RLE;

std::uint32_t pixelAt(const unsigned char* row, int x)
{
    std::uint32_t argb = 0;
    std::memcpy(&argb, row + static_cast<std::ptrdiff_t>(x) * 4, sizeof argb);
    return argb;
}

// The row's pixels as RGB, and the AND of them all: its alpha byte is 0xFF only if every pixel is
// opaque, which is what dropping the alpha channel takes.
std::uint32_t toRgb(const unsigned char* row, int width, unsigned char* out)
{
    std::uint32_t all = 0xFFFFFFFFu;
    for (int x = 0; x < width; ++x, out += 3) {
        const std::uint32_t p = pixelAt(row, x);
        all &= p;
        out[0] = static_cast<unsigned char>(p >> 16);
        out[1] = static_cast<unsigned char>(p >> 8);
        out[2] = static_cast<unsigned char>(p);
    }
    return all;
}

void toRgba(const unsigned char* row, int width, unsigned char* out)
{
    for (int x = 0; x < width; ++x, out += 4) {
        const std::uint32_t p = pixelAt(row, x);
        const std::uint32_t a = p >> 24;
        auto channel = [a](std::uint32_t premultiplied) {
            return static_cast<unsigned char>(a == 0 ? 0 : (premultiplied * 255 + a / 2) / a);
        };
        out[0] = channel((p >> 16) & 0xFFu);
        out[1] = channel((p >> 8) & 0xFFu);
        out[2] = channel(p & 0xFFu);
        out[3] = static_cast<unsigned char>(a);
    }
}

// The rows are cut into bands, one for each core, and the bands are compressed at the same time,
// each as a raw deflate stream of its own; laid end to end (every band but the last ends on a
// byte boundary with a sync flush) they are one zlib stream, as a parallel gzip does it. The
// run-length strategy only refers back one byte, so cutting costs a few bytes a band.
constexpr int kMaxBands = 8;
constexpr int kMinRowsPerBand = 16;

// A deflate stream, released on every way out.
class Deflater {
public:
    Deflater()
    {
        // Raw deflate (negative window bits): the zlib header and checksum are written once for
        // the whole image.
        m_ok = deflateInit2(&m_stream, kZlibLevel, Z_DEFLATED, -15, 8, kZlibStrategy) == Z_OK;
    }
    ~Deflater()
    {
        if (m_ok)
            deflateEnd(&m_stream);
    }
    Deflater(const Deflater&) = delete;
    Deflater& operator=(const Deflater&) = delete;

    // Compresses `length` bytes onto `out`; `flush` is Z_NO_FLUSH, Z_SYNC_FLUSH or Z_FINISH.
    bool add(const unsigned char* data, std::size_t length, int flush, std::string& out)
    {
        if (!m_ok)
            return false;
        m_stream.next_in = const_cast<unsigned char*>(data);
        m_stream.avail_in = static_cast<uInt>(length);
        unsigned char chunk[16384];
        do {
            m_stream.next_out = chunk;
            m_stream.avail_out = sizeof chunk;
            const int status = deflate(&m_stream, flush);
            if (status == Z_STREAM_ERROR)
                return false;
            out.append(reinterpret_cast<const char*>(chunk), sizeof chunk - m_stream.avail_out);
        } while (m_stream.avail_out == 0 || m_stream.avail_in != 0);
        return true;
    }

private:
    z_stream m_stream{};
    bool m_ok{false};
};

// One band of rows, filtered (the filter type byte 0 before each row) and compressed.
struct Band {
    int firstRow{0};
    int endRow{0};
    bool last{false};
    // Written as RGB, the band met a pixel that is not opaque: the image needs its alpha channel.
    bool translucent{false};
    std::string deflated;
    uLong adler{1};
    uLong rawLength{0};
    bool ok{false};
};

void compressBand(const ArgbPixels& image, bool opaque, Band& band)
{
    Deflater deflater;
    std::vector<unsigned char> row(1 + static_cast<std::size_t>(image.width) * (opaque ? 3 : 4));
    row[0] = 0; // no filter
    band.ok = true;
    for (int y = band.firstRow; y < band.endRow && band.ok; ++y) {
        const unsigned char* pixels = image.data + static_cast<std::ptrdiff_t>(y) * image.stride;
        if (!opaque) {
            toRgba(pixels, image.width, row.data() + 1);
        } else if ((toRgb(pixels, image.width, row.data() + 1) >> 24) != 0xFFu) {
            // The caller starts again with the alpha channel: nothing of this band is kept.
            band.translucent = true;
            return;
        }
        band.adler = adler32(band.adler, row.data(), static_cast<uInt>(row.size()));
        band.rawLength += row.size();
        const bool lastRow = y + 1 == band.endRow;
        const int flush = !lastRow ? Z_NO_FLUSH : band.last ? Z_FINISH : Z_SYNC_FLUSH;
        band.ok = deflater.add(row.data(), row.size(), flush, band.deflated);
    }
}

// Compresses every band, shared out among the caller's thread and the waiting ones.
void compressBands(const ArgbPixels& image, bool opaque, std::vector<Band>& bands)
{
    runTasks(static_cast<int>(bands.size()),
             [&](int i) { compressBand(image, opaque, bands[static_cast<std::size_t>(i)]); });
}

void putU32(std::string& out, std::uint32_t v)
{
    const char bytes[4] = {static_cast<char>(v >> 24), static_cast<char>(v >> 16), static_cast<char>(v >> 8),
                           static_cast<char>(v)};
    out.append(bytes, 4);
}

// A chunk: length, type, data, and the CRC of type and data.
void putChunk(std::string& out, const char type[4], const std::string& data)
{
    putU32(out, static_cast<std::uint32_t>(data.size()));
    const std::size_t typeAt = out.size();
    out.append(type, 4);
    out += data;
    const uLong crc =
        crc32(0L, reinterpret_cast<const Bytef*>(out.data() + typeAt), static_cast<uInt>(4 + data.size()));
    putU32(out, static_cast<std::uint32_t>(crc));
}

int bandCount(int height)
{
    return std::clamp(std::min(coreCount(), height / kMinRowsPerBand), 1, kMaxBands);
}

} // namespace

bool encodePng(const ArgbPixels& image, std::string& bytes)
{
    bytes.clear();
    if (!image.data || image.width <= 0 || image.height <= 0 || image.stride < image.width * 4)
        return false;
    const int count = bandCount(image.height);
    auto cut = [&image, count] {
        std::vector<Band> bands(static_cast<std::size_t>(count));
        for (int i = 0; i < count; ++i) {
            Band& band = bands[static_cast<std::size_t>(i)];
            band.firstRow = static_cast<int>(static_cast<long long>(image.height) * i / count);
            band.endRow = static_cast<int>(static_cast<long long>(image.height) * (i + 1) / count);
            band.last = i + 1 == count;
        }
        return bands;
    };
    // Charts are opaque: the rows are written as RGB straight away, and only if some pixel turns
    // out not to be is the image written again with its alpha channel. That spares a pass over
    // every pixel before the compression starts.
    bool opaque = true;
    std::vector<Band> bands = cut();
    compressBands(image, true, bands);
    if (std::any_of(bands.begin(), bands.end(), [](const Band& band) { return band.translucent; })) {
        opaque = false;
        bands = cut();
        compressBands(image, false, bands);
    }

    // The zlib stream: header (deflate, 32 KiB window, fastest level), the bands, and the Adler-32
    // of all the filtered rows, combined from the bands' own.
    std::string idat{'\x78', '\x01'};
    uLong adler = 1;
    for (const Band& band : bands) {
        if (!band.ok)
            return false;
        idat += band.deflated;
        adler = adler32_combine(adler, band.adler, static_cast<z_off_t>(band.rawLength));
    }
    putU32(idat, static_cast<std::uint32_t>(adler));
    // One IDAT chunk holds the whole stream; its length must fit the chunk's 31 bits.
    if (idat.size() > 0x7FFFFFFFu)
        return false;

    std::string header;
    putU32(header, static_cast<std::uint32_t>(image.width));
    putU32(header, static_cast<std::uint32_t>(image.height));
    // Bit depth 8; colour type 2 (RGB) or 6 (RGBA); deflate; adaptive filtering (type 0 chosen for
    // every row); not interlaced.
    header += {'\x08', opaque ? '\x02' : '\x06', '\x00', '\x00', '\x00'};

    bytes.reserve(idat.size() + 64);
    bytes.assign("\x89PNG\r\n\x1a\n", 8);
    putChunk(bytes, "IHDR", header);
    putChunk(bytes, "IDAT", idat);
    putChunk(bytes, "IEND", {});
    return true;
}

} // namespace dazed

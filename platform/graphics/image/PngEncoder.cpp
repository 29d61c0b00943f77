#include "platform/graphics/image/PngEncoder.h"

#include <csetjmp>
#include <cstdint>
#include <cstring>
#include <png.h>
#include <vector>
#include <zlib.h>

namespace dazed {

namespace {

// The chart is mostly runs of one colour (black sky, flat panels), which zlib's run-length
// strategy finds without searching for matches; row filters only cost time here, as unfiltered
// rows compress as well.
constexpr int kZlibLevel = 1;
constexpr int kZlibStrategy = Z_RLE;
constexpr int kRowFilter = PNG_FILTER_NONE;

std::uint32_t pixelAt(const unsigned char* row, int x)
{
    std::uint32_t argb = 0;
    std::memcpy(&argb, row + static_cast<std::ptrdiff_t>(x) * 4, sizeof argb);
    return argb;
}

bool isOpaque(const ArgbPixels& image)
{
    std::uint32_t all = 0xFFFFFFFFu;
    for (int y = 0; y < image.height; ++y) {
        const unsigned char* row = image.data + static_cast<std::ptrdiff_t>(y) * image.stride;
        for (int x = 0; x < image.width; ++x)
            all &= pixelAt(row, x);
        if ((all >> 24) != 0xFFu)
            return false;
    }
    return true;
}

void toRgb(const unsigned char* row, int width, unsigned char* out)
{
    for (int x = 0; x < width; ++x, out += 3) {
        const std::uint32_t p = pixelAt(row, x);
        out[0] = static_cast<unsigned char>(p >> 16);
        out[1] = static_cast<unsigned char>(p >> 8);
        out[2] = static_cast<unsigned char>(p);
    }
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

void appendBytes(png_structp png, png_bytep data, png_size_t length)
{
    static_cast<std::string*>(png_get_io_ptr(png))->append(reinterpret_cast<const char*>(data), length);
}

void flushNothing(png_structp) {}

// libpng reports errors by longjmp to the setjmp below: no object with a destructor may be made
// in this function, so that a jump out of libpng skips none.
bool writeRows(png_structp png, png_infop info, const ArgbPixels& image, bool opaque,
               unsigned char* rowBuffer, std::string& bytes)
{
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_set_write_fn(png, &bytes, appendBytes, flushNothing);
    png_set_IHDR(png, info, static_cast<png_uint_32>(image.width), static_cast<png_uint_32>(image.height), 8,
                 opaque ? PNG_COLOR_TYPE_RGB : PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_compression_level(png, kZlibLevel);
    png_set_compression_strategy(png, kZlibStrategy);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, kRowFilter);
    png_write_info(png, info);
    for (int y = 0; y < image.height; ++y) {
        const unsigned char* row = image.data + static_cast<std::ptrdiff_t>(y) * image.stride;
        if (opaque)
            toRgb(row, image.width, rowBuffer);
        else
            toRgba(row, image.width, rowBuffer);
        png_write_row(png, rowBuffer);
    }
    png_write_end(png, info);
    return true;
}

// The write struct and its info, destroyed together.
class PngWriter {
public:
    PngWriter()
        : m_png(png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr))
        , m_info(m_png ? png_create_info_struct(m_png) : nullptr)
    {
    }
    ~PngWriter() { png_destroy_write_struct(&m_png, m_info ? &m_info : nullptr); }
    PngWriter(const PngWriter&) = delete;
    PngWriter& operator=(const PngWriter&) = delete;

    [[nodiscard]] bool ok() const { return m_png && m_info; }
    [[nodiscard]] png_structp png() const { return m_png; }
    [[nodiscard]] png_infop info() const { return m_info; }

private:
    png_structp m_png;
    png_infop m_info;
};

} // namespace

Result<std::string> encodePng(const ArgbPixels& image)
{
    if (!image.data || image.width <= 0 || image.height <= 0 || image.stride < image.width * 4)
        return failure("cannot encode an empty image as PNG");
    const bool opaque = isOpaque(image);
    std::vector<unsigned char> rowBuffer(static_cast<std::size_t>(image.width) * (opaque ? 3 : 4));
    std::string bytes;
    // The file is usually a small fraction of the pixels; reserving some spares a few regrowths.
    bytes.reserve(static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height) / 4);
    PngWriter writer;
    if (!writer.ok() || !writeRows(writer.png(), writer.info(), image, opaque, rowBuffer.data(), bytes))
        return failure("cannot encode the PNG image");
    return bytes;
}

} // namespace dazed

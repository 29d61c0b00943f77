#include "platform/graphics/image/PdfDocument.h"

#include "platform/graphics/CGContext.h"

#include <cmath>
#include <gtest/gtest.h>
#include <regex>

namespace dazed {
namespace {

std::size_t count(const std::string& text, const std::regex& pattern)
{
    return static_cast<std::size_t>(
        std::distance(std::sregex_iterator(text.begin(), text.end(), pattern), std::sregex_iterator()));
}

TEST(PdfDocument, EachPageIsDrawnOnceWithAFreshContextOfTheGivenSize)
{
    std::vector<int> drawn;
    const auto pdf = renderPdfDocument(595.2756, 841.8898, 3, [&](int page) {
        drawn.push_back(page);
        CGContextRef c = UIGraphicsGetCurrentContext();
        ASSERT_NE(c, nullptr);
        CGContextSetRGBFillColor(c, 0, 0, 0, 1);
        CGContextFillRect(c, CGRectMake(10, 10, 20, 20));
    });
    ASSERT_TRUE(pdf) << pdf.error().message;
    EXPECT_EQ(drawn, (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(pdf.value().rfind("%PDF-", 0), 0u);
    // The page tree's count, and a fractional A4 box on every page.
    EXPECT_EQ(count(pdf.value(), std::regex(R"(/Type /Page\b)")), 3u);
    EXPECT_EQ(count(pdf.value(), std::regex(R"(/MediaBox \[ ?0 0 595\.27\d* 841\.8[89]\d* ?\])")), 3u);
    EXPECT_EQ(UIGraphicsGetCurrentContext(), nullptr);
}

TEST(PdfDocument, NoPagesOrNoSizeIsAnError)
{
    const auto nothing = [](int) {
    };
    EXPECT_FALSE(renderPdfDocument(100, 100, 0, nothing));
    EXPECT_FALSE(renderPdfDocument(0, 100, 1, nothing));
    EXPECT_FALSE(renderPdfDocument(100, std::nan(""), 1, nothing));
}

} // namespace
} // namespace dazed

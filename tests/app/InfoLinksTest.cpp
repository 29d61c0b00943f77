#include "app/InfoLinks.h"

#include "tests/support/ScratchFolder.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace dazed {
namespace {

namespace fs = std::filesystem;

TEST(InfoLinks, TheShippedFileLoadsAndNamesTheCataloguesHost)
{
    const std::string path = std::string(DAZED_RESOURCE_DIR) + "/Links.json";
    auto loaded = loadInfoLinks(path);
    ASSERT_TRUE(loaded) << loaded.error().message;
    const InfoLinks& links = loaded.value();
    EXPECT_EQ(webSiteButtonTitle(links), "      tdc-www.harvard.edu");
    EXPECT_EQ(hostName(links.storePage), "github.com");
}

TEST(InfoLinks, HostNameIsBetweenTheSchemeAndThePathPortQueryOrFragment)
{
    EXPECT_EQ(hostName("http://tdc-www.harvard.edu/catalogs/bsc5.html"), "tdc-www.harvard.edu");
    EXPECT_EQ(hostName("https://example.org:8443/path"), "example.org");
    EXPECT_EQ(hostName("https://example.org?q=stars"), "example.org");
    EXPECT_EQ(hostName("https://example.org#top"), "example.org");
    EXPECT_EQ(hostName("https://example.org"), "example.org");
    EXPECT_EQ(hostName("HTTP://Example.org/"), "Example.org");
    EXPECT_EQ(hostName("example.org/catalogs"), "");
    EXPECT_EQ(hostName("mailto:someone@example.org"), "");
    EXPECT_EQ(hostName("http:///path"), "");
    EXPECT_EQ(hostName(""), "");
}

TEST(InfoLinks, TheTitleIsSixSpacesThenTheHost)
{
    EXPECT_EQ(webSiteButtonTitle({"https://stars.example.net:80/x", "https://example.org"}),
              "      stars.example.net");
    EXPECT_EQ(webSiteButtonTitle({}), "      ");
}

// Each case writes its file into a folder of the test's own.
class InfoLinksFile : public ::testing::Test {
protected:
    // The error for a file holding `text`; "(loaded)" when it loads.
    std::string errorFor(const std::string& text)
    {
        const auto path = (m_dir / "Links.json").string();
        std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
        auto loaded = loadInfoLinks(path);
        if (loaded)
            return "(loaded)";
        const std::string& error = loaded.error().message;
        EXPECT_EQ(error.find(path + ": "), 0u) << "names the file first: " << error;
        EXPECT_EQ(error.find('\n'), std::string::npos) << "one line: " << error;
        return error;
    }

    test::ScratchFolder m_scratch;
    fs::path m_dir = m_scratch.path();
};

TEST_F(InfoLinksFile, AGoodFileLoadsBothLinks)
{
    const auto path = (m_dir / "Links.json").string();
    std::ofstream(path)
        << R"({"webSite": "https://a.example.org/x", "storePage": "http://b.example.org:81"})";
    auto loaded = loadInfoLinks(path);
    ASSERT_TRUE(loaded) << loaded.error().message;
    EXPECT_EQ(loaded->webSite, "https://a.example.org/x");
    EXPECT_EQ(loaded->storePage, "http://b.example.org:81");
}

TEST(InfoLinks, TextIsReadLikeAFile)
{
    auto links = parseInfoLinks(
        R"({"webSite": "https://a.example.org", "storePage": "http://b.example.org"})", "inline");
    ASSERT_TRUE(links) << links.error().message;
    EXPECT_EQ(links->storePage, "http://b.example.org");
    auto bad = parseInfoLinks(R"({"webSite": "https://a.example.org"})", "inline");
    ASSERT_FALSE(bad);
    EXPECT_EQ(bad.error().message, "inline: \"storePage\" is missing");
}

TEST_F(InfoLinksFile, ADeviceOrAnOversizedFileIsNotRead)
{
    auto device = loadInfoLinks("/dev/zero");
    ASSERT_FALSE(device);
    EXPECT_EQ(device.error().message, "/dev/zero: cannot be read (missing or not a file)");
    const auto path = (m_dir / "Links.json").string();
    std::ofstream(path, std::ios::binary) << std::string(kMaxInfoLinksBytes + 1, ' ');
    auto big = loadInfoLinks(path);
    ASSERT_FALSE(big);
    EXPECT_EQ(big.error().message, path + ": too large for a links file (at most 65536 bytes)");
}

TEST_F(InfoLinksFile, AMissingFileOrAFolderIsNamed)
{
    for (const fs::path& path : {m_dir / "absent.json", m_dir}) {
        auto loaded = loadInfoLinks(path.string());
        ASSERT_FALSE(loaded) << path;
        const std::string& error = loaded.error().message;
        EXPECT_EQ(error.find(path.string() + ": "), 0u) << error;
        EXPECT_NE(error.find("cannot be read"), std::string::npos) << error;
    }
}

TEST_F(InfoLinksFile, EachFaultIsSaid)
{
    const std::string good = R"("storePage": "https://example.org")";
    EXPECT_NE(errorFor("").find("not valid JSON"), std::string::npos);
    EXPECT_NE(errorFor("{\"webSite\": ").find("not valid JSON"), std::string::npos);
    EXPECT_NE(errorFor(R"(["http://example.org"])").find("top level must be an object"), std::string::npos);
    EXPECT_NE(errorFor("{" + good + "}").find("\"webSite\" is missing"), std::string::npos);
    EXPECT_NE(errorFor(R"({"webSite": "http://example.org"})").find("\"storePage\" is missing"),
              std::string::npos);
    EXPECT_NE(errorFor(R"({"webSite": 7, )" + good + "}").find("\"webSite\" must be a string"),
              std::string::npos);
    EXPECT_NE(errorFor(R"({"webSite": null, )" + good + "}").find("\"webSite\" must be a string"),
              std::string::npos);
    EXPECT_NE(errorFor(R"({"webSite": "http://example.org", "storePage": ["x"]})")
                  .find("\"storePage\" must be a string"),
              std::string::npos);
    for (const char* notWeb : {"example.org/catalogs", "ftp://example.org/", "/catalogs/bsc5.html", "http://",
                               "https:///path", "http://exa mple.org/", "", "mailto:a@example.org"}) {
        const std::string text = std::string(R"({"webSite": ")") + notWeb + "\", " + good + "}";
        EXPECT_NE(errorFor(text).find("\"webSite\" must be an absolute http or https URL"), std::string::npos)
            << notWeb;
    }
    EXPECT_NE(errorFor(R"({"webSite": "http://example.org", "storePage": "github.com/x"})")
                  .find("\"storePage\" must be an absolute http or https URL"),
              std::string::npos);
    // A control character inside the value does not break the message's single line.
    EXPECT_NE(errorFor(R"({"webSite": "http://example.org/\n", )" + good + "}").find("absolute"),
              std::string::npos);
    EXPECT_EQ(errorFor(R"({"webSite": "HTTPS://Example.org", )" + good + "}"), "(loaded)");
}

} // namespace
} // namespace dazed

// The settings file on disk: where it is, what a bad one does, and that nothing the user could
// still fix is ever written over.

#include "app/SettingsStore.h"

#include "tests/support/ScratchFolder.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace dazed {
namespace {

namespace fs = std::filesystem;

std::string contentOf(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

void write(const fs::path& path, const std::string& text)
{
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

Settings placeInParis()
{
    Settings s;
    s.layerShown = true;
    s.place = GeographicPlace{48.85, 2.35, 35};
    return s;
}

class SettingsFile : public ::testing::Test {
protected:
    fs::path file() const { return m_scratch / "config" / "dazed" / "settings.json"; }
    SettingsStore store()
    {
        return SettingsStore(file().string(),
                             [this](const std::string& line) { m_warnings.push_back(line); });
    }

    test::ScratchFolder m_scratch;
    std::vector<std::string> m_warnings;
};

TEST(SettingsPath, FollowsXdgConfigHomeThenHome)
{
    EXPECT_EQ(settingsPathFor("/x/config", "/home/u"), "/x/config/dazed/settings.json");
    EXPECT_EQ(settingsPathFor(nullptr, "/home/u"), "/home/u/.config/dazed/settings.json");
    // An empty or relative XDG_CONFIG_HOME is not one.
    EXPECT_EQ(settingsPathFor("", "/home/u"), "/home/u/.config/dazed/settings.json");
    EXPECT_EQ(settingsPathFor("config", "/home/u"), "/home/u/.config/dazed/settings.json");
    EXPECT_EQ(settingsPathFor(nullptr, nullptr), "");
    EXPECT_EQ(settingsPathFor("", "relative"), "");
}

TEST(SettingsPath, ComesFromTheEnvironment)
{
    test::ScratchFolder scratch;
    ::setenv("XDG_CONFIG_HOME", scratch.path().c_str(), 1);
    EXPECT_EQ(settingsPathFromEnvironment(), (scratch / "dazed" / "settings.json").string());
    ::unsetenv("XDG_CONFIG_HOME");
}

TEST_F(SettingsFile, AMissingFileIsAFirstRunWithDefaultsAndNoWord)
{
    auto s = store();
    EXPECT_EQ(s.load(), Settings{});
    EXPECT_TRUE(m_warnings.empty());
    EXPECT_FALSE(fs::exists(file())) << "reading writes nothing";
}

TEST_F(SettingsFile, WhatIsSavedIsLoadedByTheNextRun)
{
    {
        auto s = store();
        s.load();
        ASSERT_TRUE(s.save(placeInParis()));
    }
    auto next = store();
    EXPECT_EQ(next.load(), placeInParis());
    EXPECT_TRUE(m_warnings.empty());
}

TEST_F(SettingsFile, NothingIsWrittenWhenNothingChanged)
{
    const std::string text =
        "{ \"layer\": true, \"place\": {\"latitude\": 48.85, \"longitude\": 2.35, \"height\": 35}}";
    write(file(), text);
    auto s = store();
    s.load();
    EXPECT_TRUE(s.save(placeInParis()));
    EXPECT_EQ(contentOf(file()), text) << "the user's own spelling of the same settings is kept";
}

TEST_F(SettingsFile, ABadFileGivesOneWarningTheDefaultsAndIsKeptAsideBeforeWriting)
{
    for (const std::string& bad : std::vector<std::string>{
             "not json at all", R"({"nightMode": "on"})", R"({"place": {"latitude": 123, "longitude": 0}})",
             std::string(100, '[') + std::string(100, ']'), "{\"layer\": true"}) {
        SCOPED_TRACE(bad);
        fs::remove(fs::path(file().string() + ".bad"));
        write(file(), bad);
        m_warnings.clear();
        auto s = store();
        EXPECT_EQ(s.load(), Settings{});
        ASSERT_EQ(m_warnings.size(), 1u);
        EXPECT_EQ(m_warnings[0].rfind(file().string() + ": ", 0), 0u) << m_warnings[0];
        EXPECT_NE(m_warnings[0].find("settings.json.bad"), std::string::npos) << m_warnings[0];
        EXPECT_EQ(m_warnings[0].find('\n'), std::string::npos);
        EXPECT_EQ(contentOf(file()), bad) << "loading leaves the file alone";

        // Saving the defaults again changes nothing, so the user's file stays where it is.
        EXPECT_FALSE(s.save(Settings{}));
        EXPECT_EQ(contentOf(file()), bad);

        ASSERT_TRUE(s.save(placeInParis()));
        EXPECT_EQ(contentOf(file().string() + ".bad"), bad);
        EXPECT_EQ(store().load(), placeInParis());
        EXPECT_EQ(m_warnings.size(), 1u);
    }
}

TEST_F(SettingsFile, AnOversizedFileIsNotReadAndIsKeptAside)
{
    write(file(), "{\"layer\": true, \"pad\": \"" + std::string(kMaxSettingsBytes, 'x') + "\"}");
    auto s = store();
    EXPECT_EQ(s.load(), Settings{});
    ASSERT_EQ(m_warnings.size(), 1u);
    EXPECT_NE(m_warnings[0].find("too large for a settings file"), std::string::npos) << m_warnings[0];
    ASSERT_TRUE(s.save(placeInParis()));
    EXPECT_GT(fs::file_size(file().string() + ".bad"), kMaxSettingsBytes);
}

TEST_F(SettingsFile, AFolderInItsPlaceIsLeftAloneAndSavingSaysSoOnce)
{
    fs::create_directories(file() / "inside");
    auto s = store();
    EXPECT_EQ(s.load(), Settings{});
    ASSERT_EQ(m_warnings.size(), 1u);
    EXPECT_NE(m_warnings[0].find("missing or not a file"), std::string::npos) << m_warnings[0];
    EXPECT_FALSE(s.save(placeInParis()));
    Settings other = placeInParis();
    other.layerShown = false;
    EXPECT_FALSE(s.save(other));
    ASSERT_EQ(m_warnings.size(), 2u) << "a failure to save is said once a run";
    EXPECT_EQ(m_warnings[1].rfind("the settings cannot be remembered in " + file().string() + ": ", 0), 0u)
        << m_warnings[1];
    EXPECT_TRUE(fs::is_directory(file() / "inside"));
    EXPECT_FALSE(fs::exists(file().string() + ".bad"));
}

TEST_F(SettingsFile, AFolderWithoutWritePermissionFailsOnceAndChangesNothing)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "root writes anywhere";
    write(file(), serialiseSettings(placeInParis()));
    fs::permissions(file().parent_path(), fs::perms::owner_read | fs::perms::owner_exec);
    auto s = store();
    EXPECT_EQ(s.load(), placeInParis());
    Settings hidden = placeInParis();
    hidden.layerShown = false;
    EXPECT_FALSE(s.save(hidden));
    EXPECT_FALSE(s.save(Settings{}));
    fs::permissions(file().parent_path(), fs::perms::owner_all);
    ASSERT_EQ(m_warnings.size(), 1u);
    EXPECT_NE(m_warnings[0].find("Permission denied"), std::string::npos) << m_warnings[0];
    EXPECT_EQ(store().load(), placeInParis());
    EXPECT_EQ(s.settings(), placeInParis()) << "what failed to save is not taken as saved";
}

// Holds for root too, whom permissions do not stop: a file where the folder should be.
TEST_F(SettingsFile, AFileWhereTheFolderShouldBeFailsOnceAndIsLeftAlone)
{
    write(m_scratch / "config" / "dazed", "mine");
    auto s = store();
    EXPECT_EQ(s.load(), Settings{});
    EXPECT_TRUE(m_warnings.empty()) << "no settings file is there to complain about";
    EXPECT_FALSE(s.save(placeInParis()));
    Settings night = placeInParis();
    night.nightMode = true;
    EXPECT_FALSE(s.save(night));
    ASSERT_EQ(m_warnings.size(), 1u);
    EXPECT_EQ(m_warnings[0].rfind("the settings cannot be remembered in " + file().string() + ": ", 0), 0u)
        << m_warnings[0];
    EXPECT_EQ(contentOf(m_scratch / "config" / "dazed"), "mine");
}

TEST_F(SettingsFile, AnUnreadableFileIsKeptAsideBeforeWriting)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "root reads anything";
    write(file(), serialiseSettings(placeInParis()));
    fs::permissions(file(), fs::perms::none);
    auto s = store();
    EXPECT_EQ(s.load(), Settings{});
    ASSERT_EQ(m_warnings.size(), 1u);
    Settings night;
    night.nightMode = true;
    ASSERT_TRUE(s.save(night));
    fs::permissions(file().string() + ".bad", fs::perms::owner_read);
    EXPECT_EQ(contentOf(file().string() + ".bad"), serialiseSettings(placeInParis()));
    EXPECT_EQ(store().load(), night);
}

TEST_F(SettingsFile, TheFolderIsMadeWhenMissing)
{
    auto s = store();
    s.load();
    ASSERT_TRUE(s.save(placeInParis()));
    EXPECT_TRUE(fs::is_regular_file(file()));
}

TEST(SettingsStoreWithoutAPath, RemembersNothingAndSaysSoOnceWhenAskedTo)
{
    std::vector<std::string> warnings;
    SettingsStore s({}, [&](const std::string& line) { warnings.push_back(line); });
    EXPECT_EQ(s.load(), Settings{});
    EXPECT_TRUE(s.save(Settings{})) << "the defaults need no file";
    EXPECT_FALSE(s.save(placeInParis()));
    EXPECT_FALSE(s.save(placeInParis()));
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_EQ(warnings[0], "the settings cannot be remembered: neither XDG_CONFIG_HOME nor HOME is set");
}

} // namespace
} // namespace dazed

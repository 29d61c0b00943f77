#include "platform/ui/ResourceDirectory.h"

#include "tests/support/ScratchFolder.h"

#include <fstream>
#include <gtest/gtest.h>

namespace dazed {
namespace {

namespace fs = std::filesystem;

// A scratch folder of this test's own in which fake installed and built trees are laid out.
class ResourceDirectoryLookup : public ::testing::Test {
protected:
    void TearDown() override { unsetenv("DAZED_RESOURCE_DIR"); }

    // An empty file at `relative`, with its folders.
    fs::path touch(const fs::path& relative) const
    {
        const fs::path path = m_dir / relative;
        fs::create_directories(path.parent_path());
        std::ofstream(path).put('\n');
        return path;
    }

    test::ScratchFolder m_scratch;
    fs::path m_dir = m_scratch.path();
};

TEST_F(ResourceDirectoryLookup, AnInstalledProgramUsesShareDazedBesideItsBinFolder)
{
    const fs::path exe = touch("usr/bin/dazed");
    touch("usr/share/dazed/MainWindow_Phone.json");
    EXPECT_EQ(findResourceDirectory(exe), m_dir / "usr/share/dazed");
}

TEST_F(ResourceDirectoryLookup, ABuildTreeProgramUsesTheShareDazedAtTheBuildsTop)
{
    touch("build/share/dazed/MainWindow_Phone.json");
    EXPECT_EQ(findResourceDirectory(touch("build/app/dazed")), m_dir / "build/share/dazed");
    EXPECT_EQ(findResourceDirectory(touch("build/tests/platform/ui/ui_tests")), m_dir / "build/share/dazed");
}

TEST_F(ResourceDirectoryLookup, AFolderWithoutTheInterfaceDescriptionIsPassedOver)
{
    touch("opt/share/dazed/MainWindow_Phone.json");
    touch("opt/dazed/share/dazed/README");
    EXPECT_EQ(findResourceDirectory(touch("opt/dazed/bin/dazed")), m_dir / "opt/share/dazed");
}

TEST_F(ResourceDirectoryLookup, WithNoneFoundTheInstalledPlaceIsNamed)
{
    const fs::path exe = touch("nowhere/bin/dazed");
    EXPECT_EQ(findResourceDirectory(exe), m_dir / "nowhere/share/dazed");
}

TEST_F(ResourceDirectoryLookup, TheEnvironmentOverridesAndThisBuildFindsItsOwn)
{
    setenv("DAZED_RESOURCE_DIR", m_dir.c_str(), 1);
    EXPECT_EQ(resourceDirectory(), m_dir.string());
    unsetenv("DAZED_RESOURCE_DIR");
    // This test program lies in the build tree, whose share/dazed holds the source's resources.
    const fs::path found = resourceDirectory();
    EXPECT_TRUE(fs::is_regular_file(found / "MainWindow_Phone.json")) << found;
    EXPECT_TRUE(fs::equivalent(found, DAZED_RESOURCE_DIR)) << found;
    EXPECT_FALSE(runningExecutable().empty());
}

} // namespace
} // namespace dazed

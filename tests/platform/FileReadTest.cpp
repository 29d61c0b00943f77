#include "platform/FileRead.h"

#include "tests/support/ScratchFolder.h"

#include <fstream>
#include <gtest/gtest.h>
#include <string>

namespace dazed {
namespace {

void write(const std::filesystem::path& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

TEST(ReadWholeFile, GivesEveryByteAsWritten)
{
    test::ScratchFolder scratch;
    // Line ends, a NUL and bytes above 0x7F come back untouched: the file is read as bytes.
    const std::string bytes = std::string("line\r\nnext\n") + '\0' + "\xC3\xA9\xFF" + "end";
    write(scratch / "a.json", bytes);
    auto read = readWholeFile((scratch / "a.json").string(), 1024, "a test file");
    ASSERT_TRUE(read) << read.error().message;
    EXPECT_EQ(read.value(), bytes);

    write(scratch / "empty.json", "");
    auto empty = readWholeFile((scratch / "empty.json").string(), 1024, "a test file");
    ASSERT_TRUE(empty) << empty.error().message;
    EXPECT_EQ(empty.value(), "");
}

TEST(ReadWholeFile, AFileAtTheLimitIsReadAndOneByteMoreIsRefused)
{
    test::ScratchFolder scratch;
    const auto path = (scratch / "limit.json").string();
    write(path, std::string(100, 'x'));
    auto atLimit = readWholeFile(path, 100, "a test file");
    ASSERT_TRUE(atLimit) << atLimit.error().message;
    EXPECT_EQ(atLimit.value().size(), 100u);

    write(path, std::string(101, 'x'));
    auto over = readWholeFile(path, 100, "a test file");
    ASSERT_FALSE(over);
    EXPECT_EQ(over.error().message, path + ": too large for a test file (at most 100 bytes)");
}

TEST(ReadWholeFile, AMissingFileAFolderOrADeviceIsNotRead)
{
    test::ScratchFolder scratch;
    for (const std::string& path :
         {(scratch / "absent.json").string(), scratch.path().string(), std::string("/dev/zero")}) {
        auto read = readWholeFile(path, 1024, "a test file");
        ASSERT_FALSE(read) << path;
        EXPECT_EQ(read.error().message, path + ": cannot be read (missing or not a file)");
    }
}

} // namespace
} // namespace dazed

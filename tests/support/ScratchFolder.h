#pragma once

// A folder of one test's own for the files it writes, removed when the test is done.
//
// CTest runs many test processes at once, so a fixed name under the temporary folder would let one
// test truncate another's file. The folder is made by mkdtemp under GoogleTest's temporary folder
// (which follows TEST_TMPDIR and TMPDIR) and carries the test's name to make a leftover traceable.

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <stdexcept>
#include <string>
#include <system_error>
#include <vector>

namespace dazed::test {

class ScratchFolder {
public:
    ScratchFolder()
    {
        std::string stem = "dazed-";
        if (const auto* info = ::testing::UnitTest::GetInstance()->current_test_info()) {
            stem += info->test_suite_name();
            stem += '.';
            stem += info->name();
        } else {
            stem += "scratch";
        }
        for (char& c : stem)
            if (c == '/')
                c = '_';
        const std::string pattern =
            (std::filesystem::path(::testing::TempDir()) / (stem + "-XXXXXX")).string();
        std::vector<char> name(pattern.begin(), pattern.end());
        name.push_back('\0');
        if (!::mkdtemp(name.data()))
            throw std::system_error(errno, std::generic_category(), "mkdtemp " + pattern);
        m_path = name.data();
    }
    ~ScratchFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::filesystem::path& path() const { return m_path; }
    std::filesystem::path operator/(const std::filesystem::path& relative) const { return m_path / relative; }

private:
    std::filesystem::path m_path;
};

} // namespace dazed::test

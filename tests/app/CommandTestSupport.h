#pragma once

// A fixture for tests that run one `dazed` subcommand as the program would, in a scratch folder
// of the test's own, with what it prints kept apart.

#include "app/Cli.h"
#include "tests/support/ScratchFolder.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <sstream>
#include <string>
#include <variant>
#include <vector>

namespace dazed::test {

class CommandTest : public ::testing::Test {
protected:
    explicit CommandTest(std::string subcommand)
        : m_subcommand(std::move(subcommand))
    {
    }

    // The exit status of `dazed <subcommand> args...`; its output is in m_out and m_err.
    int run(std::vector<std::string> args)
    {
        args.insert(args.begin(), {"dazed", m_subcommand});
        m_out.str("");
        m_err.str("");
        return std::get<int>(runCli(args, m_out, m_err));
    }
    [[nodiscard]] std::string path(const std::string& name) const { return (m_dir / name).string(); }
    [[nodiscard]] std::size_t filesLeft() const
    {
        return static_cast<std::size_t>(
            std::distance(std::filesystem::directory_iterator(m_dir), std::filesystem::directory_iterator()));
    }
    // `dazed <subcommand> args...` refused with exit code 2 and one line naming `option`, leaving no
    // file behind.
    void expectRefused(const std::vector<std::string>& args, const std::string& option)
    {
        EXPECT_EQ(run(args), 2) << option;
        const std::string err = m_err.str();
        EXPECT_NE(err.find(option), std::string::npos) << err;
        EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
        EXPECT_EQ(filesLeft(), 0u) << option;
    }
    static std::string slurp(const std::string& p)
    {
        std::ifstream in(p, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    std::string m_subcommand;
    ScratchFolder m_scratch;
    std::filesystem::path m_dir = m_scratch.path();
    std::ostringstream m_out;
    std::ostringstream m_err;
};

} // namespace dazed::test

#pragma once

// Collects what the framework reports through UIApplication::report while it lives, in place of
// the program's reporter, and leaves no reporter behind.

#include "platform/ui/UIApplication.h"

#include <algorithm>
#include <string>
#include <vector>

namespace dazed::test {

class ReportedProblems {
public:
    ReportedProblems()
    {
        UIApplication::sharedApplication().setReporter(
            [this](const Error& error) { m_messages.push_back(error.message); });
    }
    ~ReportedProblems() { UIApplication::sharedApplication().setReporter(nullptr); }
    ReportedProblems(const ReportedProblems&) = delete;
    ReportedProblems& operator=(const ReportedProblems&) = delete;

    [[nodiscard]] const std::vector<std::string>& messages() const { return m_messages; }
    // Whether some message mentions `text`.
    [[nodiscard]] bool mention(const std::string& text) const
    {
        return std::any_of(m_messages.begin(), m_messages.end(),
                           [&](const std::string& m) { return m.find(text) != std::string::npos; });
    }

private:
    std::vector<std::string> m_messages;
};

} // namespace dazed::test

#pragma once

#include <optional>
#include <string>

namespace dazed {

// A URL made from its text. Only the scheme is checked: text without one makes no URL.
class NSURL {
public:
    static std::optional<NSURL> URLWithString(const std::string& text);
    [[nodiscard]] const std::string& absoluteString() const { return m_text; }

private:
    explicit NSURL(std::string text)
        : m_text(std::move(text))
    {
    }
    std::string m_text;
};

} // namespace dazed

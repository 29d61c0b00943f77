#include "platform/FileRead.h"

#include <filesystem>
#include <fstream>
#include <sstream>

namespace dazed {

Result<std::string> readWholeFile(const std::string& path, std::uintmax_t maxBytes, std::string_view what)
{
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec))
        return failure(path + ": cannot be read (missing or not a file)");
    const auto bytes = std::filesystem::file_size(path, ec);
    if (ec)
        return failure(path + ": cannot be read");
    if (bytes > maxBytes)
        return failure(path + ": too large for " + std::string(what) + " (at most " +
                       std::to_string(maxBytes) + " bytes)");
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return failure(path + ": cannot be read");
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

} // namespace dazed

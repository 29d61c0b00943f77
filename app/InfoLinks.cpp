#include "app/InfoLinks.h"

#include "platform/FileRead.h"

#include <algorithm>
#include <cctype>
#include <nlohmann/json.hpp>

namespace dazed {

namespace {

constexpr std::string_view kSchemeSeparator = "://";

std::string lowercase(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// An absolute http or https URL with a host, and nothing in it a browser would have to guess at
// (spaces, control characters).
bool isAbsoluteWebURL(const std::string& url)
{
    const auto separator = url.find(kSchemeSeparator);
    if (separator == std::string::npos)
        return false;
    const std::string scheme = lowercase(url.substr(0, separator));
    if (scheme != "http" && scheme != "https")
        return false;
    const bool printable =
        std::all_of(url.begin(), url.end(), [](unsigned char c) { return c > 0x20 && c != 0x7F; });
    return printable && !hostName(url).empty();
}

} // namespace

std::string hostName(const std::string& url)
{
    const auto separator = url.find(kSchemeSeparator);
    if (separator == std::string::npos)
        return {};
    const auto start = separator + kSchemeSeparator.size();
    const auto end = url.find_first_of("/:?#", start);
    return url.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

std::string webSiteButtonTitle(const InfoLinks& links)
{
    return std::string(6, ' ') + hostName(links.webSite);
}

Result<InfoLinks> loadInfoLinks(const std::string& path)
{
    const auto text = readWholeFile(path, kMaxInfoLinksBytes, "a links file");
    if (!text)
        return text.error();
    return parseInfoLinks(text.value(), path);
}

Result<InfoLinks> parseInfoLinks(std::string_view text, const std::string& source)
{
    const auto doc = nlohmann::json::parse(text, nullptr, /*allow_exceptions=*/false);
    if (doc.is_discarded())
        return failure(source + ": is not valid JSON");
    if (!doc.is_object())
        return failure(source + ": the top level must be an object");

    InfoLinks links;
    for (auto [key, field] :
         {std::pair{"webSite", &links.webSite}, std::pair{"storePage", &links.storePage}}) {
        const auto it = doc.find(key);
        if (it == doc.end())
            return failure(source + ": \"" + key + "\" is missing");
        if (!it->is_string())
            return failure(source + ": \"" + key + "\" must be a string");
        *field = it->get<std::string>();
        if (!isAbsoluteWebURL(*field))
            return failure(source + ": \"" + key + "\" must be an absolute http or https URL with a host");
    }
    return links;
}

} // namespace dazed

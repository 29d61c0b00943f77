// The links file of the information page: parsed from the bytes; accepted links must be what the
// page can use (an absolute http or https URL with a host each), a refusal one line naming the file.

#include "FuzzTarget.h"
#include "app/InfoLinks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace dazed;
    const auto links = parseInfoLinks(fuzz::bytes(data, size), "Links.json");
    if (!links) {
        const std::string& message = links.error().message;
        fuzz::require(message.rfind("Links.json: ", 0) == 0, "the message names the file");
        fuzz::require(message.find('\n') == std::string::npos, "the message is one line");
        return 0;
    }
    fuzz::require(!hostName(links->webSite).empty() && !hostName(links->storePage).empty(),
                  "accepted links have a host");
    fuzz::require(webSiteButtonTitle(links.value()).size() > 6, "the button title names the host");
    return 0;
}

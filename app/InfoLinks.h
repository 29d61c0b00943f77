#pragma once

// The two addresses the information page links to, read from resources/Links.json:
//
//   { "webSite": "http://tdc-www.harvard.edu/catalogs/bsc5.html",
//     "storePage": "https://github.com/ofrohn/d3-celestial" }
//
// The web site is where the chart's stars come from; the store page is the project whose
// constellation figures the chart draws.

#include "platform/Result.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

namespace dazed {

struct InfoLinks {
    std::string webSite;   // opened by the button at the foot of the page
    std::string storePage; // opened by the invisible button over the logo
};

// The host part of an absolute URL: what lies between "://" and the next '/', ':', '?' or '#'
// ("http://example.org:8080/a" gives "example.org"); empty when there is no "://".
std::string hostName(const std::string& url);

// The web-site button's title: six spaces, which leave room for the emblem at the left end of the
// button's picture, then the web site's host name.
std::string webSiteButtonTitle(const InfoLinks& links);

// The links in `path`, or a one-line message naming the file and what is wrong with it: missing,
// not JSON, a member missing or not a string, or one that is not an absolute http or https URL.
Result<InfoLinks> loadInfoLinks(const std::string& path);
// The same for the text of a links file; messages name it as `source`.
Result<InfoLinks> parseInfoLinks(std::string_view text, const std::string& source);

// The largest links file read; the shipped one is about a hundred bytes.
inline constexpr std::uintmax_t kMaxInfoLinksBytes = 64 * 1024;

} // namespace dazed

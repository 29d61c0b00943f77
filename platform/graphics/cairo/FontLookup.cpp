#include "platform/graphics/cairo/FontLookup.h"

#include <fontconfig/fontconfig.h>
#include <map>
#include <memory>
#include <mutex>

namespace dazed {

namespace {
struct PatternDeleter {
    void operator()(FcPattern* p) const { FcPatternDestroy(p); }
};
using PatternPtr = std::unique_ptr<FcPattern, PatternDeleter>;

std::string matchFamily(const std::string& name)
{
    PatternPtr pattern(FcNameParse(reinterpret_cast<const FcChar8*>(name.c_str())));
    if (!pattern)
        return name;
    FcConfigSubstitute(nullptr, pattern.get(), FcMatchPattern);
    FcDefaultSubstitute(pattern.get());
    FcResult result = FcResultNoMatch;
    PatternPtr match(FcFontMatch(nullptr, pattern.get(), &result));
    if (!match || result != FcResultMatch)
        return name;
    FcChar8* family = nullptr;
    if (FcPatternGetString(match.get(), FC_FAMILY, 0, &family) != FcResultMatch || !family)
        return name;
    return reinterpret_cast<const char*>(family);
}
} // namespace

std::string resolveFontFamily(const std::string& name)
{
    // A font is selected several times a frame; the fontconfig match costs far more than a frame.
    static std::mutex mutex;
    static std::map<std::string, std::string> cache;
    std::lock_guard lock(mutex);
    auto it = cache.find(name);
    if (it == cache.end())
        it = cache.emplace(name, matchFamily(name)).first;
    return it->second;
}

} // namespace dazed

#include "platform/ui/ResourceDirectory.h"

#include <cstdlib>
#include <system_error>

namespace dazed {

namespace {

namespace fs = std::filesystem;

// A file every resource folder holds: the phone's main interface description.
constexpr const char* kMarkerFile = "MainWindow_Phone.json";

bool holdsResources(const fs::path& folder)
{
    std::error_code error;
    return fs::is_regular_file(folder / kMarkerFile, error);
}

} // namespace

fs::path findResourceDirectory(const fs::path& executable)
{
    const fs::path binFolder = executable.parent_path();
    for (fs::path folder = binFolder; !folder.empty(); folder = folder.parent_path()) {
        const fs::path candidate = folder / "share" / "dazed";
        if (holdsResources(candidate))
            return candidate;
        if (folder == folder.root_path() || folder == folder.parent_path())
            break;
    }
    return binFolder.parent_path() / "share" / "dazed";
}

fs::path runningExecutable()
{
    std::error_code error;
    fs::path path = fs::read_symlink("/proc/self/exe", error);
    return error ? fs::path() : path;
}

std::string resourceDirectory()
{
    if (const char* dir = std::getenv("DAZED_RESOURCE_DIR"); dir && *dir)
        return dir;
    const fs::path executable = runningExecutable();
    // Without /proc the current folder is the last guess: a resources/ beside the caller.
    return executable.empty() ? std::string("resources") : findResourceDirectory(executable).string();
}

} // namespace dazed

#pragma once

// Where the application's resources are: the interface descriptions, Links.json and the pictures.
// Nothing about the machine that built the program is compiled in; the folder is found from the
// running executable's own path, so that the same binary works from the build tree and installed.

#include <filesystem>
#include <string>

namespace dazed {

// $DAZED_RESOURCE_DIR when it is set and not empty; otherwise findResourceDirectory() of the
// running executable.
std::string resourceDirectory();

// The resource folder for an executable at `executable` (an absolute path): the first
// "share/dazed" holding MainWindow_Phone.json in the executable's folder or one of its ancestors.
// Installed, that is <prefix>/share/dazed beside <prefix>/bin/dazed; in a build tree, the
// share/dazed that the build puts at its top (every program of the build lies below it). When none
// is found, <executable's folder>/../share/dazed, the installed place, so that messages name it.
std::filesystem::path findResourceDirectory(const std::filesystem::path& executable);

// The running program's file with symbolic links resolved (/proc/self/exe); empty when unknown.
std::filesystem::path runningExecutable();

} // namespace dazed

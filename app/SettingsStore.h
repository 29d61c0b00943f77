#pragma once

// The settings file on disk: $XDG_CONFIG_HOME/dazed/settings.json, or ~/.config/dazed/ without
// it. The file is read once at start; it is written (whole, through a temporary file renamed over
// it) only when the settings change, so a run that changes nothing leaves it untouched.
//
// A file that cannot be used (unreadable, not JSON, oversized, of the wrong shape, a folder in its
// place) gives one warning and the defaults. It is the user's and may still be fixed by hand: before
// the first write it is kept aside as settings.json.bad, never written over.

#include "app/Settings.h"

#include <functional>
#include <string>

namespace dazed {

// The settings file for the environment given: an absolute XDG_CONFIG_HOME, else HOME's .config
// (the XDG rule: a relative or empty XDG_CONFIG_HOME is ignored). Empty when neither is usable;
// then nothing is remembered. Either argument may be null.
std::string settingsPathFor(const char* xdgConfigHome, const char* home);
// The same for this process's environment.
std::string settingsPathFromEnvironment();

class SettingsStore {
public:
    // One line for the user, without a trailing newline and without the program's name.
    using Warn = std::function<void(const std::string&)>;

    // `path` empty: nothing is read or written. Nothing happens until load().
    SettingsStore(std::string path, Warn warn);

    // Reads the file: the settings it holds, or the defaults (after one warning when the file is
    // there but cannot be used; a missing file is a first run and says nothing).
    const Settings& load();
    // What was last read or written.
    [[nodiscard]] const Settings& settings() const { return m_settings; }
    [[nodiscard]] const std::string& path() const { return m_path; }

    // Writes `next` when it differs from what the file holds, creating the folder if need be and
    // first keeping an unusable file aside. A failure is said once a run (later ones are quiet)
    // and changes nothing on disk; the result says whether `next` is now in the file.
    bool save(const Settings& next);

private:
    std::string m_path;
    Warn m_warn;
    Settings m_settings;
    bool m_keepAside{false}; // the file there is the user's unusable one
    bool m_saveFailureSaid{false};
};

} // namespace dazed

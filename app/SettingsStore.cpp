#include "app/SettingsStore.h"

#include "app/AtomicFile.h"
#include "platform/FileRead.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace dazed {

namespace fs = std::filesystem;

std::string settingsPathFor(const char* xdgConfigHome, const char* home)
{
    fs::path folder;
    if (xdgConfigHome && fs::path(xdgConfigHome).is_absolute())
        folder = xdgConfigHome;
    else if (home && fs::path(home).is_absolute())
        folder = fs::path(home) / ".config";
    else
        return {};
    return (folder / "dazed" / "settings.json").string();
}

std::string settingsPathFromEnvironment()
{
    return settingsPathFor(std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME"));
}

SettingsStore::SettingsStore(std::string path, Warn warn)
    : m_path(std::move(path))
    , m_warn(std::move(warn))
{
}

const Settings& SettingsStore::load()
{
    m_settings = Settings{};
    m_keepAside = false;
    if (m_path.empty())
        return m_settings;
    std::error_code ec;
    const auto status = fs::symlink_status(m_path, ec);
    if (status.type() == fs::file_type::not_found)
        return m_settings;
    const auto text = readWholeFile(m_path, kMaxSettingsBytes, "a settings file");
    std::string problem;
    if (!text) {
        problem = text.error().message;
    } else {
        auto parsed = parseSettings(text.value());
        if (auto* settings = std::get_if<Settings>(&parsed)) {
            m_settings = *settings;
            return m_settings;
        }
        problem = m_path + ": " + std::get<std::string>(parsed);
    }
    // Only a file is moved aside; a folder in its place is left alone and saving fails.
    m_keepAside = fs::is_regular_file(fs::symlink_status(m_path, ec)) || fs::is_symlink(status);
    m_warn(problem + "; the settings start from their defaults" +
           (m_keepAside ? " (the file is kept as " + m_path + ".bad when they change)" : std::string()));
    return m_settings;
}

bool SettingsStore::save(const Settings& next)
{
    if (next == m_settings && !m_keepAside)
        return true;
    if (next == m_settings)
        return false; // nothing new to say; the user's file stays as it is
    const auto fail = [this](const std::string& why) {
        if (!m_saveFailureSaid)
            m_warn(m_path.empty()
                       ? "the settings cannot be remembered: neither XDG_CONFIG_HOME nor HOME is set"
                       : "the settings cannot be remembered in " + m_path + ": " + why);
        m_saveFailureSaid = true;
        return false;
    };
    if (m_path.empty())
        return fail({});
    std::error_code ec;
    fs::create_directories(fs::path(m_path).parent_path(), ec);
    if (ec)
        return fail(ec.message());
    if (m_keepAside) {
        fs::rename(m_path, m_path + ".bad", ec);
        if (ec)
            return fail("the unusable file could not be kept aside (" + ec.message() + ")");
        m_keepAside = false;
    }
    if (const auto written = writeFileAtomically(m_path, serialiseSettings(next)); !written)
        return fail(written.error().message);
    m_settings = next;
    return true;
}

} // namespace dazed

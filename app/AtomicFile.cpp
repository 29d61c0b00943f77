#include "app/AtomicFile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace dazed {

namespace {
std::string lastError()
{
    return std::strerror(errno);
}

// Closes the descriptor and removes the temporary file unless it was handed over by rename.
class TempFile {
public:
    explicit TempFile(std::string pattern)
        : m_name(pattern.begin(), pattern.end())
    {
        m_name.push_back('\0');
        m_fd = ::mkstemp(m_name.data());
    }
    ~TempFile()
    {
        if (m_fd >= 0)
            ::close(m_fd);
        if (!m_kept)
            ::unlink(m_name.data());
    }
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;

    [[nodiscard]] int fd() const { return m_fd; }
    [[nodiscard]] const char* name() const { return m_name.data(); }
    bool close()
    {
        const int fd = m_fd;
        m_fd = -1;
        return ::close(fd) == 0;
    }
    void keep() { m_kept = true; }

private:
    std::vector<char> m_name;
    int m_fd{-1};
    bool m_kept{false};
};
} // namespace

Result<void> writeFileAtomically(const std::string& path, std::string_view bytes)
{
    const std::filesystem::path target(path);
    if (target.filename().empty())
        return failure("not a file name");
    const std::filesystem::path folder = target.parent_path();
    const std::string pattern = (folder.empty() ? std::filesystem::path(".") : folder).string() + "/." +
                                target.filename().string() + ".XXXXXX";
    TempFile temp(pattern);
    if (temp.fd() < 0)
        return failure(lastError());
    // mkstemp makes the file private; a chart is an ordinary file.
    ::fchmod(temp.fd(), 0644);
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(temp.fd(), bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return failure(lastError());
        }
        done += static_cast<std::size_t>(n);
    }
    if (!temp.close())
        return failure(lastError());
    if (::rename(temp.name(), path.c_str()) != 0)
        return failure(lastError());
    temp.keep();
    return {};
}

} // namespace dazed

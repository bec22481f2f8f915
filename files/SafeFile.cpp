#include "files/SafeFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace pagelark {

int SafeFile::SystemCalls::Open(const char* path, int flags, mode_t mode) {
    return ::open(path, flags, mode);
}
ssize_t SafeFile::SystemCalls::Write(int fd, const void* data, size_t size) {
    return ::write(fd, data, size);
}
int SafeFile::SystemCalls::Fsync(int fd) {
    return ::fsync(fd);
}
int SafeFile::SystemCalls::Close(int fd) {
    return ::close(fd);
}
int SafeFile::SystemCalls::Rename(const char* from, const char* to) {
    return ::rename(from, to);
}
int SafeFile::SystemCalls::Unlink(const char* path) {
    return ::unlink(path);
}

SafeFile::SystemCalls& SafeFile::System() {
    static SystemCalls calls;
    return calls;
}

SafeFile::SafeFile(std::string path, SystemCalls& calls)
    : m_calls(calls), m_path(std::move(path)) {}

SafeFile::~SafeFile() {
    Discard();
}

bool SafeFile::Fail(const char* step) {
    m_error = std::string(step) + " " + m_path + ": " + std::strerror(errno);
    Discard();
    return false;
}

void SafeFile::Discard() {
    if (m_fd >= 0) m_calls.Close(m_fd);
    m_fd = -1;
    if (!m_tempPath.empty()) m_calls.Unlink(m_tempPath.c_str());
    m_tempPath.clear();
}

bool SafeFile::Open() {
    static std::atomic<unsigned> counter{0};
    m_error.clear();
    // Beside the target, so the rename stays within one file system.
    for (int attempt = 0; attempt < 100 && m_fd < 0; ++attempt) {
        m_tempPath = m_path + ".saving-" + std::to_string(::getpid()) + "-" +
                     std::to_string(counter.fetch_add(1));
        m_fd = m_calls.Open(m_tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (m_fd < 0 && errno != EEXIST) {
            m_tempPath.clear();
            return Fail("cannot create");
        }
    }
    if (m_fd < 0) {
        m_tempPath.clear();
        return Fail("cannot create");
    }
    // A file that is replaced keeps its permissions.
    struct stat existing {};
    if (::stat(m_path.c_str(), &existing) == 0) ::fchmod(m_fd, existing.st_mode & 07777);
    return true;
}

bool SafeFile::Write(std::string_view bytes) {
    if (m_fd < 0) {
        errno = EBADF;
        return Fail("cannot write");
    }
    while (!bytes.empty()) {
        const ssize_t written = m_calls.Write(m_fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) continue;
            return Fail("cannot write");
        }
        bytes.remove_prefix(static_cast<size_t>(written));
    }
    return true;
}

bool SafeFile::Commit() {
    if (m_fd < 0) {
        errno = EBADF;
        return Fail("cannot write");
    }
    // On disk before it replaces the old file, or a crash soon after the
    // save could leave an empty file where the list was.
    if (m_calls.Fsync(m_fd) != 0) return Fail("cannot write");
    const int fd = m_fd;
    m_fd = -1;
    if (m_calls.Close(fd) != 0) return Fail("cannot write");
    if (m_calls.Rename(m_tempPath.c_str(), m_path.c_str()) != 0) return Fail("cannot replace");
    m_tempPath.clear();
    return true;
}

bool WriteFileSafely(const std::string& path, std::string_view bytes, std::string* error) {
    SafeFile file(path);
    const bool ok = file.Open() && file.Write(bytes) && file.Commit();
    if (!ok && error != nullptr) *error = file.Error();
    return ok;
}

}  // namespace pagelark

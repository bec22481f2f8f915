#include "files/SafeFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

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

SafeFile::SafeFile(std::string path, SystemCalls& calls, Access access)
    : m_calls(calls), m_access(access), m_path(std::move(path)) {}

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

bool SafeFile::ResolveTarget() {
    m_target = m_path;
    struct stat link {};
    if (::lstat(m_path.c_str(), &link) != 0 || !S_ISLNK(link.st_mode)) return true;
    // Renaming over the link would turn it into a file of its own and leave
    // the file it points to as it was: the user's link would stop working.
    const std::unique_ptr<char, decltype(&std::free)> resolved(::realpath(m_path.c_str(), nullptr),
                                                               &std::free);
    if (!resolved) return Fail("cannot follow the link");
    m_target = resolved.get();
    return true;
}

bool SafeFile::Open() {
    static std::atomic<unsigned> counter{0};
    m_error.clear();
    if (!ResolveTarget()) return false;
    // The final mode from the start: the open never asks for more than the
    // target allows (the umask may take away more, which fchmod gives back).
    mode_t mode = 0666;
    bool keepMode = true;
    struct stat existing {};
    if (m_access == Access::OwnerOnly) {
        mode = 0600;
    } else if (::stat(m_target.c_str(), &existing) == 0) {
        mode = existing.st_mode & 07777;
    } else {
        keepMode = false;  // a new file: what the umask allows
    }
    // Beside the target, so the rename stays within one file system.
    for (int attempt = 0; attempt < 100 && m_fd < 0; ++attempt) {
        m_tempPath = m_target + ".saving-" + std::to_string(::getpid()) + "-" +
                     std::to_string(counter.fetch_add(1));
        m_fd =
            m_calls.Open(m_tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode & 0777);
        if (m_fd < 0 && errno != EEXIST) {
            m_tempPath.clear();
            return Fail("cannot create");
        }
    }
    if (m_fd < 0) {
        m_tempPath.clear();
        return Fail("cannot create");
    }
    if (keepMode) ::fchmod(m_fd, mode);
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
    if (m_calls.Rename(m_tempPath.c_str(), m_target.c_str()) != 0) return Fail("cannot replace");
    m_tempPath.clear();
    SyncFolder();
    return true;
}

void SafeFile::SyncFolder() {
    // The rename lives in the folder: until the folder is on disk, a crash can
    // bring the old file back. The save itself is done by now, so a folder
    // that cannot be synced (some file systems refuse) is left to the system.
    const size_t slash = m_target.rfind('/');
    const std::string folder = slash == std::string::npos ? "."
                               : slash == 0               ? "/"
                                                          : m_target.substr(0, slash);
    const int fd = m_calls.Open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC, 0);
    if (fd < 0) return;
    m_calls.Fsync(fd);
    m_calls.Close(fd);
}

bool WriteFileSafely(const std::string& path, std::string_view bytes, std::string* error,
                     SafeFile::Access access) {
    SafeFile file(path, SafeFile::System(), access);
    const bool ok = file.Open() && file.Write(bytes) && file.Commit();
    if (!ok && error != nullptr) *error = file.Error();
    return ok;
}

}  // namespace pagelark

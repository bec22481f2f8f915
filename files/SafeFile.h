#pragma once

#include <sys/types.h>

#include <string>
#include <string_view>

namespace pagelark {

// Writes a file so that it is either replaced whole or left as it was: the
// bytes go to a new file beside the target, which is renamed over the target
// only after everything was written and flushed, and the folder is flushed
// after the rename. A writer destroyed before Commit removes its temporary
// file.
//
// The new file is created with its final mode, so it is never readable by
// more people than the target, not even for a moment. A target that is a
// symbolic link is written through: the file the link points to is replaced
// and the link stays; a link that points nowhere is refused.
class SafeFile {
  public:
    enum class Access {
        // A replaced file keeps its mode; a new one gets what the umask allows.
        LikeTarget,
        // Readable and writable by its owner alone (0600), whatever was there.
        OwnerOnly,
    };

    // The system calls a save is made of, each behaving as its POSIX namesake
    // (-1 and errno on failure). Tests put their own in place to see the
    // order of the steps or to make one of them fail.
    class SystemCalls {
      public:
        virtual ~SystemCalls() = default;
        virtual int Open(const char* path, int flags, mode_t mode);
        virtual ssize_t Write(int fd, const void* data, size_t size);
        virtual int Fsync(int fd);
        virtual int Close(int fd);
        virtual int Rename(const char* from, const char* to);
        virtual int Unlink(const char* path);
    };
    // The running system's calls.
    static SystemCalls& System();

    explicit SafeFile(std::string path, SystemCalls& calls = System(),
                      Access access = Access::LikeTarget);
    ~SafeFile();
    SafeFile(const SafeFile&) = delete;
    SafeFile& operator=(const SafeFile&) = delete;

    bool Open();
    bool Write(std::string_view bytes);
    bool Commit();

    // Why the last step failed ("" when none did).
    const std::string& Error() const { return m_error; }

  private:
    bool Fail(const char* step);
    void Discard();
    bool ResolveTarget();
    void SyncFolder();

    SystemCalls& m_calls;
    const Access m_access;
    std::string m_path;    // as the caller named it, for the messages
    std::string m_target;  // the file replaced: m_path, or where its link points
    std::string m_tempPath;
    int m_fd = -1;
    std::string m_error;
};

// Open, Write and Commit in one; on failure `error` (when given) says why.
bool WriteFileSafely(const std::string& path, std::string_view bytes, std::string* error = nullptr,
                     SafeFile::Access access = SafeFile::Access::LikeTarget);

}  // namespace pagelark

#pragma once

#include <sys/types.h>

#include <string>
#include <string_view>

namespace pagelark {

// Writes a file so that it is either replaced whole or left as it was: the
// bytes go to a new file beside the target, which is renamed over the target
// only after everything was written and flushed. A writer destroyed before
// Commit removes its temporary file.
class SafeFile {
  public:
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

    explicit SafeFile(std::string path, SystemCalls& calls = System());
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

    SystemCalls& m_calls;
    std::string m_path;
    std::string m_tempPath;
    int m_fd = -1;
    std::string m_error;
};

// Open, Write and Commit in one; on failure `error` (when given) says why.
bool WriteFileSafely(const std::string& path, std::string_view bytes, std::string* error = nullptr);

}  // namespace pagelark

#pragma once

#include <string>
#include <string_view>

namespace pagelark {

// Writes a file so that it is either replaced whole or left as it was: the
// bytes go to a new file beside the target, which is renamed over the target
// only after everything was written and flushed. A writer destroyed before
// Commit removes its temporary file.
class SafeFile {
  public:
    explicit SafeFile(std::string path);
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

    std::string m_path;
    std::string m_tempPath;
    int m_fd = -1;
    std::string m_error;
};

// Open, Write and Commit in one; on failure `error` (when given) says why.
bool WriteFileSafely(const std::string& path, std::string_view bytes, std::string* error = nullptr);

}  // namespace pagelark

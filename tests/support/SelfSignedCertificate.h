#pragma once

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace pagelark {

// A certificate for 127.0.0.1 that no store trusts, made by openssl in a
// folder of its own that goes with the object.
struct SelfSignedCertificate {
    explicit SelfSignedCertificate(const std::string& name)
        : folder(std::filesystem::temp_directory_path() /
                 ("pagelark-" + name + "-" + std::to_string(getpid()))),
          cert((folder / "cert.pem").string()),
          key((folder / "key.pem").string()) {
        std::filesystem::create_directories(folder);
        const std::string command =
            "openssl req -x509 -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes -days 1 "
            "-subj /CN=127.0.0.1 -addext subjectAltName=IP:127.0.0.1 -keyout '" +
            key + "' -out '" + cert + "' >/dev/null 2>&1";
        made = std::system(command.c_str()) == 0;
    }
    ~SelfSignedCertificate() {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }
    SelfSignedCertificate(const SelfSignedCertificate&) = delete;
    SelfSignedCertificate& operator=(const SelfSignedCertificate&) = delete;

    const std::filesystem::path folder;
    const std::string cert;
    const std::string key;
    bool made = false;
};

}  // namespace pagelark

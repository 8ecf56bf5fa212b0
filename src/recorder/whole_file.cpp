#include "whole_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <unistd.h>

namespace vistrace {
namespace {

[[noreturn]] void fail(const std::string& path, int error) {
    throw WriteError("cannot write " + path + ": " + std::strerror(error));
}

// The descriptor is closed and the new file removed however the write ends, unless it was
// renamed into place.
class NewFile {
public:
    explicit NewFile(std::string path) : path_(std::move(path)) {
        // Created as any new file is, with the user's umask, and never over another file.
        fd_ = ::open(path_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    }
    ~NewFile() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
        if (!kept_) {
            ::unlink(path_.c_str());
        }
    }
    NewFile(const NewFile&) = delete;
    NewFile& operator=(const NewFile&) = delete;

    [[nodiscard]] int fd() const { return fd_; }
    [[nodiscard]] const std::string& path() const { return path_; }
    int close() {
        const int result = ::close(fd_);
        fd_ = -1;
        return result;
    }
    void keep() { kept_ = true; }

private:
    std::string path_;
    int fd_ = -1;
    bool kept_ = false;
};

} // namespace

void writeWholeFile(const std::string& path, std::string_view contents) {
    const std::filesystem::path target(path);
    const std::string temporary =
        (target.parent_path() /
         ("." + target.filename().string() + ".vistrace-" + std::to_string(::getpid())))
            .string();
    NewFile file(temporary);
    if (file.fd() < 0) {
        fail(path, errno);
    }
    while (!contents.empty()) {
        const ssize_t written = ::write(file.fd(), contents.data(), contents.size());
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written < 0) {
            fail(path, errno);
        }
        contents.remove_prefix(static_cast<std::size_t>(written));
    }
    if (::fsync(file.fd()) != 0 || file.close() != 0 ||
        std::rename(temporary.c_str(), path.c_str()) != 0) {
        fail(path, errno);
    }
    file.keep();
}

} // namespace vistrace

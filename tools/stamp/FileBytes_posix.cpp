#include "FileBytes.h"

#include "Utf8Text.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <utility>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// A file descriptor, closed when it goes out of scope.
class UniqueDescriptor {
  public:
    explicit UniqueDescriptor(int fd) : fd_(fd) {}
    ~UniqueDescriptor() {
        if (fd_ >= 0)
            close(fd_);
    }
    UniqueDescriptor(const UniqueDescriptor&) = delete;
    UniqueDescriptor& operator=(const UniqueDescriptor&) = delete;

    int get() const { return fd_; }
    explicit operator bool() const { return fd_ >= 0; }
    // The result of close, which reports a write the system had deferred.
    [[nodiscard]] bool closeChecked() { return close(std::exchange(fd_, -1)) == 0; }

  private:
    int fd_;
};

std::uint32_t lastError() {
    return static_cast<std::uint32_t>(errno);
}

} // namespace

bool readFileBytes(const std::wstring& path, std::vector<std::uint8_t>& bytes,
                   std::uint32_t& error) {
    bytes.clear();
    UniqueDescriptor file(open(utf8FromUnits(path).c_str(), O_RDONLY | O_CLOEXEC));
    struct stat status{};
    if (!file || fstat(file.get(), &status) != 0) {
        error = lastError();
        return false;
    }
    // Launchers, icons and settings files are small; anything near 2 GiB is not one of them.
    if (!S_ISREG(status.st_mode) || status.st_size > 0x7FFFFFFF) {
        error = S_ISREG(status.st_mode) ? EFBIG : EISDIR;
        return false;
    }
    bytes.resize(static_cast<std::size_t>(status.st_size));
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t got = read(file.get(), bytes.data() + done, bytes.size() - done);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            error = lastError();
            return false;
        }
        if (got == 0) // shortened meanwhile: keep what there is
            break;
        done += static_cast<std::size_t>(got);
    }
    bytes.resize(done);
    return true;
}

bool writeFileBytes(const std::wstring& path, const std::vector<std::uint8_t>& bytes,
                    std::uint32_t& error) {
    UniqueDescriptor file(
        open(utf8FromUnits(path).c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666));
    if (!file) {
        error = lastError();
        return false;
    }
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t put = write(file.get(), bytes.data() + done, bytes.size() - done);
        if (put < 0 && errno == EINTR)
            continue;
        if (put < 0) {
            error = lastError();
            return false;
        }
        done += static_cast<std::size_t>(put);
    }
    if (fsync(file.get()) != 0 || !file.closeChecked()) {
        error = lastError();
        return false;
    }
    return true;
}

bool replaceFile(const std::wstring& from, const std::wstring& to, std::uint32_t& error) {
    const std::string source = utf8FromUnits(from);
    const std::string target = utf8FromUnits(to);
    // A launcher stamped in place stays as executable as it was.
    struct stat status{};
    if (stat(target.c_str(), &status) == 0)
        chmod(source.c_str(), status.st_mode & 07777);
    if (rename(source.c_str(), target.c_str()) != 0) {
        error = lastError();
        return false;
    }
    return true;
}

void removeFile(const std::wstring& path) {
    unlink(utf8FromUnits(path).c_str());
}

std::wstring systemErrorText(std::uint32_t error) {
    return unitsFromUtf8(std::strerror(static_cast<int>(error))) + L", errno " +
           std::to_wstring(error);
}

#include "io/SystemCalls.h"

#include <fcntl.h>
#include <unistd.h>

namespace stipple::io {

FileHandle& FileHandle::operator=(FileHandle&& other) noexcept {
    if (this != &other) {
        reset(other.release());
    }
    return *this;
}

int FileHandle::release() {
    const int fd = fd_;
    fd_ = -1;
    return fd;
}

void FileHandle::reset(int fd) {
    if (fd_ >= 0) {
        ::close(fd_);
    }
    fd_ = fd;
}

int FileHandle::close() {
    if (fd_ < 0) {
        return 0;
    }
    const int result = ::close(release());
    return result == 0 || errno == EINTR ? 0 : errno;
}

int writeAll(int fd, std::string_view content, off_t offset) {
    std::size_t done = 0;
    while (done < content.size()) {
        const char* from = content.data() + done;
        const std::size_t left = content.size() - done;
        const ssize_t n = retried([&] {
            return offset < 0 ? ::write(fd, from, left)
                              : ::pwrite(fd, from, left, offset + static_cast<off_t>(done));
        });
        if (n < 0) {
            return errno;
        }
        if (n == 0) {
            return EIO;
        }
        done += static_cast<std::size_t>(n);
    }
    return 0;
}

int writeAndSync(int fd, std::string_view content) {
    if (const int err = writeAll(fd, content); err != 0) {
        return err;
    }
    return retried([&] { return ::fsync(fd); }) == 0 ? 0 : errno;
}

int readWhole(int fd, std::string& content) {
    content.clear();
    char buffer[65536];
    for (;;) {
        const ssize_t n = retried(
            [&] { return ::pread(fd, buffer, sizeof buffer, static_cast<off_t>(content.size())); });
        if (n < 0) {
            return errno;
        }
        if (n == 0) {
            return 0;
        }
        content.append(buffer, static_cast<std::size_t>(n));
    }
}

void syncFolder(const std::string& folder) {
    const FileHandle dir(
        retried([&] { return ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); }));
    if (dir) {
        ::fsync(dir.get());
    }
}

std::string folderOf(const std::string& path) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string fileNameOf(const std::string& path) {
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace stipple::io

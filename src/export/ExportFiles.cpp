#include "export/ExportFiles.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace stipple {

namespace {

FileResult failure(const char* what, const std::string& path, int errorNumber,
                   bool openFailed = false) {
    FileResult result;
    result.ok = false;
    result.openFailed = openFailed;
    result.errorNumber = errorNumber;
    result.error = std::string(what) + " \"" + path + "\": " + std::strerror(errorNumber) + ".";
    return result;
}

// Writes all of `content`; returns 0 or the errno of the write that failed.
int writeAll(int fd, std::string_view content) {
    while (!content.empty()) {
        const ssize_t n = ::write(fd, content.data(), content.size());
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return errno;
        }
        if (n == 0) {
            return EIO;
        }
        content.remove_prefix(static_cast<std::size_t>(n));
    }
    return 0;
}

// Writes the content and makes sure it reached the disk; returns 0 or an errno.
int writeAndSync(int fd, std::string_view content, bool regularFile) {
    if (const int err = writeAll(fd, content); err != 0) {
        return err;
    }
    if (regularFile && ::fsync(fd) != 0) {
        return errno;
    }
    return 0;
}

int closeChecked(int fd) {
    return ::close(fd) == 0 ? 0 : errno;
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

// A file that did not exist, next to `target`, open for writing; -1 and errno on failure.
int createTemporaryNextTo(const std::string& target, std::string& tempPath) {
    // Keep the name short enough for any file system that takes the target's own name.
    const std::string stem = folderOf(target) + "/." + fileNameOf(target).substr(0, 200) + ".";
    static unsigned serial = 0;
    for (int attempt = 0; attempt < 100; ++attempt) {
        tempPath = stem + std::to_string(::getpid()) + "-" + std::to_string(++serial) + ".tmp";
        const int fd = ::open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) {
            return fd;
        }
    }
    errno = EEXIST;
    return -1;
}

// Devices and pipes cannot be replaced by renaming; they get the text directly.
FileResult writeInPlace(const std::string& path, std::string_view content) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
    if (fd < 0) {
        return failure("Could not save", path, errno, true);
    }
    int err = writeAll(fd, content);
    const int closeErr = closeChecked(fd);
    if (err == 0) {
        err = closeErr;
    }
    return err == 0 ? FileResult{} : failure("Could not save", path, err);
}

}  // namespace

FileResult replaceFile(const std::string& path, std::string_view content) {
    if (path.empty()) {
        return failure("Could not save", path, ENOENT, true);
    }
    std::string target = path;
    struct stat old {};
    const bool exists = ::stat(path.c_str(), &old) == 0;
    if (exists) {
        if (S_ISDIR(old.st_mode)) {
            return failure("Could not save", path, EISDIR, true);
        }
        if (!S_ISREG(old.st_mode)) {
            return writeInPlace(path, content);
        }
        // Through a symbolic link the file it points to is replaced, not the link.
        if (char* real = ::realpath(path.c_str(), nullptr)) {
            target = real;
            std::free(real);
        }
    } else if (errno != ENOENT) {
        return failure("Could not save", path, errno, true);
    }

    std::string tempPath;
    const int fd = createTemporaryNextTo(target, tempPath);
    if (fd < 0) {
        return failure("Could not save", path, errno, true);
    }
    if (exists) {
        ::fchmod(fd, old.st_mode & 07777);  // a failure here only loses the old mode bits
    }
    int err = writeAndSync(fd, content, true);
    const int closeErr = closeChecked(fd);
    if (err == 0) {
        err = closeErr;
    }
    if (err == 0 && ::rename(tempPath.c_str(), target.c_str()) != 0) {
        err = errno;
    }
    if (err != 0) {
        ::unlink(tempPath.c_str());
        return failure("Could not save", path, err);
    }
    // Make the rename itself durable; the new content is already complete either way.
    if (const int dir = ::open(folderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return {};
}

FileResult appendToFile(const std::string& path, std::string_view content) {
    if (path.empty()) {
        return failure("Could not add to", path, ENOENT, true);
    }
    bool created = false;
    int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC);
    if (fd < 0 && errno == ENOENT) {
        fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        created = fd >= 0;
    }
    if (fd < 0) {
        return failure("Could not add to", path, errno, true);
    }
    struct stat before {};
    const bool regularFile = ::fstat(fd, &before) == 0 && S_ISREG(before.st_mode);

    int err = writeAndSync(fd, content, regularFile);
    if (err != 0 && regularFile && !created) {
        // Cut off what part of the block got in, so the old bytes are all that is left.
        if (::ftruncate(fd, before.st_size) == 0) {
            ::fsync(fd);
        }
    }
    const int closeErr = closeChecked(fd);
    if (err == 0) {
        err = closeErr;
    }
    if (err != 0) {
        if (created) {
            ::unlink(path.c_str());
        }
        return failure("Could not add to", path, err);
    }
    return {};
}

FileResult createMissingFile(const std::string& path, std::string_view content,
                             const FileResult& appendFailure) {
    if (path.empty()) {
        return appendFailure;
    }
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) {
        if (errno == EEXIST) {
            return appendFailure;
        }
        return failure("Could not create", path, errno, true);
    }
    int err = writeAndSync(fd, content, true);
    const int closeErr = closeChecked(fd);
    if (err == 0) {
        err = closeErr;
    }
    if (err != 0) {
        ::unlink(path.c_str());
        return failure("Could not create", path, err);
    }
    return {};
}

FileResult readFileStart(const std::string& path, std::size_t maxBytes, std::string& content) {
    content.clear();
    // Not blocking, so that a pipe chosen by mistake cannot hang the program.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return failure("Could not open", path, errno, true);
    }
    struct stat info {};
    int err = ::fstat(fd, &info) == 0 ? 0 : errno;
    if (err == 0 && S_ISDIR(info.st_mode)) {
        err = EISDIR;
    } else if (err == 0 && !S_ISREG(info.st_mode)) {
        ::close(fd);
        FileResult result = failure("Could not open", path, EINVAL, true);
        result.error = "Could not open \"" + path + "\": it is not an ordinary file.";
        return result;
    }
    while (err == 0 && content.size() < maxBytes) {
        char buffer[16384];
        const std::size_t wanted = std::min(sizeof buffer, maxBytes - content.size());
        const ssize_t n = ::read(fd, buffer, wanted);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            err = errno;
        } else if (n == 0) {
            break;
        } else {
            content.append(buffer, static_cast<std::size_t>(n));
        }
    }
    ::close(fd);
    if (err != 0) {
        content.clear();
        return failure("Could not open", path, err, true);
    }
    return {};
}

}  // namespace stipple

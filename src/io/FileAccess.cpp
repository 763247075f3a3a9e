#include "io/FileAccess.h"

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

// Closes the descriptor it holds when it goes.
struct FileHandle {
    explicit FileHandle(int descriptor) : fd(descriptor) {}
    ~FileHandle() {
        if (fd >= 0) {
            ::close(fd);
        }
    }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    explicit operator bool() const { return fd >= 0; }
    int fd;
};

// Writes the content into the new file `fd` at `tempPath` and renames it over `target`;
// on failure the new file goes and the target stays as it was.
FileResult replaceByRename(int fd, const std::string& tempPath, const std::string& target,
                           const std::string& path, std::string_view content) {
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

// Writes at `offset` until all is written or a write fails; returns the bytes written and
// sets `err` to 0 or the errno of the failure.
std::size_t writeAllAt(int fd, std::string_view content, off_t offset, int& err) {
    std::size_t done = 0;
    err = 0;
    while (done < content.size()) {
        const ssize_t n = ::pwrite(fd, content.data() + done, content.size() - done,
                                   offset + static_cast<off_t>(done));
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            err = n < 0 ? errno : EIO;
            break;
        }
        done += static_cast<std::size_t>(n);
    }
    return done;
}

// The whole content of the open file, read from its first byte; returns 0 or an errno.
int readWhole(int fd, std::string& content) {
    content.clear();
    char buffer[16384];
    for (;;) {
        const ssize_t n = ::pread(fd, buffer, sizeof buffer, static_cast<off_t>(content.size()));
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            return errno;
        }
        if (n == 0) {
            return 0;
        }
        content.append(buffer, static_cast<std::size_t>(n));
    }
}

// Overwrites the open file `fd` (read and write) with the content, keeping its inode, links,
// owner and mode. Its old content is kept first and written back when the new one does not
// get in whole, so a failed save leaves the file as it was.
FileResult rewriteInPlace(int fd, const std::string& path, std::string_view content) {
    std::string old;
    if (const int err = readWhole(fd, old); err != 0) {
        return failure("Could not save", path, err, true);
    }
    int err = 0;
    writeAllAt(fd, content, 0, err);
    if (err == 0 && ::ftruncate(fd, static_cast<off_t>(content.size())) != 0) {
        err = errno;
    }
    if (err == 0 && ::fsync(fd) != 0) {
        err = errno;
    }
    if (err == 0) {
        return {};
    }
    // Put all of the old content back: the write, the cut to the new length or both may
    // have happened.
    int restoreErr = 0;
    writeAllAt(fd, old, 0, restoreErr);
    if (restoreErr == 0 && ::ftruncate(fd, static_cast<off_t>(old.size())) != 0) {
        restoreErr = errno;
    }
    if (restoreErr == 0 && ::fsync(fd) != 0) {
        restoreErr = errno;
    }
    FileResult result = failure("Could not save", path, err);
    if (restoreErr != 0) {
        result.error += std::string(" Its old content could not be put back either (") +
                        std::strerror(restoreErr) + "); the file may be damaged.";
    }
    return result;
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
    struct stat old {};
    if (::stat(path.c_str(), &old) != 0) {
        if (errno != ENOENT) {
            return failure("Could not save", path, errno, true);
        }
        std::string tempPath;
        const int fd = createTemporaryNextTo(path, tempPath);
        if (fd < 0) {
            return failure("Could not save", path, errno, true);
        }
        return replaceByRename(fd, tempPath, path, path, content);
    }
    if (S_ISDIR(old.st_mode)) {
        return failure("Could not save", path, EISDIR, true);
    }
    if (!S_ISREG(old.st_mode)) {
        return writeInPlace(path, content);
    }
    // Through a symbolic link the file it points to is replaced, not the link.
    std::string target = path;
    if (char* real = ::realpath(path.c_str(), nullptr)) {
        target = real;
        std::free(real);
    }

    // The file is written only where writing into it in place is allowed: a write-protected
    // file stays protected, whoever owns the folder.
    if (const FileHandle writable(::open(target.c_str(), O_WRONLY | O_CLOEXEC)); !writable) {
        return failure("Could not save", path, errno, true);
    }
    // A new file renamed into place would split the file from its other links and take the
    // saving user's ownership; such a file, and one in a folder the user cannot write, is
    // rewritten in place instead.
    if (old.st_nlink == 1) {
        std::string tempPath;
        const int fd = createTemporaryNextTo(target, tempPath);
        if (fd >= 0) {
            struct stat made {};
            if (::fstat(fd, &made) == 0 && made.st_uid == old.st_uid && made.st_gid == old.st_gid) {
                ::fchmod(fd, old.st_mode & 07777);  // a failure here only loses the mode bits
                return replaceByRename(fd, tempPath, target, path, content);
            }
            ::close(fd);
            ::unlink(tempPath.c_str());
        }
    }
    // In place, the old content is read first so that a failed write can put it back.
    const FileHandle existing(::open(target.c_str(), O_RDWR | O_CLOEXEC));
    if (!existing) {
        FileResult result = failure("Could not save", path, errno, true);
        result.error = "Could not save \"" + path +
                       "\": the file cannot be read, so it could not be restored if the save "
                       "failed.";
        return result;
    }
    return rewriteInPlace(existing.fd, path, content);
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

namespace {

// Opens an ordinary file for reading, not blocking, so that a pipe chosen by mistake cannot
// hang the program; -1 and the failure for anything else.
int openOrdinaryFile(const std::string& path, FileResult& result, std::uint64_t& size) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        result = failure("Could not open", path, errno, true);
        return -1;
    }
    struct stat info {};
    int err = ::fstat(fd, &info) == 0 ? 0 : errno;
    if (err == 0 && S_ISDIR(info.st_mode)) {
        err = EISDIR;
    } else if (err == 0 && !S_ISREG(info.st_mode)) {
        ::close(fd);
        result = failure("Could not open", path, EINVAL, true);
        result.error = "Could not open \"" + path + "\": it is not an ordinary file.";
        return -1;
    }
    if (err != 0) {
        ::close(fd);
        result = failure("Could not open", path, err, true);
        return -1;
    }
    size = static_cast<std::uint64_t>(info.st_size);
    return fd;
}

}  // namespace

FileResult readFileStart(const std::string& path, std::size_t maxBytes, std::string& content) {
    FileResult result;
    std::uint64_t size = 0;
    const int fd = openOrdinaryFile(path, result, size);
    if (fd < 0) {
        content.clear();
        return result;
    }
    // Straight into the content: the size the file has, and one byte more to see that it
    // ends there; a file that has grown since goes on in steps.
    std::size_t filled = 0;
    content.resize(static_cast<std::size_t>(std::min<std::uint64_t>(size + 1, maxBytes)));
    int err = 0;
    while (true) {
        if (filled == content.size()) {
            if (filled >= maxBytes) {
                break;
            }
            content.resize(std::min(maxBytes, filled + 65536));
        }
        const ssize_t n = ::read(fd, content.data() + filled, content.size() - filled);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            err = errno;
            break;
        }
        if (n == 0) {
            break;
        }
        filled += static_cast<std::size_t>(n);
    }
    content.resize(filled);
    ::close(fd);
    if (err != 0) {
        content.clear();
        return failure("Could not open", path, err, true);
    }
    return {};
}

bool MemoryBytes::read(std::uint64_t offset, std::span<std::uint8_t> into) {
    if (offset > bytes_.size() || into.size() > bytes_.size() - offset) {
        return false;
    }
    std::copy_n(bytes_.begin() + static_cast<std::ptrdiff_t>(offset), into.size(), into.begin());
    return true;
}

FileBytes::FileBytes(const std::string& path) : path_(path) {
    fd_ = openOrdinaryFile(path, status_, size_);
}

FileBytes::~FileBytes() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

bool FileBytes::read(std::uint64_t offset, std::span<std::uint8_t> into) {
    if (fd_ < 0 || offset > size_ || into.size() > size_ - offset) {
        return false;
    }
    std::size_t done = 0;
    while (done < into.size()) {
        const ssize_t n =
            ::pread(fd_, into.data() + done, into.size() - done, static_cast<off_t>(offset + done));
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            // A file that shrank since it was opened ends early too.
            status_ = failure("Could not read", path_, n < 0 ? errno : EIO);
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

}  // namespace stipple

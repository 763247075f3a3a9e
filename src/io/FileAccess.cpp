#include "io/FileAccess.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>

#include "io/KeptCopy.h"
#include "io/NewFile.h"
#include "io/SystemCalls.h"
#include "io/WriterTurn.h"

namespace stipple {

using io::FileHandle;
using io::folderOf;
using io::retried;

namespace {

constexpr const char* kSave = "Could not save";
constexpr const char* kAdd = "Could not add to";

FileResult failure(const char* what, const std::string& path, int errorNumber,
                   bool openFailed = false) {
    FileResult result;
    result.ok = false;
    result.openFailed = openFailed;
    result.errorNumber = errorNumber;
    result.error = std::string(what) + " \"" + path + "\": " + std::strerror(errorNumber) + ".";
    return result;
}

// The file that `path` names once its symbolic links are followed; it need not exist, so a
// link that points nowhere yet leads to the file to make. 0 or an errno.
int followLinks(const std::string& path, std::string& target) {
    target = path;
    for (int hops = 0; hops < 40; ++hops) {
        struct stat info {};
        if (::lstat(target.c_str(), &info) != 0) {
            return errno == ENOENT ? 0 : errno;
        }
        if (!S_ISLNK(info.st_mode)) {
            return 0;
        }
        char link[4096];
        const ssize_t n = ::readlink(target.c_str(), link, sizeof link);
        if (n < 0 || n == sizeof link) {
            return n < 0 ? errno : ENAMETOOLONG;
        }
        const std::string to(link, static_cast<std::size_t>(n));
        target = to.starts_with('/') ? to : folderOf(target) + "/" + to;
    }
    return ELOOP;
}

// Writes the content into `file`, a new file beside `target`, and then puts it in the
// target's place (or, with `onlyIfMissing`, gives it the target's name only while nothing
// has it). A failure leaves the folder as it was.
FileResult completeNewFile(io::NewFile& file, const std::string& target, const std::string& path,
                           std::string_view content, const char* verb, bool onlyIfMissing) {
    int err = io::writeAndSync(file.fd(), content);
    if (err == 0) {
        err = onlyIfMissing ? file.linkAs(target) : file.replace(target);
    }
    if (err != 0) {
        return failure(verb, path, err);
    }
    const std::string folder = folderOf(target);
    io::syncFolder(folder);
    io::removeAbandonedTemporaries(folder);
    return {};
}

// A file that does not exist yet, made whole or not at all. It gets its name only once it
// is complete and only while nothing has that name (EEXIST otherwise).
FileResult createWhole(const std::string& target, const std::string& path, std::string_view content,
                       const char* verb) {
    io::NewFile file;
    if (const int err = file.create(folderOf(target), io::fileNameOf(target)); err != 0) {
        return failure(verb, path, err, true);
    }
    return completeNewFile(file, target, path, content, verb, true);
}

// Overwrites the open file `fd` (read and write) with the content, keeping its inode, links,
// owner and mode. A complete copy of the old content is on the disk until the new content
// is, and the old content is written back when the new one does not get in whole.
FileResult rewriteInPlace(int fd, const std::string& target, const struct stat& file,
                          const std::string& path, std::string_view content, const char* verb) {
    std::string old;
    if (const int err = io::readWhole(fd, old); err != 0) {
        return failure(verb, path, err, true);
    }
    io::KeptCopy copy;
    if (const int err = copy.keep(target, file, old); err != 0) {
        FileResult result = failure(verb, path, err);
        result.error = std::string(verb) + " \"" + path +
                       "\": no copy of its old content could be kept while it is rewritten (" +
                       std::strerror(err) + ").";
        return result;
    }
    // Only what differs is written: an append writes just its block.
    const std::size_t same = static_cast<std::size_t>(
        std::mismatch(old.begin(), old.begin() + std::min(old.size(), content.size()),
                      content.begin())
            .first -
        old.begin());
    const auto put = [&](std::string_view bytes) {
        int err = io::writeAll(fd, bytes.substr(same), static_cast<off_t>(same));
        if (err == 0 && ::ftruncate(fd, static_cast<off_t>(bytes.size())) != 0) {
            err = errno;
        }
        if (err == 0 && retried([&] { return ::fsync(fd); }) != 0) {
            err = errno;
        }
        return err;
    };
    const int err = put(content);
    if (err == 0) {
        copy.remove();
        return {};
    }
    // Put all of the old content back: the write, the cut to the new length or both may
    // have happened.
    FileResult result = failure(verb, path, err);
    if (const int restoreErr = put(old); restoreErr != 0) {
        result.error += std::string(" Its old content could not be put back either (") +
                        std::strerror(restoreErr) + "); it is kept in \"" + copy.path() + "\".";
    } else {
        copy.remove();
    }
    return result;
}

// Devices and pipes cannot be replaced by renaming; they get the text directly.
FileResult writeDirectly(const std::string& path, std::string_view content, int flags,
                         const char* verb) {
    FileHandle fd(retried([&] { return ::open(path.c_str(), O_WRONLY | O_CLOEXEC | flags); }));
    if (!fd) {
        return failure(verb, path, errno, true);
    }
    int err = io::writeAll(fd.get(), content);
    const int closeErr = fd.close();
    if (err == 0) {
        err = closeErr;
    }
    return err == 0 ? FileResult{} : failure(verb, path, err);
}

// Replaces the ordinary file `target` (status `old`) with the content, where writing into
// it is allowed: by a new file renamed into its place, or in place where that would split
// it from its other links, change its owner, or the folder takes no new file.
FileResult replaceExisting(const std::string& target, const struct stat& old,
                           const std::string& path, std::string_view content, const char* verb) {
    const std::string notice = io::keptCopyNotice(path, old);
    FileResult result;
    io::NewFile file;
    struct stat made {};
    if (old.st_nlink == 1 && file.create(folderOf(target), io::fileNameOf(target)) == 0 &&
        ::fstat(file.fd(), &made) == 0 && made.st_uid == old.st_uid && made.st_gid == old.st_gid) {
        ::fchmod(file.fd(), old.st_mode & 07777);  // a failure here only loses the mode bits
        result = completeNewFile(file, target, path, content, verb, false);
    } else if (const FileHandle existing(
                   retried([&] { return ::open(target.c_str(), O_RDWR | O_CLOEXEC); }));
               existing) {
        file.discard();
        result = rewriteInPlace(existing.get(), target, old, path, content, verb);
    } else {
        result = failure(verb, path, errno, true);
        result.error = std::string(verb) + " \"" + path +
                       "\": the file cannot be read, so it could not be restored if the save "
                       "failed.";
    }
    result.notice = notice;
    return result;
}

// The file `path` leads to and its status; false after setting `result` when it cannot be
// told. `exists` says whether there is a file yet.
bool locate(const std::string& path, const char* verb, std::string& target, struct stat& info,
            bool& exists, FileResult& result) {
    if (path.empty()) {
        result = failure(verb, path, ENOENT, true);
        return false;
    }
    if (const int err = followLinks(path, target); err != 0) {
        result = failure(verb, path, err, true);
        return false;
    }
    exists = ::stat(target.c_str(), &info) == 0;
    if (!exists && errno != ENOENT) {
        result = failure(verb, path, errno, true);
        return false;
    }
    if (exists && S_ISDIR(info.st_mode)) {
        result = failure(verb, path, EISDIR, true);
        return false;
    }
    return true;
}

// Appends to the ordinary file `target` (status `old`), whose turn this writer has.
FileResult appendExisting(const std::string& target, const struct stat& old,
                          const std::string& path, std::string_view content) {
    // The old bytes and the block go in together, as a save does, so that a kill at any
    // moment leaves the old file or the old file with the whole block.
    std::string whole;
    if (const FileHandle readable(
            retried([&] { return ::open(target.c_str(), O_RDONLY | O_CLOEXEC); }));
        readable) {
        if (const int err = io::readWhole(readable.get(), whole); err != 0) {
            return failure(kAdd, path, err, true);
        }
        whole += content;
        return replaceExisting(target, old, path, whole, kAdd);
    }
    // A file that cannot be read cannot be copied: the block goes straight to its end, and
    // what part of it got in is cut off again if the write fails.
    FileHandle fd(retried([&] { return ::open(target.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC); }));
    if (!fd) {
        return failure(kAdd, path, errno, true);
    }
    int err = io::writeAndSync(fd.get(), content);
    if (err != 0 && ::ftruncate(fd.get(), old.st_size) == 0) {
        ::fsync(fd.get());
    }
    const int closeErr = fd.close();
    return err == 0 && closeErr == 0 ? FileResult{}
                                     : failure(kAdd, path, err != 0 ? err : closeErr);
}

auto waitForOtherWriters = std::chrono::milliseconds(10000);

// A save or an append, in turn with every other writer of the same file, whatever name it
// uses: a file made meanwhile by another writer, or put in the old one's place, is the one
// whose turn is waited for.
FileResult writeInTurn(const std::string& path, std::string_view content, bool append) {
    const char* verb = append ? kAdd : kSave;
    const auto deadline = std::chrono::steady_clock::now() + waitForOtherWriters;
    do {
        std::string target;
        struct stat old {};
        bool exists = false;
        FileResult result;
        if (!locate(path, verb, target, old, exists, result)) {
            return result;
        }
        if (!exists) {
            result = createWhole(target, path, content, verb);
            if (result.ok || result.errorNumber != EEXIST) {
                return result;
            }
            continue;  // another writer made it first: this one comes after
        }
        if (!S_ISREG(old.st_mode)) {
            return writeDirectly(target, content, append ? O_APPEND : O_TRUNC, verb);
        }
        // The lock is taken on a descriptor for writing, so a write-protected file stays
        // protected, whoever owns the folder.
        const FileHandle turn(retried(
            [&] { return ::open(target.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC); }));
        if (!turn) {
            return failure(verb, path, errno, true);
        }
        switch (io::takeTurn(turn.get(), target, deadline, old)) {
            case io::Turn::Taken:
                return append ? appendExisting(target, old, path, content)
                              : replaceExisting(target, old, path, content, verb);
            case io::Turn::Moved:
                continue;
            case io::Turn::Busy:
                break;
        }
    } while (std::chrono::steady_clock::now() < deadline);
    FileResult busy = failure(verb, path, EWOULDBLOCK);
    busy.error =
        std::string(verb) + " \"" + path + "\": the file is being written by another process.";
    return busy;
}

}  // namespace

void setWaitForOtherWriters(std::chrono::milliseconds wait) {
    waitForOtherWriters = wait;
}

FileResult replaceFile(const std::string& path, std::string_view content) {
    return writeInTurn(path, content, false);
}

FileResult appendToFile(const std::string& path, std::string_view content) {
    return writeInTurn(path, content, true);
}

FileResult createMissingFile(const std::string& path, std::string_view content,
                             const FileResult& appendFailure) {
    std::string target;
    if (path.empty() || followLinks(path, target) != 0) {
        return appendFailure;
    }
    if (struct stat info{}; ::lstat(target.c_str(), &info) == 0) {
        return appendFailure;  // an existing file is never emptied by the second try
    }
    FileResult created = createWhole(target, path, content, "Could not create");
    if (!created && created.errorNumber == EEXIST) {
        return appendFailure;
    }
    return created;
}

namespace {

// Opens an ordinary file for reading, not blocking, so that a pipe chosen by mistake cannot
// hang the program; -1 and the failure for anything else.
int openOrdinaryFile(const std::string& path, FileResult& result, std::uint64_t& size) {
    const int fd = retried([&] { return ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC); });
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
    result.notice = io::keptCopyNotice(path, info);
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
        const ssize_t n =
            retried([&] { return ::read(fd, content.data() + filled, content.size() - filled); });
        if (n < 0) {
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
    return result;
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
        const ssize_t n = retried([&] {
            return ::pread(fd_, into.data() + done, into.size() - done,
                           static_cast<off_t>(offset + done));
        });
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

#include "io/NewFile.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>

namespace stipple::io {

namespace {

constexpr std::string_view kMark = ".stipple-";
constexpr std::string_view kTemporaryEnd = ".tmp";
constexpr std::size_t kRandomDigits = 16;

// A file without a name gets one through /proc, or, for a process that may, directly.
int linkAnonymous(int fd, const std::string& path) {
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, path.c_str(), AT_SYMLINK_FOLLOW) == 0) {
        return 0;
    }
    const int err = errno;
    if (err == EEXIST) {
        return err;
    }
    if (::linkat(fd, "", AT_FDCWD, path.c_str(), AT_EMPTY_PATH) == 0) {
        return 0;
    }
    return err;
}

bool anonymousFilesCanBeNamed() {
    static const bool can = ::access("/proc/self/fd", F_OK) == 0;
    return can;
}

// The random part of a temporary name: from the system where it has randomness to give,
// else from the clock, the process and a count, which still differ between processes.
std::string randomDigits() {
    static std::uint64_t count = 0;
    std::uint64_t bits = 0;
    if (::getrandom(&bits, sizeof bits, GRND_NONBLOCK) != sizeof bits) {
        bits = static_cast<std::uint64_t>(
                   std::chrono::steady_clock::now().time_since_epoch().count()) ^
               (static_cast<std::uint64_t>(::getpid()) << 40) ^ (++count * 0x9E3779B97F4A7C15u);
    }
    std::string digits(kRandomDigits, '0');
    for (char& digit : digits) {
        digit = "0123456789abcdef"[bits & 15];
        bits >>= 4;
    }
    return digits;
}

}  // namespace

bool isTemporaryName(std::string_view name) {
    // ".", at least one character of the file's name, the mark, the digits, the end.
    if (name.size() < 2 + kMark.size() + kRandomDigits + kTemporaryEnd.size() || name[0] != '.' ||
        !name.ends_with(kTemporaryEnd)) {
        return false;
    }
    name.remove_suffix(kTemporaryEnd.size());
    const std::string_view digits = name.substr(name.size() - kRandomDigits);
    name.remove_suffix(kRandomDigits);
    return name.ends_with(kMark) && digits.find_first_not_of("0123456789abcdef") == digits.npos;
}

NewFile::~NewFile() {
    discard();
}

void NewFile::discard() {
    if (!tempPath_.empty()) {
        ::unlink(tempPath_.c_str());
        tempPath_.clear();
    }
    fd_.reset();
    anonymous_ = false;
}

int NewFile::create(const std::string& folder, const std::string& name, mode_t mode) {
    discard();
    // Short enough for any file system that takes the target's own name.
    stem_ = folder + "/." + name.substr(0, 200) + std::string(kMark);
    mode_ = mode;
    if (anonymousFilesCanBeNamed()) {
        fd_.reset(retried(
            [&] { return ::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, mode); }));
        if (fd_) {
            // Held for as long as it is written, so that nobody takes it for abandoned once
            // it has a name.
            ::flock(fd_.get(), LOCK_EX);
            anonymous_ = true;
            return 0;
        }
        if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL) {
            return errno;
        }
    }
    return nameTemporarily();
}

// Opens (or, for an anonymous file, links) the file under a fresh temporary name, locked
// so that no other save takes it for abandoned.
int NewFile::nameTemporarily() {
    for (int attempt = 0; attempt < 100; ++attempt) {
        tempPath_ = stem_ + randomDigits() + std::string(kTemporaryEnd);
        int err = 0;
        if (anonymous_) {
            err = linkAnonymous(fd_.get(), tempPath_);
        } else {
            fd_.reset(retried([&] {
                return ::open(tempPath_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode_);
            }));
            err = fd_ ? 0 : errno;
            if (fd_) {
                ::flock(fd_.get(), LOCK_EX);
            }
        }
        if (err != EEXIST) {
            if (err != 0) {
                tempPath_.clear();
            }
            return err;
        }
    }
    tempPath_.clear();
    return EEXIST;
}

int NewFile::replace(const std::string& path) {
    if (anonymous_ && tempPath_.empty()) {
        // A name cannot be linked over another, so the file takes a temporary one for the
        // moment of the rename.
        if (const int err = nameTemporarily(); err != 0) {
            return err;
        }
    }
    if (::rename(tempPath_.c_str(), path.c_str()) != 0) {
        return errno;
    }
    tempPath_.clear();
    return 0;
}

int NewFile::linkAs(const std::string& path) {
    if (anonymous_ && tempPath_.empty()) {
        return linkAnonymous(fd_.get(), path);
    }
    if (::link(tempPath_.c_str(), path.c_str()) != 0) {
        return errno;
    }
    ::unlink(tempPath_.c_str());
    tempPath_.clear();
    return 0;
}

void removeAbandonedTemporaries(const std::string& folder) {
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr) {
        return;
    }
    const int at = ::dirfd(dir);
    while (const dirent* entry = ::readdir(dir)) {
        if (!isTemporaryName(entry->d_name)) {
            continue;
        }
        // Opened without following a link and without waiting on a pipe; a write-only
        // temporary, made for a write-only file, opens for writing.
        const auto open = [&](int mode) {
            return ::openat(at, entry->d_name,
                            mode | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
        };
        FileHandle file(open(O_RDONLY));
        if (!file && errno == EACCES) {
            file.reset(open(O_WRONLY));
        }
        struct stat info {};
        struct stat named {};
        // Root too removes only its own: a file of someone else's is theirs to judge.
        if (!file || ::fstat(file.get(), &info) != 0 || !S_ISREG(info.st_mode) ||
            info.st_nlink != 1 || info.st_uid != ::geteuid() ||
            ::flock(file.get(), LOCK_EX | LOCK_NB) != 0) {
            continue;
        }
        // The name may have gone to another file while it was opened.
        if (::fstatat(at, entry->d_name, &named, AT_SYMLINK_NOFOLLOW) == 0 &&
            named.st_dev == info.st_dev && named.st_ino == info.st_ino) {
            ::unlinkat(at, entry->d_name, 0);
        }
    }
    ::closedir(dir);
}

}  // namespace stipple::io

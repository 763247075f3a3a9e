#include "io/NewFile.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <string_view>

namespace stipple::io {

namespace {

constexpr std::string_view kTemporaryEnd = ".tmp";

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

// The process id in a temporary file's name ".NAME.PID-N.tmp", or 0 for any other name.
pid_t ownerOfTemporary(std::string_view name) {
    if (name.size() < 8 || name[0] != '.' || !name.ends_with(kTemporaryEnd)) {
        return 0;
    }
    name.remove_suffix(kTemporaryEnd.size());
    const auto dash = name.rfind('-');
    const auto dot = name.rfind('.', dash);
    if (dash == std::string_view::npos || dot == std::string_view::npos || dot == 0) {
        return 0;
    }
    const std::string_view pid = name.substr(dot + 1, dash - dot - 1);
    const std::string_view serial = name.substr(dash + 1);
    const auto digits = [](std::string_view s) {
        return !s.empty() && s.size() < 10 && s.find_first_not_of("0123456789") == s.npos;
    };
    return digits(pid) && digits(serial) ? static_cast<pid_t>(std::atol(std::string(pid).c_str()))
                                         : 0;
}

}  // namespace

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
    // Keep the names short enough for any file system that takes the target's own name.
    stem_ = folder + "/." + name.substr(0, 200) + ".";
    mode_ = mode;
    if (anonymousFilesCanBeNamed()) {
        fd_.reset(retried(
            [&] { return ::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, mode); }));
        if (fd_) {
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
    static unsigned serial = 0;
    for (int attempt = 0; attempt < 100; ++attempt) {
        tempPath_ = stem_ + std::to_string(::getpid()) + "-" + std::to_string(++serial) +
                    std::string(kTemporaryEnd);
        int err = 0;
        if (anonymous_) {
            ::flock(fd_.get(), LOCK_EX);
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
    const pid_t self = ::getpid();
    while (const dirent* entry = ::readdir(dir)) {
        const pid_t owner = ownerOfTemporary(entry->d_name);
        if (owner <= 0 || owner == self || ::kill(owner, 0) == 0 || errno == EPERM) {
            continue;  // not ours, or its process still runs
        }
        // A file still locked is being written by a process of another namespace.
        const FileHandle file(
            ::openat(::dirfd(dir), entry->d_name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
        struct stat info {};
        if (file && ::fstat(file.get(), &info) == 0 && S_ISREG(info.st_mode) &&
            (info.st_uid == ::geteuid() || ::geteuid() == 0) &&
            ::flock(file.get(), LOCK_EX | LOCK_NB) == 0) {
            ::unlinkat(::dirfd(dir), entry->d_name, 0);
        }
    }
    ::closedir(dir);
}

}  // namespace stipple::io

#include "io/KeptCopy.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace stipple::io {

namespace {

constexpr int kMostCopies = 100;
// How earlier versions named copies: ".NAME.before-save" beside the file, and
// "DEV-INO-NAME.before-save" in the state folder.
constexpr const char* kNamedCopyEnd = ".before-save";

// "$XDG_STATE_HOME/stippleworkshop", else "~/.local/state/stippleworkshop"; empty when
// neither can be told.
std::string stateFolder() {
    const char* state = std::getenv("XDG_STATE_HOME");
    if (state != nullptr && state[0] == '/') {
        return std::string(state) + "/stippleworkshop";
    }
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] == '/') {
        return std::string(home) + "/.local/state/stippleworkshop";
    }
    return {};
}

// Whether the state folder may hold copies: a folder that was missing is not looked for
// again, unless this process has made a copy there since. A batch opening many files then
// asks for it once.
bool stateFolderMayHoldCopies = true;

// Makes the folder and those above it that are missing, for the user alone.
int makeFolders(const std::string& folder) {
    for (std::size_t slash = 1; slash != std::string::npos;) {
        slash = folder.find('/', slash + 1);
        const std::string part = folder.substr(0, slash);
        if (::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) {
            return errno;
        }
    }
    return 0;
}

std::string identity(const struct stat& file) {
    return std::to_string(file.st_dev) + "-" + std::to_string(file.st_ino);
}

std::string copyName(const struct stat& file, bool inStateFolder) {
    return (inStateFolder ? "kept-" : ".stipple-kept-") + identity(file);
}

std::string numbered(const std::string& base, int n) {
    return n == 1 ? base : base + "-" + std::to_string(n);
}

// A copy that a running save holds is no leftover.
bool heldByARunningSave(const std::string& path) {
    const FileHandle copy(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC));
    return copy && ::flock(copy.get(), LOCK_SH | LOCK_NB) != 0 && errno == EWOULDBLOCK;
}

// A copy made before the file was is of an earlier file whose inode number it has taken.
bool madeBefore(const std::string& copy, const std::string& path) {
    struct statx made {};
    struct statx file {};
    return ::statx(AT_FDCWD, copy.c_str(), AT_SYMLINK_NOFOLLOW, STATX_BTIME, &made) == 0 &&
           ::statx(AT_FDCWD, path.c_str(), 0, STATX_BTIME, &file) == 0 &&
           (made.stx_mask & file.stx_mask & STATX_BTIME) != 0 &&
           (made.stx_btime.tv_sec != file.stx_btime.tv_sec
                ? made.stx_btime.tv_sec < file.stx_btime.tv_sec
                : made.stx_btime.tv_nsec < file.stx_btime.tv_nsec);
}

// The file itself that `path` names, not a symbolic link to it.
std::string realFile(const std::string& path) {
    struct stat link {};
    if (::lstat(path.c_str(), &link) == 0 && S_ISLNK(link.st_mode)) {
        if (char* resolved = ::realpath(path.c_str(), nullptr)) {
            std::string real = resolved;
            std::free(resolved);
            return real;
        }
    }
    return path;
}

}  // namespace

int KeptCopy::keepIn(const std::string& folder, const std::string& base, const struct stat& file,
                     std::string_view oldContent) {
    // The copy may be read by whoever could read the file, and nobody else.
    int err = file_.create(folder, base, 0600);
    if (err == 0) {
        (void)::fchown(file_.fd(), file.st_uid, file.st_gid);  // only root can; then it matters
        (void)::fchmod(file_.fd(), file.st_mode & 0666);
        err = writeAndSync(file_.fd(), oldContent);
    }
    for (int n = 1; err == 0 && n <= kMostCopies; ++n) {
        const std::string candidate = folder + "/" + numbered(base, n);
        if ((err = file_.linkAs(candidate)) == 0) {
            path_ = candidate;
            syncFolder(folder);
            return 0;
        }
        if (err == EEXIST && n < kMostCopies) {
            err = 0;  // an earlier copy of this file: the next number
        }
    }
    file_.discard();
    return err;
}

int KeptCopy::keep(const std::string& realPath, const struct stat& file,
                   std::string_view oldContent) {
    const std::string state = stateFolder();
    const auto inStateFolder = [&] {
        if (const int err = makeFolders(state); err != 0) {
            return err;
        }
        stateFolderMayHoldCopies = true;
        return keepIn(state, copyName(file, true), file, oldContent);
    };
    const auto beside = [&] {
        return keepIn(folderOf(realPath), copyName(file, false), file, oldContent);
    };
    // Another name of the file may be in another folder, which finds the state folder but
    // not this one.
    if (file.st_nlink > 1 && !state.empty() && inStateFolder() == 0) {
        return 0;
    }
    const int err = beside();
    return err == 0 || state.empty() || file.st_nlink > 1 ? err : inStateFolder();
}

void KeptCopy::remove() {
    if (!path_.empty()) {
        ::unlink(path_.c_str());
        path_.clear();
    }
}

std::string keptCopyNotice(const std::string& path, const struct stat& file) {
    std::vector<std::string> copies;
    // A copy named after the inode may be of an earlier file that had its number; one named
    // after the file is of this name, whatever file it is now, and is told until removed.
    const auto take = [&](const std::string& copy, bool namedAfterTheInode) {
        if (!heldByARunningSave(copy) && !(namedAfterTheInode && madeBefore(copy, path))) {
            copies.push_back(copy);
        }
    };
    const std::string real = realFile(path);
    const std::string byName = folderOf(real) + "/." + fileNameOf(real) + kNamedCopyEnd;
    for (const std::string& base : {folderOf(real) + "/" + copyName(file, false), byName}) {
        for (int n = 1; n <= kMostCopies; ++n) {
            const std::string candidate = numbered(base, n);
            if (struct stat info{}; ::lstat(candidate.c_str(), &info) != 0) {
                break;
            }
            take(candidate, base != byName);
        }
    }
    const std::string state = stateFolderMayHoldCopies ? stateFolder() : std::string();
    DIR* dir = state.empty() ? nullptr : ::opendir(state.c_str());
    if (dir == nullptr && !state.empty() && errno == ENOENT) {
        stateFolderMayHoldCopies = false;
    }
    if (dir != nullptr) {
        const std::string base = copyName(file, true);
        const std::string named = identity(file) + "-";
        std::vector<std::string> found;
        while (const dirent* entry = ::readdir(dir)) {
            const std::string name = entry->d_name;
            if (name == base || name.starts_with(base + "-") ||
                (name.starts_with(named) && name.ends_with(kNamedCopyEnd))) {
                found.push_back(state + "/" + name);
            }
        }
        ::closedir(dir);
        std::sort(found.begin(), found.end());
        for (const std::string& copy : found) {
            take(copy, true);
        }
    }
    if (copies.empty()) {
        return {};
    }
    std::string notice = "A save of \"" + path +
                         "\" was cut off before it ended; the content the file had before it "
                         "is kept in ";
    for (std::size_t i = 0; i < copies.size(); ++i) {
        notice += (i > 0 ? ", \"" : "\"") + copies[i] + "\"";
    }
    return notice + ".";
}

}  // namespace stipple::io

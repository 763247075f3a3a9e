#include "io/KeptCopy.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cstdlib>
#include <vector>

namespace stipple::io {

namespace {

constexpr const char* kCopyEnd = ".before-save";
constexpr int kMostCopies = 100;

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

// The copy's names in the state folder start with the file's device and inode, which stay
// the same however the file is reached and however often it is rewritten in place.
std::string statePrefix(const struct stat& file) {
    return std::to_string(file.st_dev) + "-" + std::to_string(file.st_ino) + "-";
}

std::string numbered(const std::string& base, int n) {
    return n == 1 ? base : base + "-" + std::to_string(n);
}

// A copy that a running save holds is no leftover.
bool heldByARunningSave(const std::string& path) {
    const FileHandle copy(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC));
    return copy && ::flock(copy.get(), LOCK_SH | LOCK_NB) != 0 && errno == EWOULDBLOCK;
}

// Where the copy of the file at `path` would lie next to it: the folder and name of the
// file itself, not of a symbolic link to it.
std::string besideBase(const std::string& path) {
    std::string real = path;
    struct stat link {};
    if (::lstat(path.c_str(), &link) == 0 && S_ISLNK(link.st_mode)) {
        if (char* resolved = ::realpath(path.c_str(), nullptr)) {
            real = resolved;
            std::free(resolved);
        }
    }
    return folderOf(real) + "/." + fileNameOf(real) + kCopyEnd;
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
    const std::string name = fileNameOf(realPath);
    int err = keepIn(folderOf(realPath), "." + name + kCopyEnd, file, oldContent);
    const std::string state = stateFolder();
    if (err == 0 || state.empty()) {
        return err;
    }
    if ((err = makeFolders(state)) != 0) {
        return err;
    }
    stateFolderMayHoldCopies = true;
    return keepIn(state, statePrefix(file) + name + kCopyEnd, file, oldContent);
}

void KeptCopy::remove() {
    if (!path_.empty()) {
        ::unlink(path_.c_str());
        path_.clear();
    }
}

std::string keptCopyNotice(const std::string& path, const struct stat& file) {
    std::vector<std::string> copies;
    const std::string beside = besideBase(path);
    for (int n = 1; n <= kMostCopies; ++n) {
        const std::string candidate = numbered(beside, n);
        struct stat info {};
        if (::lstat(candidate.c_str(), &info) != 0) {
            break;
        }
        if (!heldByARunningSave(candidate)) {
            copies.push_back(candidate);
        }
    }
    const std::string state = stateFolderMayHoldCopies ? stateFolder() : std::string();
    DIR* dir = state.empty() ? nullptr : ::opendir(state.c_str());
    if (dir == nullptr && !state.empty() && errno == ENOENT) {
        stateFolderMayHoldCopies = false;
    }
    if (dir != nullptr) {
        const std::string prefix = statePrefix(file);
        while (const dirent* entry = ::readdir(dir)) {
            const std::string name = entry->d_name;
            if (name.starts_with(prefix) && !heldByARunningSave(state + "/" + name)) {
                copies.push_back(state + "/" + name);
            }
        }
        ::closedir(dir);
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

#pragma once
// Writers of one file take turns. A save or an append holds an exclusive lock on the file
// itself, its inode, which every name of the file shares, from reading the old content
// until the new content has the name; the lock goes with the descriptor it was taken on.

#include <sys/stat.h>

#include <chrono>
#include <string>

namespace stipple::io {

enum class Turn {
    Taken,  // the lock is held and `path` names the locked file
    Moved,  // `path` names another file now (or none): a writer before put it in its place
    Busy,   // another writer held it until the deadline
};

// Waits, until `deadline` at most, for the lock on the ordinary file open as `fd`, which
// `path` named when it was opened, and sets `info` to its status once taken. A file system
// that has no locks lets the writer go on without one.
Turn takeTurn(int fd, const std::string& path, std::chrono::steady_clock::time_point deadline,
              struct stat& info);

}  // namespace stipple::io

#pragma once
// A file being written that takes its name only once it is complete. Where the file system
// allows, it has no name at all until then, so a killed process leaves nothing behind. It
// gets a temporary name only for the moment it is renamed over an old file, or where the
// file system has no nameless files: ".NAME.stipple-<16 hex digits>.tmp", locked for as
// long as the file is written. The next save into that folder removes such files that no
// process holds any more.

#include <sys/types.h>

#include <string>
#include <string_view>

#include "io/SystemCalls.h"

namespace stipple::io {

class NewFile {
  public:
    NewFile() = default;
    ~NewFile();
    NewFile(const NewFile&) = delete;
    NewFile& operator=(const NewFile&) = delete;

    // Opens a new, empty file in `folder`, to be named after `name` there; 0 or an errno.
    int create(const std::string& folder, const std::string& name, mode_t mode = 0666);
    int fd() const { return fd_.get(); }
    // Puts the file in the place of `path` in the same folder, whatever was there.
    int replace(const std::string& path);
    // Gives the file the name `path` only if nothing has it yet (EEXIST otherwise).
    int linkAs(const std::string& path);
    // Closes the file and removes what name it has for now; it can be created again.
    void discard();

  private:
    int nameTemporarily();

    FileHandle fd_;
    std::string stem_;      // folder and name the temporary names start with
    std::string tempPath_;  // the file's temporary name while it has one
    bool anonymous_ = false;
    mode_t mode_ = 0666;
};

// Whether `name` is one that NewFile gives a file for the time being.
bool isTemporaryName(std::string_view name);

// Removes the temporary files in `folder` that a killed save left: only names that NewFile
// makes, only ordinary files with one link that belong to the user running this, reached
// without following a link, and only while no process holds them.
void removeAbandonedTemporaries(const std::string& folder);

}  // namespace stipple::io

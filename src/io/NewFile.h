#pragma once
// A file being written that takes its name only once it is complete. Where the file system
// allows, it has no name at all until then, so a killed process leaves nothing behind;
// elsewhere it is named ".NAME.PID-N.tmp" and locked while it is written, and the next save
// into that folder removes such files that no living process holds.

#include <sys/types.h>

#include <string>

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

// Removes the temporary files in `folder` that were left by processes that no longer run.
void removeAbandonedTemporaries(const std::string& folder);

}  // namespace stipple::io

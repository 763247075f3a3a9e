#pragma once
// Reading and writing whole files. A failed write never destroys what the file held
// before. Nothing here talks to the user: failures come back as a message text that
// names the file and the system's reason.

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "io/ByteSource.h"

namespace stipple {

struct FileResult {
    bool ok = true;
    bool openFailed = false;  // the file could not be opened at all; nothing was written
    int errorNumber = 0;      // errno of the failure
    std::string error;        // the message for the user
    // Told to the user whatever the outcome, as a line of its own: that a save of this file
    // was killed earlier and where the copy of the content it replaced is kept. Empty for
    // nearly every file.
    std::string notice;

    explicit operator bool() const { return ok; }
};

// Saves and appends to one file, through whatever names, take turns: each holds the file
// from reading its old content until the new content has the name, and one that finds the
// file held waits for its turn (see setWaitForOtherWriters), then gives up with the message
// that the file is being written by another process, and writes nothing.

// Replaces the file's content, but only where opening the file for writing is allowed. The
// text goes into a new file in the same folder, which then takes the target's place, so the
// old file stays whole until the new one is complete. Where that new file would lose the
// target's other links or its owner, or the folder cannot take it, the target is rewritten
// in place, which needs it to be readable too, and its old content is put back if the write
// fails. A symbolic link is followed; a device or pipe is written in place.
FileResult replaceFile(const std::string& path, std::string_view content);

// Appends to the end of the file, creating it if it is missing. A failed or short write
// cuts the file back to its old length.
FileResult appendToFile(const std::string& path, std::string_view content);

// How long a save or an append waits for its turn: 10 seconds unless a test shortens it.
void setWaitForOtherWriters(std::chrono::milliseconds wait);

// The second try after appendToFile could not open the file: creates the file with the
// content, but only if it does not exist. An existing file is left alone and the append's
// own failure is returned.
FileResult createMissingFile(const std::string& path, std::string_view content,
                             const FileResult& appendFailure);

// Reads the file from its first byte, at most maxBytes of it, into `content`, whose room is
// used again. A missing file, a folder, or anything else that is not an ordinary file or
// cannot be read gives a failure and an empty content.
FileResult readFileStart(const std::string& path, std::size_t maxBytes, std::string& content);

// An ordinary file read at any offset, each read as many system reads as it takes. A
// missing file, a folder or anything else that is not an ordinary file cannot be opened;
// status() then says why, and after a failed read it says why that failed.
class FileBytes final : public ByteSource {
  public:
    explicit FileBytes(const std::string& path);
    ~FileBytes() override;
    FileBytes(const FileBytes&) = delete;
    FileBytes& operator=(const FileBytes&) = delete;

    const FileResult& status() const { return status_; }
    std::uint64_t size() const override { return size_; }
    bool read(std::uint64_t offset, std::span<std::uint8_t> into) override;
    std::string readFailure() const override { return status_.error; }

  private:
    std::string path_;
    int fd_ = -1;
    std::uint64_t size_ = 0;
    FileResult status_;
};

}  // namespace stipple

#pragma once
// Reading and writing whole files. A failed write never destroys what the file held
// before. Nothing here talks to the user: failures come back as a message text that
// names the file and the system's reason.

#include <cstddef>
#include <string>
#include <string_view>

namespace stipple {

struct FileResult {
    bool ok = true;
    bool openFailed = false;  // the file could not be opened at all; nothing was written
    int errorNumber = 0;      // errno of the failure
    std::string error;        // the message for the user

    explicit operator bool() const { return ok; }
};

// Replaces the file's content, but only where opening the file for writing is allowed. The
// text goes into a new file in the same folder, which then takes the target's place, so the
// old file stays whole until the new one is complete. Where that new file would lose the
// target's other links or its owner, or the folder cannot take it, the target is rewritten
// in place and its old content put back if the write fails. A symbolic link is followed; a
// device or pipe is written in place.
FileResult replaceFile(const std::string& path, std::string_view content);

// Appends to the end of the file, creating it if it is missing. A failed or short write
// cuts the file back to its old length.
FileResult appendToFile(const std::string& path, std::string_view content);

// The second try after appendToFile could not open the file: creates the file with the
// content, but only if it does not exist. An existing file is left alone and the append's
// own failure is returned.
FileResult createMissingFile(const std::string& path, std::string_view content,
                             const FileResult& appendFailure);

// Reads the file from its first byte, at most maxBytes of it. A missing file, a folder, or
// anything else that is not an ordinary file or cannot be read gives a failure.
FileResult readFileStart(const std::string& path, std::size_t maxBytes, std::string& content);

}  // namespace stipple

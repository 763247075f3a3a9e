#pragma once
// The few system calls file access needs, each written once: retried when a signal cuts
// them short, and returning 0 or the errno of the failure.

#include <sys/types.h>

#include <cerrno>
#include <cstddef>
#include <string>
#include <string_view>

namespace stipple::io {

// Calls `call` again for as long as it fails with EINTR.
template <typename Call>
auto retried(Call call) {
    for (;;) {
        const auto result = call();
        if (result != -1 || errno != EINTR) {
            return result;
        }
    }
}

// Closes the descriptor it holds when it goes.
class FileHandle {
  public:
    FileHandle() = default;
    explicit FileHandle(int fd) : fd_(fd) {}
    ~FileHandle() { reset(); }
    FileHandle(FileHandle&& other) noexcept : fd_(other.release()) {}
    FileHandle& operator=(FileHandle&& other) noexcept;
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;

    int get() const { return fd_; }
    explicit operator bool() const { return fd_ >= 0; }
    int release();
    void reset(int fd = -1);
    // Closes now; 0 or the errno of the close (a write the system delayed may fail here).
    int close();

  private:
    int fd_ = -1;
};

// Writes all of `content`, at the file position or, with `offset` >= 0, from there on.
int writeAll(int fd, std::string_view content, off_t offset = -1);
// Writes all of `content` and makes sure it is on the disk.
int writeAndSync(int fd, std::string_view content);
// The whole file from its first byte into `content`.
int readWhole(int fd, std::string& content);
// Makes the names in a folder (a rename, a new link, a removal) durable.
void syncFolder(const std::string& folder);

// The folder part of a path ("." for a bare name) and the name after the last slash.
std::string folderOf(const std::string& path);
std::string fileNameOf(const std::string& path);

}  // namespace stipple::io

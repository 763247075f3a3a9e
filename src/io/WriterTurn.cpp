#include "io/WriterTurn.h"

#include <sys/file.h>

#include <algorithm>
#include <cerrno>
#include <thread>

namespace stipple::io {

Turn takeTurn(int fd, const std::string& path, std::chrono::steady_clock::time_point deadline,
              struct stat& info) {
    // Asked again in short, growing pauses: a turn is as long as one save, and a blocking
    // wait could not end at the deadline.
    for (auto pause = std::chrono::microseconds(200);;
         pause = std::min(pause * 2, std::chrono::microseconds(20000))) {
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0 || (errno != EWOULDBLOCK && errno != EINTR)) {
            break;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            return Turn::Busy;
        }
        std::this_thread::sleep_for(pause);
    }
    struct stat named {};
    if (::fstat(fd, &info) != 0 || ::stat(path.c_str(), &named) != 0 ||
        named.st_dev != info.st_dev || named.st_ino != info.st_ino) {
        return Turn::Moved;
    }
    return Turn::Taken;
}

}  // namespace stipple::io

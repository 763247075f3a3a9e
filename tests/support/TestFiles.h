#pragma once
// Pictures written as rows of digits, reading and writing whole files, a fresh folder per
// test, and a limit that makes writes fail part way.

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/resource.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "model/Picture.h"
#include "model/Selection.h"

namespace stipple::testing {

// Each string is a row of the picture, one digit 0..4 per pixel.
inline void setPicture(Picture& picture, const std::vector<std::string>& rows) {
    picture.height = static_cast<int>(rows.size());
    picture.width = static_cast<int>(rows.front().size());
    for (int y = 1; y <= picture.height; ++y) {
        for (int x = 1; x <= picture.width; ++x) {
            picture.pixels[x][y] = rows[y - 1][x - 1] - '0';
        }
    }
}

// The same rows as a copied box.
inline void setBox(Selection& selection, const std::vector<std::string>& rows) {
    selection.selHeight = static_cast<int>(rows.size());
    selection.selWidth = static_cast<int>(rows.front().size());
    for (int y = 1; y <= selection.selHeight; ++y) {
        for (int x = 1; x <= selection.selWidth; ++x) {
            selection.selBuffer[x][y] = rows[y - 1][x - 1] - '0';
        }
    }
    selection.bufferFilled = true;
}

inline std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void writeFile(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

class TempFolder {
  public:
    TempFolder() {
        std::filesystem::create_directories(STIPPLE_TEST_TMP_DIR);
        std::string pattern = std::string(STIPPLE_TEST_TMP_DIR) + "/export-XXXXXX";
        if (::mkdtemp(pattern.data()) == nullptr) {
            ADD_FAILURE() << "cannot make a temporary folder";
        }
        path_ = pattern;
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }
    const std::filesystem::path& path() const { return path_; }
    // Names of everything in the folder, sorted.
    std::vector<std::string> listing() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(path_)) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

  private:
    std::filesystem::path path_;
};

// Limits the size of any file this process writes, so that a write stops part way with
// EFBIG, as it would on a full disk.
class FileSizeLimit {
  public:
    explicit FileSizeLimit(rlim_t bytes) {
        oldSignal_ = std::signal(SIGXFSZ, SIG_IGN);
        ::getrlimit(RLIMIT_FSIZE, &old_);
        rlimit limit = old_;
        limit.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &old_);
        std::signal(SIGXFSZ, oldSignal_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

  private:
    rlimit old_{};
    void (*oldSignal_)(int) = nullptr;
};

}  // namespace stipple::testing

#pragma once
// What the Export preview's files share: the sources' words and the lists' helpers.

#include <algorithm>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "editor/ExportPreview.h"

namespace stipple::export_preview {

inline constexpr std::string_view kSources[] = {"Whole picture", "Copied box", "All frames",
                                                "Font as BDF", "Font as GFX"};
inline constexpr std::string_view kSourceWords[] = {"picture", "box", "frames", "bdf", "gfx"};
inline constexpr int kBoxSource = 1;
inline constexpr int kFramesSource = 2;
inline constexpr int kBdfSource = 3;  // a whole font in one of the forms fonts are read in
inline constexpr int kGfxSource = 4;

// The layout part a list chooses, for the lists of layout words.
inline std::string_view keyOf(ExportOption list) {
    switch (list) {
        case ExportOption::Depth:
            return "depth";
        case ExportOption::Order:
            return "order";
        case ExportOption::Scan:
            return "scan";
        case ExportOption::Planes:
            return "planes";
        default:
            return "";
    }
}

template <typename Words>
std::vector<std::string> strings(const Words& words) {
    return std::vector<std::string>(std::begin(words), std::end(words));
}

template <typename Words>
int indexOf(const Words& words, std::string_view word) {
    const auto at = std::find(std::begin(words), std::end(words), word);
    return at == std::end(words) ? -1 : static_cast<int>(at - std::begin(words));
}

}  // namespace stipple::export_preview

#include "support/RasterExpect.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <sstream>

namespace stipple::testing {

const ColourLegend& surfaceLegend() {
    static const ColourLegend legend = {
        {'K', 0x000000}, {'D', 0x808080}, {'L', 0xC0C0C0}, {'W', 0xFFFFFF},
        {'T', 0x008080}, {'G', 0xC0DCC0}, {'R', 0xFF0000},
    };
    return legend;
}

namespace {
char letterOf(Rgb colour, const ColourLegend& legend) {
    for (const auto& [letter, rgb] : legend) {
        if (rgb == colour) {
            return letter;
        }
    }
    return '?';
}
}  // namespace

std::string rasterBlockInLetters(const Raster& raster, int left, int top, int width, int height,
                                 const ColourLegend& legend) {
    std::string out;
    for (int y = top; y < top + height; ++y) {
        for (int x = left; x < left + width; ++x) {
            out += letterOf(raster.pixel(x, y), legend);
        }
        out += '\n';
    }
    return out;
}

void expectRasterBlock(const Raster& raster, int left, int top,
                       std::initializer_list<std::string_view> rows, const ColourLegend& legend,
                       std::source_location where) {
    expectRasterBlock(raster, left, top, std::span(rows.begin(), rows.size()), legend, where);
}

void expectRasterBlock(const Raster& raster, int left, int top,
                       std::span<const std::string_view> rows, const ColourLegend& legend,
                       std::source_location where) {
    int width = 0;
    for (std::string_view row : rows) {
        width = std::max(width, static_cast<int>(row.size()));
    }
    const int height = static_cast<int>(rows.size());

    std::ostringstream problems;
    int mismatches = 0;
    int y = top;
    for (std::string_view row : rows) {
        for (int i = 0; i < static_cast<int>(row.size()); ++i) {
            const char want = row[i];
            if (want == '.') {
                continue;
            }
            const auto known = legend.find(want);
            if (known == legend.end()) {
                problems << "  letter '" << want << "' is not in the legend\n";
                ++mismatches;
                continue;
            }
            const int x = left + i;
            const Rgb got = raster.pixel(x, y);
            if (got != known->second) {
                if (mismatches < 8) {
                    char line[96];
                    std::snprintf(line, sizeof line, "  (%d, %d): expected %c %06X, got %c %06X\n",
                                  x, y, want, known->second, letterOf(got, legend), got);
                    problems << line;
                }
                ++mismatches;
            }
        }
        ++y;
    }
    if (mismatches == 0) {
        return;
    }

    std::ostringstream message;
    message << mismatches << " pixel(s) differ in the block at (" << left << ", " << top << "), "
            << width << " x " << height << ":\n"
            << problems.str() << "expected:\n";
    for (std::string_view row : rows) {
        message << "  " << row << '\n';
    }
    message << "actual:\n";
    std::istringstream actual(rasterBlockInLetters(raster, left, top, width, height, legend));
    for (std::string line; std::getline(actual, line);) {
        message << "  " << line << '\n';
    }
    ADD_FAILURE_AT(where.file_name(), static_cast<int>(where.line())) << message.str();
}

}  // namespace stipple::testing

#include "editor/SizeInput.h"

#include <gtest/gtest.h>

namespace stipple {
namespace {

TEST(SizeInput, AcceptsOnlyDigitsWithinTheLimits) {
    struct Case {
        const char* height;
        const char* width;
        bool accepted;
        int w, h;
    };
    const Case cases[] = {
        {"2", "2", true, 2, 2},    {"92", "96", true, 96, 92}, {"05", "10", true, 10, 5},
        {"93", "10", false, 0, 0}, {"1", "10", false, 0, 0},   {"0", "10", false, 0, 0},
        {"10", "97", false, 0, 0}, {"10", "1", false, 0, 0},   {"", "10", false, 0, 0},
        {"10", "", false, 0, 0},   {"-5", "10", false, 0, 0},  {"1 ", "10", false, 0, 0},
        {"10", "a", false, 0, 0},  {"10", "+9", false, 0, 0},  {"999999999999", "9", false, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message()
                     << "height '" << c.height << "' width '" << c.width << "'");
        const auto size = parseSizeInput(c.height, c.width);
        ASSERT_EQ(size.has_value(), c.accepted);
        if (size) {
            EXPECT_EQ(size->width, c.w);
            EXPECT_EQ(size->height, c.h);
        }
    }
}

}  // namespace
}  // namespace stipple

// A font's glyphs as the user edits them: the current glyph's code point and metrics as one
// step of the history, how a glyph's character is written and typed, and New Font.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "editor/FrameCommands.h"
#include "editor/GlyphText.h"
#include "support/SessionFixture.h"

namespace stipple::testing {
namespace {

class FontCommands : public SessionFixture {
  protected:
    // A font of A and B, B current, as written.
    void makeFont() {
        change([](SessionState& st) {
            st.document.font = FontMetrics{3, 1, 4};
            st.document.frames.resize(2);
            st.document.frames[0].glyph = Glyph{65, 4, 0, 3};
            st.document.frames[1].glyph = Glyph{66, 2, 1, 1};
            st.document.current = 1;
        });
        s().markWritten();
    }
    Glyph glyph(int frame) const { return *s().document().frames[frame].glyph; }
};

TEST_F(FontCommands, AGlyphEditIsOneStepAndACodePointTakenIsRefused) {
    const Glyph b{66, 2, 1, 1};
    const struct {
        Glyph asked;
        Glyph made;  // b: refused or unchanged, no step
        const char* message;
    } cases[] = {
        {{0xE9, 5, -1, 2}, {0xE9, 5, -1, 2}, ""},
        {{kMaxCodePoint + 9, 5000, -5000, 1}, {kMaxCodePoint, 1024, -1024, 1}, ""},
        {{-3, 2, 1, 1}, {0, 2, 1, 1}, ""},
        {b, b, ""},
        {{65, 2, 1, 1}, b, "U+0041 is the code point of frame 1 already."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.asked.codePoint);
        restart();
        makeFont();
        setGlyph(s(), c.asked);
        EXPECT_EQ(host.messages.empty() ? "" : host.messages.back().first, c.message);
        EXPECT_EQ(glyph(1), c.made);
        EXPECT_EQ(s().undoCount(), c.made == b ? 0 : 1);
        EXPECT_EQ(s().hasUnwrittenChanges(), c.made != b);
        // Taken back from another frame, the glyph shows again.
        selectFrame(s(), 0);
        s().undoChange();
        EXPECT_EQ(glyph(1), b);
        s().redoChange();
        EXPECT_EQ(glyph(1), c.made);
        EXPECT_EQ(glyph(0), (Glyph{65, 4, 0, 3}));
    }
    restart();
    setGlyph(s(), {70, 1, 1, 1});  // a picture is no font
    EXPECT_EQ(s().undoCount(), 0);
}

// Nothing changes on Cancel, on a font not made, or when unwritten changes are kept.
TEST_F(FontCommands, NewFontReplacesTheSetWithTheRenderedFontInOneStep) {
    OutlineFontRequest font{STIPPLE_OUTLINE_FONT_FILE, "", 12, 65, 67, 2};
    OutlineFontRequest missing = font;
    missing.file = "/nowhere/missing.ttf";
    using Choice = Dialogs::CloseChoice;
    const struct {
        const OutlineFontRequest* answer;  // null: Cancel
        Choice close;
        std::size_t messages;
        bool made;
    } cases[] = {
        {nullptr, Choice::Discard, 0, false},
        {&missing, Choice::Discard, 1, false},
        {&font, Choice::Cancel, 0, false},
        {&font, Choice::Discard, 0, true},
    };
    for (const auto& c : cases) {
        restart();
        press(s(), MouseButton::Left, at(1), at(1));  // a change not written
        release(s(), MouseButton::Left, at(1), at(1));
        host.outlineFontAnswer = c.answer ? std::optional(*c.answer) : std::nullopt;
        host.closeAnswer = c.close;
        newFont(s());
        EXPECT_EQ(host.closeQuestions.size(), c.answer == &font ? 1u : 0u);
        EXPECT_EQ(host.messages.size(), c.messages);
        EXPECT_EQ(s().document().font.has_value(), c.made);
        EXPECT_EQ(s().document().frameCount(), c.made ? 3 : 1);
        EXPECT_EQ(s().undoCount(), c.made ? 2 : 1);
    }
    s().undoChange();
    EXPECT_FALSE(s().document().font.has_value());
}

TEST(GlyphText, CaptionsAndTypedCodePoints) {
    const std::pair<int, const char*> captions[] = {
        {65, "A"},
        {32, "U+0020"},
        {0x0A, "U+000A"},
        {0xA0, "U+00A0"},
        {0xD800, "U+D800"},
        {0xE9, "U+00E9 \xC3\xA9"},
        {0x1F600, "U+1F600 \xF0\x9F\x98\x80"},
    };
    for (const auto& [code, caption] : captions) {
        EXPECT_EQ(glyphCaption(code), caption) << code;
    }
    const std::pair<const char*, std::optional<int>> typed[] = {
        {"65", 65},       {"0X41", 65}, {" u+00e9 ", 0xE9}, {"U+10FFFF", kMaxCodePoint},
        {"", {}},         {"0x", {}},   {"U+", {}},         {"-1", {}},
        {"U+110000", {}}, {"12a", {}},
    };
    for (const auto& [text, value] : typed) {
        EXPECT_EQ(parseCodePoint(text), value) << text;
    }
}

}  // namespace
}  // namespace stipple::testing

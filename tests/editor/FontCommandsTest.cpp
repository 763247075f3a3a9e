// A font's glyphs as the user edits them: the current glyph's code point and metrics as one
// step of the history, how a glyph's character is written and typed, and New Font.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "editor/FileCommands.h"
#include "editor/FrameCommands.h"
#include "editor/GlyphText.h"
#include "support/SessionFixture.h"

namespace stipple::testing {
namespace {

class FontCommands : public SessionFixture {
  protected:
    // A font of A and B, B current, as written.
    void SetUp() override {
        SessionFixture::SetUp();
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
    const Glyph b = glyph(1);
    struct Case {
        const char* what;
        Glyph asked;
        std::optional<Glyph> made;  // nothing: refused or no change, no step
        const char* message;
    };
    const Case cases[] = {
        {"metrics", {66, 5, -1, 2}, Glyph{66, 5, -1, 2}, nullptr},
        {"code point", {0xE9, 2, 1, 1}, Glyph{0xE9, 2, 1, 1}, nullptr},
        {"held to the bounds",
         {kMaxCodePoint + 9, 5000, -5000, 1},
         Glyph{kMaxCodePoint, 1024, -1024, 1},
         nullptr},
        {"below the bounds", {-3, 2, 1, 1}, Glyph{0, 2, 1, 1}, nullptr},
        {"unchanged", b, std::nullopt, nullptr},
        {"taken", {65, 2, 1, 1}, std::nullopt, "U+0041 is the code point of frame 1 already."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SetUp();
        host.messages.clear();
        setGlyph(s(), c.asked);
        EXPECT_EQ(host.messages.empty() ? "" : host.messages.back().first,
                  c.message ? c.message : "");
        if (!c.made) {
            EXPECT_EQ(glyph(1), b);
            EXPECT_EQ(s().undoCount(), 0);
            EXPECT_FALSE(s().hasUnwrittenChanges());
            continue;
        }
        EXPECT_EQ(glyph(1), *c.made);
        EXPECT_TRUE(host.lastChanges.has(changed::kFrames));
        EXPECT_TRUE(s().hasUnwrittenChanges());
        EXPECT_EQ(s().undoCount(), 1);
        // Taken back from another frame, the glyph shows again.
        selectFrame(s(), 0);
        s().undoChange();
        EXPECT_EQ(glyph(1), b);
        EXPECT_EQ(s().document().current, 1);
        EXPECT_FALSE(s().hasUnwrittenChanges());
        s().redoChange();
        EXPECT_EQ(glyph(1), *c.made);
        EXPECT_EQ(glyph(0), (Glyph{65, 4, 0, 3}));
    }
}

using PlainSet = SessionFixture;

TEST_F(PlainSet, NothingIsAGlyphOutsideAFont) {
    setGlyph(s(), {70, 1, 1, 1});
    EXPECT_FALSE(s().document().currentFrame().glyph.has_value());
    EXPECT_EQ(s().undoCount(), 0);
}

// New Font: the request from the dialog, the question before unwritten changes go, and the
// font set as one step; nothing changes on Cancel, on a refusal or on a font not made.
TEST_F(PlainSet, NewFontReplacesTheSetWithTheRenderedFontInOneStep) {
    OutlineFontRequest request;
    request.file = STIPPLE_OUTLINE_FONT_FILE;
    request.first = 65;
    request.last = 67;
    OutlineFontRequest missing = request;
    missing.file = "/nowhere/missing.ttf";
    using Choice = Dialogs::CloseChoice;
    struct Case {
        const char* what;
        const OutlineFontRequest* answer;  // null: Cancel
        bool unwritten;
        Choice close;
        std::size_t closeQuestions, messages;
        bool made;
    };
    const Case cases[] = {
        {"cancelled", nullptr, true, Choice::Discard, 0, 0, false},
        {"not made", &missing, true, Choice::Discard, 0, 1, false},
        {"unwritten changes kept", &request, true, Choice::Cancel, 1, 0, false},
        {"unwritten changes dropped", &request, true, Choice::Discard, 1, 0, true},
        {"written", &request, false, Choice::Cancel, 0, 0, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        restart();
        if (c.unwritten) {
            press(s(), MouseButton::Left, at(1), at(1));
            release(s(), MouseButton::Left, at(1), at(1));
        }
        const int levels = s().undoCount();
        host.outlineFontAnswer = c.answer ? std::optional(*c.answer) : std::nullopt;
        host.closeAnswer = c.close;
        newFont(s());
        EXPECT_EQ(host.outlineFontQuestions, 1);
        EXPECT_EQ(host.closeQuestions.size(), c.closeQuestions);
        EXPECT_EQ(host.messages.size(), c.messages);
        const Document& d = s().document();
        EXPECT_EQ(d.font.has_value(), c.made);
        if (!c.made) {
            EXPECT_EQ(s().undoCount(), levels);
            continue;
        }
        ASSERT_EQ(d.frameCount(), 3);
        EXPECT_EQ(d.frames[0].glyph->codePoint, 65);
        EXPECT_EQ(d.current, 0);
        EXPECT_EQ(s().undoCount(), levels + 1);
        s().undoChange();
        EXPECT_FALSE(s().document().font.has_value());
        s().redoChange();
        EXPECT_EQ(s().document().frameCount(), 3);
    }
}

TEST(GlyphText, CaptionsAndTypedCodePoints) {
    const std::pair<int, const char*> captions[] = {
        {65, "A"},
        {0x7E, "~"},
        {32, "U+0020"},
        {0x0A, "U+000A"},
        {0x7F, "U+007F"},
        {0xA0, "U+00A0"},
        {0xE9, "U+00E9 \xC3\xA9"},
        {0x20AC, "U+20AC \xE2\x82\xAC"},
        {0x1F600, "U+1F600 \xF0\x9F\x98\x80"},
        {0xD800, "U+D800"},
    };
    for (const auto& [code, caption] : captions) {
        EXPECT_EQ(glyphCaption(code), caption) << code;
    }
    const std::pair<const char*, std::optional<int>> typed[] = {
        {"65", 65},
        {"0x41", 65},
        {"0X41", 65},
        {"U+00e9", 0xE9},
        {" u+41 ", 65},
        {"U+10FFFF", kMaxCodePoint},
        {"0", 0},
        {"", std::nullopt},
        {"0x", std::nullopt},
        {"U+", std::nullopt},
        {"-1", std::nullopt},
        {"U+110000", std::nullopt},
        {"A", std::nullopt},
        {"12a", std::nullopt},
    };
    for (const auto& [text, value] : typed) {
        EXPECT_EQ(parseCodePoint(text), value) << text;
    }
}

}  // namespace
}  // namespace stipple::testing

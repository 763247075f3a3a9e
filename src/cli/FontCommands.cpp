#include <span>

#include "cli/Fonts.h"
#include "formats/BdfFont.h"
#include "formats/GfxFont.h"
#include "formats/PictureFile.h"

namespace stipple::cli {

bool isFontForm(const std::string& form) {
    return form == "bdf" || form == "gfx";
}

std::string importBdfFont(ByteSource& input, const std::string& shown,
                          const std::optional<std::string>& name, Document& font) {
    const std::string couldNot = "Could not import \"" + shown + "\": ";
    if (input.size() > kMaxBdfBytes) {
        return couldNot + "it is " + std::to_string(input.size()) +
               " bytes long; a BDF font has at most " + std::to_string(kMaxBdfBytes) + ".";
    }
    std::string text(static_cast<std::size_t>(input.size()), '\0');
    if (!input.read(0, std::span(reinterpret_cast<std::uint8_t*>(text.data()), text.size()))) {
        return input.readFailure();
    }
    BdfReading reading = parseBdf(text);
    if (!reading) {
        return couldNot + reading.error + ".";
    }
    font = std::move(reading.font);
    font.setName = name.value_or(font.setName);
    return {};
}

std::string fontText(const std::string& form, const Document& set, const std::string& shown,
                     const std::string& name, std::string& text) {
    const std::string couldNot = "Could not export \"" + shown + "\" as a font: ";
    if (!set.font) {
        return couldNot + "it is not a font set (stipple import makes one of a BDF font).";
    }
    if (form == "bdf") {
        if (const std::string problem = exportableNameProblem(name); !problem.empty()) {
            return couldNot + problem;
        }
        text = encodeBdf(set, name);
        return {};
    }
    FontText gfx = gfxFontText(set, name);
    if (!gfx) {
        return couldNot + gfx.problem;
    }
    text = std::move(gfx.text);
    return {};
}

}  // namespace stipple::cli

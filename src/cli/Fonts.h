#pragma once
// Fonts for the commands: a BDF file imported as a font set, and a font set exported in the
// forms display libraries and X11's tools read.

#include <optional>
#include <string>

#include "io/ByteSource.h"
#include "model/Document.h"

namespace stipple::cli {

// The words --font takes.
inline constexpr const char* kFontForms = "bdf or gfx";
bool isFontForm(const std::string& form);

// The BDF file read whole into `font`, named `name` when given; empty when read, else the
// refusal.
std::string importBdfFont(ByteSource& input, const std::string& shown,
                          const std::optional<std::string>& name, Document& font);

// The text of `set` in the font form, named `name`; empty when written into `text`, else
// the refusal (also for a set that is not a font).
std::string fontText(const std::string& form, const Document& set, const std::string& shown,
                     const std::string& name, std::string& text);

}  // namespace stipple::cli

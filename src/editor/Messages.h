#pragma once
// The caption of the editor's message boxes.

namespace stipple {

inline constexpr const char* kMessageCaption = "Vexlan Tarn Stippleworkshop";

}  // namespace stipple

#pragma once
// The export texts: assembler ".byte" lines at 8, 1, 2 or 4 bits per pixel and the C++
// array, of the whole picture or of the copied box. Every line ends in CR LF.

#include "export/Packer.h"
#include "model/PictureModel.h"

namespace stipple {

enum class ExportSource { Picture, SelectedBox };

// Format codes of buildExportText.
constexpr int kFormatAsm8 = 1;
constexpr int kFormatCppArray = 2;
constexpr int kFormatAsm1 = 3;
constexpr int kFormatAsm2 = 4;
constexpr int kFormatAsm4 = 5;

// The picture (pictureWidth x pictureHeight of pixels) or the copied box (selWidth x
// selHeight of selBuffer), its size held to what the arrays can index.
PixelSource exportPixels(const PictureModel& model, ExportSource source);

}  // namespace stipple

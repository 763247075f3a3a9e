#include "app/Editor.h"

namespace stipple {

void Editor::applyBitmapImport(const BitmapImport& import) {
    if (import.importWidth < 1 || import.importHeight < 1) {
        return;  // a 0 x 0 picture would break every loop over the picture
    }
    for (int x = 1; x <= import.importWidth; ++x) {
        for (int y = 1; y <= import.importHeight; ++y) {
            pixels[x][y] = import.importPixels[x][y];
        }
    }
    pictureWidth = import.importWidth;
    pictureHeight = import.importHeight;
    redrawSurface();
}

}  // namespace stipple

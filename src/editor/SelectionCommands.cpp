#include "editor/SelectionCommands.h"

#include <algorithm>
#include <string>

#include "editor/Messages.h"

namespace stipple {

bool boxFitsAPicture(Session& s, const char* action) {
    if (s.selection().fitsAPicture()) {
        return true;
    }
    s.host().showMessage("The box is " + std::to_string(s.selection().selHeight) +
                             " rows high; a picture can be at most " +
                             std::to_string(kMaxPictureHeight) +
                             " rows high. Turn the box back before " + action + ".",
                         kMessageCaption);
    return false;
}

void clearBox(Session& s) {
    if (!s.selection().bufferFilled) {
        return;
    }
    s.edit(Step::Snapshot, [](SessionState& st) {
        Selection& sel = st.selection;
        sel.boxFromCorners();
        const int right = std::min(sel.boxRight, kMaxPictureWidth);
        const int bottom = std::min(sel.boxBottom, kMaxPictureHeight);
        for (int x = std::max(sel.boxLeft, 1); x <= right; ++x) {
            for (int y = std::max(sel.boxTop, 1); y <= bottom; ++y) {
                st.picture().pixels[x][y] = st.rightColour;
            }
        }
        return Changes{changed::kCells | changed::kSelection};
    });
}

void cropToSelection(Session& s) {
    if (!s.selection().bufferFilled || !boxFitsAPicture(s, "cutting it off")) {
        return;
    }
    s.edit(Step::Snapshot, [](SessionState& st) {
        Selection& sel = st.selection;
        st.picture().width = sel.selWidth;
        st.picture().height = sel.selHeight;
        for (int x = 1; x <= sel.selWidth; ++x) {
            for (int y = 1; y <= sel.selHeight; ++y) {
                st.picture().pixels[x][y] = sel.selBuffer[x][y];
            }
        }
        sel.selX1 = 0;
        sel.selY1 = 0;
        sel.selX2 = st.picture().width;
        sel.selY2 = st.picture().height;
        return Changes{changed::kCells | changed::kSize | changed::kSelection};
    });
}

namespace {

// The copied cells change; the picture does not.
void changeBuffer(Session& s, void (Selection::*turn)()) {
    s.edit(Step::None, [turn](SessionState& st) {
        (st.selection.*turn)();
        return Changes{changed::kBuffer};
    });
}

}  // namespace

void rotateLeft(Session& s) {
    changeBuffer(s, &Selection::rotateLeft);
}

void rotateRight(Session& s) {
    changeBuffer(s, &Selection::rotateRight);
}

void flipHorizontally(Session& s) {
    changeBuffer(s, &Selection::flipHorizontally);
}

void flipVertically(Session& s) {
    changeBuffer(s, &Selection::flipVertically);
}

}  // namespace stipple

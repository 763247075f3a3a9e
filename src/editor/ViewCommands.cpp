#include "editor/ViewCommands.h"

#include <algorithm>
#include <cmath>

namespace stipple {

namespace {

using namespace changed;

// One edit that changes the state and tells what it changed, without a history step.
template <typename Change>
void change(Session& s, Change&& apply) {
    s.edit(Step::None, std::forward<Change>(apply));
}

}  // namespace

void setLeftColour(Session& s, Pixel value) {
    change(s, [value](SessionState& st) {
        st.leftColour = value;
        return Changes{kColours};
    });
}

void setRightColour(Session& s, Pixel value) {
    change(s, [value](SessionState& st) {
        st.rightColour = value;
        return Changes{kColours};
    });
}

void pressPaletteColour(Session& s, MouseButton button, Pixel value) {
    if (button == MouseButton::Left) {
        setLeftColour(s, value);
    } else if (button == MouseButton::Right) {
        setRightColour(s, value);
    }
}

void selectTool(Session& s, Tool tool) {
    change(s, [tool](SessionState& st) {
        Changes changes{kTool};
        st.tool = tool;
        if (tool != Tool::Box && st.selection.frameShown) {
            st.selection.frameShown = false;
            changes.what |= kSelection;
        }
        return changes;
    });
}

void setBoxMode(Session& s, BoxMode mode) {
    change(s, [mode](SessionState& st) {
        st.boxMode = mode;
        return Changes{kTool};
    });
}

void setJoinStrokes(Session& s, bool on) {
    change(s, [on](SessionState& st) {
        st.joinStrokes = on;
        return Changes{kTool};
    });
}

void toggleJoinStrokes(Session& s) {
    setJoinStrokes(s, !s.state().joinStrokes);
}

// Steps of the history like Set Size, so that Undo takes back this one and not the one
// before it.
void setPictureWidth(Session& s, int width) {
    s.edit(Step::Snapshot, [width](SessionState& st) {
        st.picture().width = width;
        return Changes{kSize};
    });
}

void setPictureHeight(Session& s, int height) {
    s.edit(Step::Snapshot, [height](SessionState& st) {
        st.picture().height = height;
        return Changes{kSize};
    });
}

namespace {

// One undo step, then one cell more or less within [2, largest - 1].
void stepSize(Session& s, bool width, int delta) {
    s.edit(Step::Snapshot, [&](SessionState& st) {
        std::int32_t& size = width ? st.picture().width : st.picture().height;
        const int largest = width ? kMaxPictureWidth : kMaxPictureHeight;
        if (delta > 0 && size < largest - 1) {
            ++size;
        } else if (delta < 0 && size > 2) {
            --size;
        }
        return Changes{kSize};
    });
}

void stepPixelSize(Session& s, int delta) {
    change(s, [delta](SessionState& st) {
        int& size = st.view.pixelSize;
        if (delta > 0 && size < kMaxPixelSize) {
            ++size;
        } else if (delta < 0 && size > 1) {
            --size;
        }
        return Changes{kView};
    });
}

}  // namespace

void widthUp(Session& s) {
    stepSize(s, true, +1);
}

void widthDown(Session& s) {
    stepSize(s, true, -1);
}

void heightUp(Session& s) {
    stepSize(s, false, +1);
}

void heightDown(Session& s) {
    stepSize(s, false, -1);
}

void pixelSizeUp(Session& s) {
    stepPixelSize(s, +1);
}

void pixelSizeDown(Session& s) {
    stepPixelSize(s, -1);
}

void setPixelSize(Session& s, int size) {
    change(s, [size](SessionState& st) {
        st.view.pixelSize = size;
        return Changes{kView};
    });
}

void setSurfaceRoom(Session& s, int width, int height) {
    change(s, [=](SessionState& st) {
        st.view.roomWidth = std::min(width, Raster::kStoredWidth);
        st.view.roomHeight = std::min(height, Raster::kStoredHeight);
        return Changes{kView};
    });
}

void scrollSurfaceTo(Session& s, int x, int y) {
    if (x == s.view().scrollX && y == s.view().scrollY) {
        return;
    }
    change(s, [=](SessionState& st) {
        st.view.scrollX = x;
        st.view.scrollY = y;
        return Changes{kView};  // held to the scroll bars' reach as it is announced
    });
}

void zoomAt(Session& s, bool zoomIn, int x, int y) {
    const ViewSettings before = s.view();
    s.edit(Step::None, [&](SessionState& st) {
        stepPixelSize(s, zoomIn ? +1 : -1);
        // The same point of the picture, in the new cell size, under the pointer.
        const double scale = static_cast<double>(st.view.pixelSize) / before.pixelSize;
        st.view.scrollX = static_cast<int>(std::lround((before.scrollX + x) * scale)) - x;
        st.view.scrollY = static_cast<int>(std::lround((before.scrollY + y) * scale)) - y;
        return Changes{kView};
    });
}

void toggleGrids(Session& s) {
    change(s, [](SessionState& st) {
        st.view.gridsOn = !st.view.gridsOn;
        return Changes{kView};
    });
}

void toggleBorder(Session& s) {
    change(s, [](SessionState& st) {
        st.view.borderOn = !st.view.borderOn;
        return Changes{kView};
    });
}

void askAndSetSize(Session& s) {
    int width = s.picture().width;
    int height = s.picture().height;
    if (!s.host().askPictureSize(width, height)) {
        return;
    }
    s.edit(Step::Snapshot, [=](SessionState& st) {
        st.picture().height = height;
        st.picture().width = width;
        return Changes{kSize};
    });
}

void fillPicture(SessionState& st) {
    for (int x = 1; x <= kMaxPictureWidth; ++x) {
        for (int y = 1; y <= kMaxPictureHeight; ++y) {
            st.picture().pixels[x][y] = st.rightColour;
        }
    }
}

void clearImage(Session& s) {
    // It asks nothing, so it must be possible to take back.
    s.edit(Step::Snapshot, [](SessionState& st) {
        fillPicture(st);
        return Changes{kCells};
    });
}

}  // namespace stipple

#pragma once
// Everything an edit of the session may change: the document, the selection, the view, the
// tools and colours, and what the mouse holds.

#include <string>

#include "editor/SurfaceGeometry.h"
#include "model/Document.h"
#include "model/FloodFill.h"
#include "model/Picture.h"
#include "model/Selection.h"
#include "render/SurfaceRenderer.h"

namespace stipple {

enum class Tool { Pen, Bucket, Pipe, ChangeColour, Box };
// What a left press of the box tool does, as the Select tool panel's mode buttons say.
enum class BoxMode { Select, Paste };
enum class MouseButton { Left, Right, Middle };

// Everything an edit may change.
struct SessionState {
    Document document;
    Selection selection;
    ViewSettings view;
    Tool tool = Tool::Pen;
    BoxMode boxMode = BoxMode::Select;
    Pixel leftColour = kBlack;
    Pixel rightColour = kBlack;
    bool alignToByte = false;
    // The mouse: the buttons held and a box drag under way.
    bool leftDown = false;
    bool rightDown = false;
    bool boxDragging = false;
    // The last cell the pen touched in this picture, 1-based; 0 before the first. A
    // shift-press draws a straight line from it.
    int lastPenX = 0;
    int lastPenY = 0;
    // With joinStrokes, a pen drag paints every cell between successive pointer positions;
    // strokeX, strokeY is the cell (any, also beyond the picture) the pointer was last in.
    bool joinStrokes = false;
    int strokeX = 0;
    int strokeY = 0;
    // Room for the bucket's fill, kept so that a fill allocates nothing.
    FloodFill flood;

    SurfaceGeometry geometry() const { return {view, picture().width, picture().height}; }
    // The picture being edited and its name.
    Picture& picture() { return document.currentFrame().picture; }
    const Picture& picture() const { return document.currentFrame().picture; }
    std::string& name() { return document.currentFrame().name; }
    const std::string& name() const { return document.currentFrame().name; }
};

}  // namespace stipple

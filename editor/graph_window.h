#pragma once
#include <windows.h>

#include "editor/graph_geometry.h"

// The envelope graph window (class "QX_SysexGraph", procedure GraphWindowProc): the Program
// Editor's envelopes drawn from the program being edited, with handles to drag on the selected
// curve.
LRESULT CALLBACK GraphWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Child IDs of the two scroll bars.
inline constexpr int mainScrollBarId = 1;
inline constexpr int releaseScrollBarId = 2;

// The graph's state, one for the whole process: the selection and the scrolling carry over to
// the next graph window the editor opens.
struct GraphState {
    int selectedCurve = 0;
    int mainOffset = 0;
    int releaseOffset = 0;
    int mainExtent = 0;
    int releaseExtent = 0;
    HandlePositions handles{};
    // Moving the whole window by dragging its plot.
    bool moving = false;
    POINT grab{};
    RECT grabWindow{}; // left, top, right, bottom at the grab
    RECT outline{};    // the outline now inverted on the screen
    // Dragging a handle: its number + 1 (0: none), where it may go and the square now inverted.
    int draggedHandle = 0;
    DragLimits limits{};
    RECT dragOutline{};
};

extern GraphState graph;

// The curves' pens and brushes, in the order of graphCurves, shared by every graph window: the
// first window alive makes them and the last one deletes them.
struct GraphDrawingResources {
    HPEN pens[6] = {};
    HBRUSH brushes[6] = {};
    int liveWindows = 0;
};
extern GraphDrawingResources graphResources;
void AcquireGraphResources();
void ReleaseGraphResources();

// Shared between the graph window's files.
// The square framing a handle; a dragged handle's outline is the same square.
inline RECT HandleSquare(GraphPoint point) {
    return {point.x - 4, point.y - 4, point.x + 5, point.y + 5};
}
GraphFrame CurrentGraphFrame(HWND window);
void PaintGraph(HWND window);
void GraphButtonDown(HWND window, POINT point);
void GraphMouseMove(HWND window, POINT point);
void GraphButtonUp(HWND window, POINT point);
// Ends a window move or a handle drag that lost the mouse without a button up.
void GraphCaptureLost(HWND window);

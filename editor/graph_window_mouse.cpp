#include "editor/editor_state.h"
#include "editor/editor_window.h"
#include "editor/graph_window.h"
#include "shell/settings.h"
#include "shell/shell_state.h"

namespace {

// The editor window: the current module window, which owns the program being drawn.
HWND EditorWindow() {
    return shell.currentModuleWindow;
}

// Drag feedback is drawn by inversion, so drawing the same rectangle again takes it away.
void InvertOnWindow(HWND window, const RECT& rect) {
    HDC dc = GetDC(window);
    DrawFocusRect(dc, &rect);
    ReleaseDC(window, dc);
}

void InvertOnScreen(const RECT& rect) {
    HDC dc = CreateDCA("DISPLAY", nullptr, nullptr, nullptr);
    DrawFocusRect(dc, &rect);
    DeleteDC(dc);
}

// The window's outline when the pointer (client coordinates at the grab) is at `point`: moved by
// exactly the pointer's displacement since the grab.
RECT MovedOutline(POINT point) {
    const RECT& at = graph.grabWindow;
    const int left = point.x - graph.grab.x + at.left;
    const int top = point.y - graph.grab.y + at.top;
    return {left, top, left + (at.right - at.left), top + (at.bottom - at.top)};
}

const GraphCurve* SelectedCurve() {
    return CurveNumbered(graph.selectedCurve);
}

void StartHandleDrag(HWND window, int handle, POINT point) {
    const GraphCurve* curve = SelectedCurve();
    if (!curve)
        return;
    const Envelope envelope =
        ReadEnvelope(editor.program.oscillator[curve->oscillator], curve->kind);
    graph.limits =
        LimitsOfHandle(curve->kind, handle, envelope, CurrentGraphFrame(window), graph.handles);
    graph.dragOutline = HandleSquare(ClampIntoLimits({point.x, point.y}, graph.limits));
    InvertOnWindow(window, graph.dragOutline);
    SetCapture(window);
    graph.draggedHandle = handle + 1;
}

void StartWindowMove(HWND window, POINT point) {
    graph.grab = point;
    GetWindowRect(window, &graph.grabWindow);
    SetCapture(window);
    graph.moving = true;
    graph.outline = MovedOutline(point);
    InvertOnScreen(graph.outline);
}

void DropHandle(HWND window, POINT point) {
    const int handle = graph.draggedHandle - 1;
    graph.draggedHandle = 0;
    ReleaseCapture();
    const GraphCurve* curve = SelectedCurve();
    if (!curve)
        return;
    const GraphPoint dropped = ClampIntoLimits({point.x, point.y}, graph.limits);
    ApplyHandleDrop(editor.program.oscillator[curve->oscillator], curve->kind, handle, dropped,
                    graph.limits, PlotHeight(CurrentGraphFrame(window)));
    SendMessageA(EditorWindow(), editorProgramChanged, 0, 0);
}

void EndWindowMove(HWND window) {
    graph.moving = false;
    ReleaseCapture();
    InvertOnScreen(graph.outline);
    const RECT& to = graph.outline;
    MoveWindow(window, to.left, to.top, to.right - to.left, to.bottom - to.top, TRUE);
}

} // namespace

void GraphButtonDown(HWND window, POINT point) {
    if (graph.moving || graph.draggedHandle != 0)
        return;
    if (point.x <= legendWidth) {
        const int row = LegendRowAt(point.y, CurrentGraphFrame(window).height);
        ClickLegendRow(row, settings, editor.program.oscMode, graph.selectedCurve);
        InvalidateRect(window, nullptr, TRUE);
        return;
    }
    const int handle = HandleAt(graph.handles, point.x, point.y);
    if (handle != noHandle)
        StartHandleDrag(window, handle, point);
    else
        StartWindowMove(window, point);
}

void GraphMouseMove(HWND window, POINT point) {
    const bool overHandle = HandleAt(graph.handles, point.x, point.y) != noHandle;
    if ((overHandle || graph.draggedHandle != 0) && !graph.moving)
        SetCursor(LoadCursorA(nullptr, IDC_CROSS));
    else
        ShowBusyCursor();
    if (graph.moving) {
        InvertOnScreen(graph.outline);
        graph.outline = MovedOutline(point);
        InvertOnScreen(graph.outline);
    } else if (graph.draggedHandle != 0) {
        InvertOnWindow(window, graph.dragOutline);
        graph.dragOutline = HandleSquare(ClampIntoLimits({point.x, point.y}, graph.limits));
        InvertOnWindow(window, graph.dragOutline);
    }
}

void GraphButtonUp(HWND window, POINT point) {
    if (graph.moving)
        EndWindowMove(window);
    else if (graph.draggedHandle != 0)
        DropHandle(window, point);
    SetFocus(EditorWindow());
}

// Another window took the mouse in the middle of a move or a drag (a message box, the task
// switch): the outline is taken away and nothing is moved or written, as no drop happened.
void GraphCaptureLost(HWND window) {
    if (graph.moving) {
        graph.moving = false;
        InvertOnScreen(graph.outline);
    } else if (graph.draggedHandle != 0) {
        graph.draggedHandle = 0;
        InvertOnWindow(window, graph.dragOutline);
    }
}

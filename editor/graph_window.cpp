#include "editor/graph_window.h"

#include "shell/settings.h"
#include "shell/shell_state.h"

#include <windowsx.h>

GraphState graph;

GraphFrame CurrentGraphFrame(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    GraphFrame frame;
    frame.width = client.right;
    frame.height = client.bottom;
    frame.scrollBarHeight = GetSystemMetrics(SM_CYHSCROLL);
    frame.mainOffset = graph.mainOffset;
    frame.releaseOffset = graph.releaseOffset;
    frame.mainExtent = graph.mainExtent;
    frame.releaseExtent = graph.releaseExtent;
    return frame;
}

namespace {

void CreateScrollBars(HWND window) {
    for (int id : {mainScrollBarId, releaseScrollBarId})
        CreateWindowA("scrollbar", "", WS_CHILD | WS_VISIBLE | SBS_HORZ, 0, 0, 0, 0, window,
                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), shell.instance, nullptr);
}

// The bars lie under the plot: one under the main area, one under the release area.
void PlaceScrollBars(HWND window) {
    const GraphFrame frame = CurrentGraphFrame(window);
    const int main = MainAreaWidth(frame);
    const int top = frame.height - frame.scrollBarHeight;
    MoveWindow(GetDlgItem(window, mainScrollBarId), legendWidth, top, main, frame.scrollBarHeight,
               TRUE);
    MoveWindow(GetDlgItem(window, releaseScrollBarId), legendWidth + main, top,
               frame.width - main - legendWidth, frame.scrollBarHeight, TRUE);
}

// Where the window stands goes into the settings, which keep it for the next start.
void RememberGraphPlace(HWND window) {
    RECT outer{};
    if (!GetWindowRect(window, &outer))
        return;
    settings.GraphX = outer.left;
    settings.GraphY = outer.top;
    settings.GraphW = outer.right - outer.left;
    settings.GraphH = outer.bottom - outer.top;
}

void Scroll(HWND window, HWND bar, int code, int thumb) {
    int* offset = nullptr;
    if (bar && bar == GetDlgItem(window, mainScrollBarId))
        offset = &graph.mainOffset;
    else if (bar && bar == GetDlgItem(window, releaseScrollBarId))
        offset = &graph.releaseOffset;
    if (!offset)
        return;
    int rangeMin = 0;
    int rangeMax = 0;
    GetScrollRange(bar, SB_CTL, &rangeMin, &rangeMax);
    const auto scrolled =
        ScrolledOffset(*offset, code, thumb, MainAreaWidth(CurrentGraphFrame(window)), rangeMax);
    if (!scrolled)
        return;
    *offset = *scrolled;
    SetScrollPos(bar, SB_CTL, -*offset, FALSE);
    InvalidateRect(window, nullptr, TRUE);
}

POINT PointOf(LPARAM lParam) {
    return {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
}

} // namespace

LRESULT CALLBACK GraphWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        AcquireGraphResources();
        CreateScrollBars(window);
        return 0;
    case WM_SIZE:
        PlaceScrollBars(window);
        return 0;
    case WM_DESTROY:
        RememberGraphPlace(window);
        ReleaseGraphResources();
        return 0;
    case WM_HSCROLL:
        Scroll(window, reinterpret_cast<HWND>(lParam), LOWORD(wParam), HIWORD(wParam));
        return 0;
    case WM_PAINT:
        PaintGraph(window);
        return 0;
    case WM_LBUTTONDOWN:
        GraphButtonDown(window, PointOf(lParam));
        return 0;
    case WM_MOUSEMOVE:
        GraphMouseMove(window, PointOf(lParam));
        return 0;
    case WM_LBUTTONUP:
        GraphButtonUp(window, PointOf(lParam));
        return 0;
    case WM_CAPTURECHANGED:
        GraphCaptureLost(window);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

#include "editor/time_track.h"

#include "editor/time_track_state.h"
#include "shell/shell_state.h"

#include <windowsx.h>

#include <cstring>

namespace {

// Shared by every time-track control: the first alive makes them, the last deletes them.
struct TimeTrackResources {
    HBRUSH red = nullptr;
    HBRUSH blue = nullptr;
    HFONT font = nullptr;
    int liveControls = 0;
};
TimeTrackResources timeTrack;

// The font fills half the control's height, so that one label fits each half.
void AcquireResources(HWND control) {
    if (timeTrack.liveControls++ > 0)
        return;
    RECT client{};
    GetClientRect(control, &client);
    timeTrack.red = CreateSolidBrush(RGB(255, 0, 0));
    timeTrack.blue = CreateSolidBrush(RGB(0, 0, 255));
    timeTrack.font = CreateFontA(-(client.bottom / 2), client.right / 4, 0, 0, FW_DONTCARE, FALSE,
                                 FALSE, FALSE, ANSI_CHARSET, OUT_STRING_PRECIS, CLIP_MASK,
                                 DRAFT_QUALITY, VARIABLE_PITCH, nullptr);
}

void ReleaseResources() {
    if (timeTrack.liveControls <= 0 || --timeTrack.liveControls > 0)
        return;
    DeleteObject(timeTrack.red);
    DeleteObject(timeTrack.blue);
    DeleteObject(timeTrack.font);
    timeTrack = {};
}

HBRUSH BrushOf(int state) {
    switch (state) {
    case timeTrackPositive:
        return timeTrack.red;
    case timeTrackNegative:
        return timeTrack.blue;
    default:
        return static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH));
    }
}

long StatesOf(HWND control) {
    return static_cast<long>(GetWindowLongA(control, 0));
}

void SetStates(HWND control, int tracking, int velocity) {
    SetWindowLongA(control, 0, PackTimeTrackStates(tracking, velocity));
}

// The class has no background brush: the two halves together cover every pixel.
void PaintHalf(HDC dc, const RECT& half, int state, bool upper, int centre) {
    HBRUSH brush = BrushOf(state);
    if (brush)
        FillRect(dc, &half, brush);
    const char* label = TimeTrackLabel(state, upper);
    TextOutA(dc, centre, half.top, label, static_cast<int>(std::strlen(label)));
}

void Paint(HWND control) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(control, &paint);
    RECT client{};
    GetClientRect(control, &client);
    const int w = client.right;
    const int h = client.bottom;
    const long states = StatesOf(control);
    SelectObject(dc, GetStockObject(NULL_PEN));
    SetTextAlign(dc, TA_CENTER | TA_TOP);
    SetBkMode(dc, TRANSPARENT);
    if (timeTrack.font)
        SelectObject(dc, timeTrack.font);
    PaintHalf(dc, {0, 0, w, (h + 1) / 2}, TrackingOfPacked(states), true, w / 2);
    PaintHalf(dc, {0, h / 2, w, h}, VelocityOfPacked(states), false, w / 2);
    EndPaint(control, &paint);
}

void Click(HWND control, int y) {
    RECT client{};
    GetClientRect(control, &client);
    const long states = StatesOf(control);
    int tracking = TrackingOfPacked(states);
    int velocity = VelocityOfPacked(states);
    if (TimeTrackUpperHalf(y, client.bottom))
        tracking = NextTimeTrackState(tracking);
    else
        velocity = NextTimeTrackState(velocity);
    SetStates(control, tracking, velocity);
    InvalidateRect(control, nullptr, FALSE);
    SendMessageA(GetParent(control), WM_COMMAND, static_cast<WPARAM>(GetDlgCtrlID(control)), 0);
}

} // namespace

LRESULT CALLBACK TimeTrackProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        AcquireResources(control);
        SetStates(control, timeTrackOff, timeTrackOff);
        return 0;
    case WM_DESTROY:
        ReleaseResources();
        return 0;
    case WM_PAINT:
        Paint(control);
        return 0;
    case WM_LBUTTONDOWN:
        Click(control, GET_Y_LPARAM(lParam));
        return 0;
    case WM_MOUSEMOVE:
        ShowBusyCursor();
        return 0;
    case timeTrackSetStates:
        SetStates(control, static_cast<int>(wParam), static_cast<int>(lParam));
        InvalidateRect(control, nullptr, FALSE);
        return 0;
    case timeTrackGetTracking:
        return TimeTrackSwitchBits(TrackingOfPacked(StatesOf(control)));
    case timeTrackGetVelocity:
        return TimeTrackSwitchBits(VelocityOfPacked(StatesOf(control)));
    }
    return DefWindowProcA(control, message, wParam, lParam);
}

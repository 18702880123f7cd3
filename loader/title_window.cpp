// The title window: the picture with the module markers under it, in a framed pop-up in the
// middle of the screen that stays on top until the main program's first window has painted.
#include "loader/loader_state.h"
#include "loader/start_choice.h"
#include "shell/loader_protocol.h"

namespace {

constexpr int titleWidth = 501;
constexpr int titleHeight = 334;
constexpr UINT_PTR lookTimer = 1;
constexpr UINT lookInterval = 100;

// The markers under the picture: Manager, Librarian, Editor.
constexpr int markerLeft[] = {0, 125, 250};
constexpr int markerWidth = 5;
constexpr int markerTop = 300;
constexpr int markerBottom = 334;

const char* const moduleClasses[] = {managerWindowClass, librarianWindowClass, editorWindowClass};

// CTRL is read at the moment of drawing, so that pressing or releasing it moves the marker.
void DrawMarkers(HDC dc) {
    int index =
        MarkerIndex(loader.startModule, GetAsyncKeyState(VK_CONTROL) < 0, loader.editorPossible);
    HGDIOBJ white = GetStockObject(WHITE_BRUSH);
    for (int marker = 0; marker < 3; ++marker) {
        SelectObject(dc, marker == index ? loader.markerBrush : white);
        Rectangle(dc, markerLeft[marker], markerTop, markerLeft[marker] + markerWidth,
                  markerBottom);
    }
    SelectObject(dc, white);
}

void SelectMarkerTools(HDC dc) {
    SelectObject(dc, GetStockObject(NULL_PEN));
    SelectObject(dc, GetStockObject(WHITE_BRUSH));
}

void DrawTitleBitmap(HDC dc) {
    if (!loader.titleBitmap)
        return;
    HDC memory = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(memory, loader.titleBitmap);
    SetMapMode(memory, GetMapMode(dc));
    BITMAP description{};
    GetObjectA(loader.titleBitmap, sizeof description, &description);
    POINT size = {description.bmWidth, description.bmHeight};
    DPtoLP(dc, &size, 1);
    POINT origin = {0, 0};
    DPtoLP(memory, &origin, 1);
    BitBlt(dc, 0, 0, size.x, size.y, memory, origin.x, origin.y, SRCCOPY);
    SelectObject(memory, old);
    DeleteDC(memory);
}

// "/librarian <definition>": the Editor marker is possible when the definition's file, looked
// up in the current folder, has a Korg M1 name.
bool DefinitionIsKorgM1() {
    std::string name = DefinitionFileName(loader.commandLineTail);
    if (name.empty())
        return false;
    WIN32_FIND_DATAA found{};
    HANDLE search = FindFirstFileA(name.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return false;
    FindClose(search);
    return IsKorgM1FileName(found.cFileName);
}

void CreateTitle(HWND window) {
    loader.startModule = StartModuleFor(loader.commandLineTail);
    if (NamesInstrumentDefinition(loader.commandLineTail))
        loader.editorPossible = DefinitionIsKorgM1();
    HDC dc = GetDC(window);
    LoadTitlePicture(dc, "Title", &loader.titleBitmap);
    RealizeTitlePalette(dc);
    loader.markerBrush = CreateSolidBrush(RGB(255, 0, 0));
    ReleaseDC(window, dc);
}

// Ends the loader without its title: the box must not hide behind the top-most picture.
void GiveUp(HWND window) {
    ShowWindow(window, SW_HIDE);
    ReportStartFailure();
    DestroyWindow(window);
}

// The main program starts once the picture is on the screen.
void FirstPaint(HWND window) {
    SetForegroundWindow(window);
    SetActiveWindow(window);
    loader.launched = true;
    if (!StartMainProgram()) {
        GiveUp(window);
        return;
    }
    SetTimer(window, lookTimer, lookInterval, nullptr);
}

void Paint(HWND window) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    RealizeTitlePalette(dc);
    DrawTitleBitmap(dc);
    SelectMarkerTools(dc);
    DrawMarkers(dc);
    EndPaint(window, &paint);
    if (!loader.launched)
        FirstPaint(window);
}

void RedrawMarkers(HWND window) {
    HDC dc = GetDC(window);
    SelectMarkerTools(dc);
    DrawMarkers(dc);
    ReleaseDC(window, dc);
}

HWND FindModuleWindow() {
    for (const char* moduleClass : moduleClasses)
        if (HWND found = FindWindowA(moduleClass, nullptr))
            return found;
    return nullptr;
}

void LookForMainProgram(HWND window) {
    if (HWND module = FindModuleWindow()) {
        KillTimer(window, lookTimer);
        PostMessageA(module, titleWindowMessage, reinterpret_cast<WPARAM>(window), 0);
        SetForegroundWindow(module);
        return;
    }
    // Without a module window the main program closes no title (a /send, a crash).
    if (MainProgramHasEnded()) {
        KillTimer(window, lookTimer);
        DestroyWindow(window);
    }
}

LRESULT CALLBACK TitleWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        CreateTitle(window);
        return 0;
    case WM_PAINT:
        Paint(window);
        return 0;
    case WM_KEYDOWN:
    case WM_KEYUP:
        RedrawMarkers(window);
        break;
    case WM_TIMER:
        if (wParam == lookTimer)
            LookForMainProgram(window);
        return 0;
    case WM_CLOSE:
        DestroyWindow(window);
        return 0;
    case WM_SETFOCUS: {
        HDC dc = GetDC(window);
        RealizeTitlePalette(dc);
        ReleaseDC(window, dc);
        return 0;
    }
    case WM_DESTROY:
        if (loader.titlePalette)
            DeleteObject(loader.titlePalette);
        if (loader.markerBrush)
            DeleteObject(loader.markerBrush);
        if (loader.titleBitmap)
            DeleteObject(loader.titleBitmap);
        if (loader.mainProgram)
            CloseHandle(loader.mainProgram);
        loader.titlePalette = nullptr;
        loader.markerBrush = nullptr;
        loader.titleBitmap = nullptr;
        loader.mainProgram = nullptr;
        PostQuitMessage(loader.exitCode);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

} // namespace

int ShowTitleWindow() {
    WNDCLASSA windowClass{};
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = TitleWindowProc;
    windowClass.hInstance = loader.instance;
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.lpszClassName = loaderWindowClass;
    RegisterClassA(&windowClass);

    int outerWidth = titleWidth + 2 * GetSystemMetrics(SM_CXDLGFRAME);
    int outerHeight = titleHeight + 2 * GetSystemMetrics(SM_CYDLGFRAME);
    int left = (GetSystemMetrics(SM_CXSCREEN) - outerWidth) / 2;
    int top = (GetSystemMetrics(SM_CYSCREEN) - outerHeight) / 2;
    HWND window =
        CreateWindowExA(0, loaderWindowClass, "", WS_POPUP | WS_VISIBLE | WS_DLGFRAME, left, top,
                        outerWidth, outerHeight, nullptr, nullptr, loader.instance, nullptr);
    if (!window)
        return StartWithoutTitle(); // the user still gets the program
    SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);

    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return static_cast<int>(message.wParam);
}

#include <windows.h>
// The virtual instrument comes here.
extern "C" __declspec(dllexport) LRESULT WINAPI DriverProc(DWORD_PTR, HDRVR, UINT, LPARAM, LPARAM) {
    return 1;
}

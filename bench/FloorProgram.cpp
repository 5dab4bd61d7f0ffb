// The floor of a run: what every start of the client must do first, and nothing more.
// It asks for the foreground window (which maps user32, as the client's capture of the
// viewer does) and ends. Built like Varnholt.exe: static, 32-bit, subsystem windows.
#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    return GetForegroundWindow() == nullptr ? 1 : 0;
}

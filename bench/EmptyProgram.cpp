// A truly empty program, built like Varnholt.exe: the cost of a start and an exit alone.
#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    return 0;
}

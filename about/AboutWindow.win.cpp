#include "about/AboutWindow.h"

void AboutCommand(const std::wstring&) {}
bool AboutWindowIsOpen() {
    return false;
}

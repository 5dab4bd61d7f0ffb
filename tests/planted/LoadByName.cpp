// The control beside the planted libraries: loads each library named on its command line
// (names apart by blanks) by its bare name, as a program that sets no search rule does.
#include <windows.h>

#include <sstream>
#include <string>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR arguments, int) {
    std::wistringstream names(arguments);
    for (std::wstring name; names >> name;)
        LoadLibraryW(name.c_str());
    return 0;
}

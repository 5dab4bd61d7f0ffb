// The control beside the planted libraries: loads each library its command line names by
// its bare name, as a program that sets no search rule does.
#include <windows.h>

#include <sstream>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR arguments, int) {
    std::wistringstream names(arguments);
    for (std::wstring name; names >> name;)
        LoadLibraryW(name.c_str());
    return 0;
}

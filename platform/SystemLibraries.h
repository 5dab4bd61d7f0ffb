// Libraries come from the system folder only. Windows looks for a library named without a
// path in the program's own folder first (every one that is not a KnownDLL: version,
// wininet, oleacc, uxtheme, msimg32, ...), and the program may lie in a folder that others
// can write (a dictionary copied into Downloads, a school's share): a DLL dropped beside it
// would run inside the program with the reader's rights.
#pragma once
#include <windows.h>

// Makes the system folder the only place the process loads libraries from by name, for its
// own loads and for those of the system's DLLs (user32 loads uxtheme by its bare name). On
// a Windows without SetDefaultDllDirectories (Vista and 7 lacking their security update)
// it takes the current folder out of the search at least. Called first, before anything
// that may load a library.
void LoadLibrariesFromSystemFolderOnly();

// The library from the system folder, or from the side-by-side store where the program's
// manifest binds it (comctl32 v6); nullptr when there is none.
HMODULE LoadSystemLibrary(const char* name);

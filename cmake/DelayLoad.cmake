# The DLLs that only some commands need, loaded when such a command first calls into
# them: the shell (and COM for it) for /run and the link, COM and OLE automation for
# /title's WMI query, WinINet, the common controls and the version reader for the About
# window, /reg, /run and /move, and the accessibility library when a screen reader asks
# the link.
# Every other run maps only what a window lookup maps anyway.
#
# Varnholt.exe imports these DLLs delay-loaded: an import library made by dlltool from
# the list below sends the first call of a function through mingw-w64's
# __delayLoadHelper2, which loads the DLL and binds the function. Each list names the
# functions the program calls, as the 32-bit import names them (name@argument bytes). A
# function missing here would be imported at load (or not link): check-imports.sh
# refuses a load-time import of these DLLs.
set(VARNHOLT_DELAY_LOADED_DLLS
  "shell32.dll ShellExecuteExA@4"
  "comctl32.dll DefSubclassProc@16 InitCommonControlsEx@4 RemoveWindowSubclass@12
     SetWindowSubclass@16"
  "ole32.dll CoCreateInstance@20 CoInitializeEx@8 CoSetProxyBlanket@32 CoUninitialize@0"
  "oleaut32.dll SysAllocStringLen@8 SysFreeString@4 SysStringLen@4 VariantClear@4 VariantInit@4"
  "version.dll VerQueryValueW@16"
  "oleacc.dll CreateStdAccessibleObject@16 LresultFromObject@12"
  "wininet.dll HttpOpenRequestA@32 HttpSendRequestA@20 InternetCloseHandle@4 InternetConnectA@32
     InternetCrackUrlA@16 InternetGetConnectedState@8 InternetOpenA@20
     InternetQueryDataAvailable@16 InternetReadFile@16 InternetSetOptionA@16
     HttpQueryInfoA@20 InternetCombineUrlA@20")

function(varnholt_delay_load target)
  foreach(entry IN LISTS VARNHOLT_DELAY_LOADED_DLLS)
    separate_arguments(parts UNIX_COMMAND "${entry}")
    list(GET parts 0 dll)
    list(SUBLIST parts 1 -1 functions)
    get_filename_component(name ${dll} NAME_WE)
    set(def ${CMAKE_BINARY_DIR}/delayload/${name}.def)
    set(lib ${CMAKE_BINARY_DIR}/delayload/lib${name}_delay.a)
    list(JOIN functions "\n" exports)
    file(CONFIGURE OUTPUT ${def} CONTENT "LIBRARY ${dll}\nEXPORTS\n${exports}\n")
    add_custom_command(OUTPUT ${lib}
      COMMAND ${CMAKE_DLLTOOL} -k -d ${def} -y ${lib}
      DEPENDS ${def}
      COMMENT "Delay-load import library for ${dll}")
    add_custom_target(${target}_delayload_${name} DEPENDS ${lib})
    add_dependencies(${target} ${target}_delayload_${name})
    target_link_libraries(${target} PRIVATE ${lib})
    # ld drops the code of an import that nothing calls by name, and a delay-loaded
    # import's first call runs through that code: keep it.
    foreach(function IN LISTS functions)
      target_link_options(${target} PRIVATE -Wl,-u,_${function})
    endforeach()
  endforeach()
endfunction()

// Which keyboard layout /keyb asks the viewer for: an installed one for the Cyrillic
// languages (falling back from one to another), otherwise one loaded by name.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

// Russian, Ukrainian, Belarusian, Bulgarian: the fallback order.
inline const std::vector<std::int32_t> CyrillicLanguages = {1049, 1058, 1059, 1026};

// The language as eight upper-case hexadecimal digits ("00000419"), the name form that
// LoadKeyboardLayout takes.
std::wstring LayoutName(std::int32_t language);

struct LayoutChoice {
    std::int32_t position = -1; // index into the installed list, or -1: load by name
    std::wstring layoutName;    // set when position is -1
};

// installedLanguages: the language of each installed layout, in the system's order.
LayoutChoice ChooseLayout(std::int32_t language,
                          const std::vector<std::int32_t>& installedLanguages);

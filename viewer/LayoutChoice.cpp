#include "viewer/LayoutChoice.h"

#include "text/Numbers.h"
#include "text/TextUtil.h"

std::wstring LayoutName(std::int32_t language) {
    return HexDigits(static_cast<std::uint32_t>(language), 8);
}

LayoutChoice ChooseLayout(std::int32_t language,
                          const std::vector<std::int32_t>& installedLanguages) {
    LayoutChoice choice;
    if (IndexOfValue(&CyrillicLanguages, language) >= 0) {
        choice.position = IndexOfValue(&installedLanguages, language);
        for (const std::int32_t fallback : CyrillicLanguages)
            if (choice.position == -1)
                choice.position = IndexOfValue(&installedLanguages, fallback);
    }
    if (choice.position == -1)
        choice.layoutName = LayoutName(language);
    return choice;
}

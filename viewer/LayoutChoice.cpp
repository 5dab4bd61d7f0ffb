#include "viewer/LayoutChoice.h"

#include "text/TextUtil.h"

std::wstring LayoutName(std::int32_t language) {
    static constexpr wchar_t Digits[] = L"0123456789ABCDEF";
    std::uint32_t value = static_cast<std::uint32_t>(language);
    std::wstring name(8, L'0');
    for (int i = 7; i >= 0; --i, value >>= 4)
        name[static_cast<std::size_t>(i)] = Digits[value & 0xF];
    return name;
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

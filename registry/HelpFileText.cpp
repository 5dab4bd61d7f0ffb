#include "registry/HelpFileText.h"

#include "platform/PathText.h"
#include "platform/RunError.h"
#include "text/Numbers.h"
#include "text/TextSplit.h"
#include "text/TextUtil.h"

#include <vector>

namespace {

std::int32_t RectField(const std::wstring& field, std::wstring_view whole) {
    // A whole decimal number with blanks around it: sign, digits, at most one ".".
    const auto number = ReadWholeNumber(TrimText(field), {});
    if (!number)
        throw RunError(ErrorKind::InvalidArgument, L"Rect " + std::wstring(whole));
    try {
        return RoundToInt32(*number);
    } catch (const RunError& error) {
        throw RunError(error.Kind(), L"Rect " + std::wstring(whole));
    }
}

} // namespace

std::wstring ProductKeyPath(std::wstring_view company, std::wstring_view product) {
    return L"SOFTWARE\\" + std::wstring(company) + L"\\" + std::wstring(product);
}

std::array<std::wstring, 3> RegisterFields(std::wstring_view argument) {
    const std::vector<std::wstring> fields = SplitText(argument, L"=");
    if (fields.size() < 3)
        throw RunError(ErrorKind::MissingField,
                       L"/reg needs name=folder=version: " + std::wstring(argument));
    return {fields[0], fields[1], fields[2]};
}

std::wstring HelpFileName(std::wstring_view path) {
    if (FileNameOfPath(path).find(L'.') == std::wstring_view::npos)
        throw RunError(ErrorKind::InvalidArgument,
                       L"help file name without extension: " + std::wstring(path));
    std::wstring name = FileNameWithoutExtension(path);
    const std::size_t dash = name.rfind(L'-');
    if (dash != std::wstring::npos && dash >= 1)
        name.erase(dash);
    return name;
}

std::wstring RectText(std::int64_t left, std::int64_t top, std::int64_t right,
                      std::int64_t bottom) {
    return std::to_wstring(left) + L"," + std::to_wstring(top) + L"," +
           std::to_wstring(right - left) + L"," + std::to_wstring(bottom - top);
}

std::optional<Box> ParseRectText(std::wstring_view text) {
    const std::vector<std::wstring> fields = SplitText(text, L",");
    if (fields.size() != 4)
        return std::nullopt;
    return Box{RectField(fields[0], text), RectField(fields[1], text), RectField(fields[2], text),
               RectField(fields[3], text)};
}

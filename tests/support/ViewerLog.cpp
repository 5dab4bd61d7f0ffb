#include "tests/support/ViewerLog.h"

#include "tests/support/TestFiles.h"

#include <cwchar>

namespace {

// The characters the log writes as a backslash and a letter, and those letters.
constexpr wchar_t Escaped[] = L"\\\t\n\r";
constexpr wchar_t EscapeLetters[] = L"\\tnr";

std::wstring Escape(const std::wstring& value) {
    std::wstring escaped;
    for (const wchar_t c : value) {
        const wchar_t* const at = c ? std::wcschr(Escaped, c) : nullptr;
        if (at)
            escaped += {L'\\', EscapeLetters[at - Escaped]};
        else
            escaped += c;
    }
    return escaped;
}

std::wstring Unescape(const std::wstring& value) {
    std::wstring plain;
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] != L'\\' || i + 1 == value.size()) {
            plain += value[i];
            continue;
        }
        const wchar_t next = value[++i];
        const wchar_t* const at = next ? std::wcschr(EscapeLetters, next) : nullptr;
        plain += at ? Escaped[at - EscapeLetters] : next;
    }
    return plain;
}

std::vector<std::wstring> SplitAtTabs(const std::wstring& line) {
    std::vector<std::wstring> parts;
    std::size_t start = 0;
    for (;;) {
        const std::size_t tab = line.find(L'\t', start);
        parts.push_back(line.substr(start, tab == std::wstring::npos ? tab : tab - start));
        if (tab == std::wstring::npos)
            return parts;
        start = tab + 1;
    }
}

} // namespace

std::string ToUtf8(const std::wstring& text) {
    if (text.empty())
        return {};
    const int length = static_cast<int>(text.size());
    const int n =
        WideCharToMultiByte(CP_UTF8, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
    std::string result(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), length, result.data(), n, nullptr, nullptr);
    return result;
}

std::wstring FromUtf8(const std::string& text) {
    if (text.empty())
        return {};
    const int length = static_cast<int>(text.size());
    const int n = MultiByteToWideChar(CP_UTF8, 0, text.data(), length, nullptr, 0);
    std::wstring result(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), length, result.data(), n);
    return result;
}

std::wstring ViewerLogEntry::Field(const std::wstring& key) const {
    const auto found = fields.find(key);
    return found == fields.end() ? std::wstring() : found->second;
}

std::uint32_t ViewerLogEntry::Number(const std::wstring& key) const {
    const std::wstring value = Field(key);
    if (value.empty())
        return 0;
    return static_cast<std::uint32_t>(std::wcstoul(value.c_str(), nullptr, 0));
}

std::string FormatViewerLogLine(const std::wstring& event, const LogFields& fields) {
    std::wstring line = Escape(event);
    for (const auto& [key, value] : fields)
        line += L"\t" + key + L"=" + Escape(value);
    return ToUtf8(line) + "\n";
}

std::optional<ViewerLogEntry> ParseViewerLogLine(const std::string& line) {
    const std::vector<std::wstring> parts = SplitAtTabs(FromUtf8(line));
    if (parts.empty() || parts[0].empty())
        return std::nullopt;
    ViewerLogEntry entry;
    entry.event = Unescape(parts[0]);
    for (std::size_t i = 1; i < parts.size(); ++i) {
        const std::size_t equals = parts[i].find(L'=');
        if (equals == std::wstring::npos)
            return std::nullopt;
        entry.fields[parts[i].substr(0, equals)] = Unescape(parts[i].substr(equals + 1));
    }
    return entry;
}

std::vector<ViewerLogEntry> ReadViewerLog(const std::wstring& path) {
    const std::string content = ReadFileBytes(path).value_or("");
    std::vector<ViewerLogEntry> entries;
    std::size_t start = 0;
    for (std::size_t end = content.find('\n'); end != std::string::npos;
         start = end + 1, end = content.find('\n', start)) {
        if (auto entry = ParseViewerLogLine(content.substr(start, end - start)))
            entries.push_back(std::move(*entry));
    }
    return entries;
}

// The version resource of Varnholt.exe as Windows reads it.
#include "tests/support/Process.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct VersionInfo {
    std::vector<unsigned char> data;
    std::wstring String(const wchar_t* field) const {
        wchar_t* value = nullptr;
        UINT length = 0;
        const std::wstring path = std::wstring(L"\\StringFileInfo\\040904b0\\") + field;
        if (!VerQueryValueW(data.data(), path.c_str(), reinterpret_cast<void**>(&value), &length))
            return L"<missing>";
        return std::wstring(value, wcsnlen(value, length));
    }
};

VersionInfo ReadVersionInfo() {
    const std::wstring path = VarnholtPath();
    DWORD ignored = 0;
    VersionInfo info;
    info.data.resize(GetFileVersionInfoSizeW(path.c_str(), &ignored));
    if (!info.data.empty())
        GetFileVersionInfoW(path.c_str(), 0, static_cast<DWORD>(info.data.size()),
                            info.data.data());
    return info;
}

TEST(VersionResource, FileVersionAndTexts) {
    const VersionInfo info = ReadVersionInfo();
    ASSERT_FALSE(info.data.empty());
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(info.data.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwFileVersionMS, (2u << 16) | 127u);
    EXPECT_EQ(fixed->dwFileVersionLS, 0u);
    EXPECT_EQ(info.String(L"FileVersion"), L"2.127");
    EXPECT_EQ(info.String(L"ProductVersion"), L"2.127");
    EXPECT_EQ(info.String(L"FileDescription"), L"Quillbay Run-time Client");
    EXPECT_EQ(info.String(L"ProductName"), L"Quillbay");
    EXPECT_FALSE(info.String(L"CompanyName").empty());
}

TEST(VersionResource, CommentsAreSiteAndMailAddress) {
    const std::wstring comments = ReadVersionInfo().String(L"Comments");
    const auto comma = comments.find(L", ");
    ASSERT_NE(comma, std::wstring::npos) << "Comments: site address, mail address";
    EXPECT_EQ(comments.rfind(L"http", 0), 0u);
    EXPECT_NE(comments.substr(comma + 2).find(L'@'), std::wstring::npos);
}

} // namespace

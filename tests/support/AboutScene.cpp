#include "tests/support/AboutScene.h"

#include "tests/support/StandIn.h"
#include "tests/support/WindowText.h"

std::wstring NewerLine(const std::wstring& version) {
    return L"Another version (" + version + L") is now available:";
}

std::vector<std::wstring> Lines(const std::wstring& text) {
    std::vector<std::wstring> lines;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = text.find(L"\r\n", start);
        lines.push_back(text.substr(start, end - start));
        if (end == std::wstring::npos)
            return lines;
        start = end + 2;
    }
}

std::wstring AboutText(const std::wstring& path, const std::wstring& lastLine) {
    return L"This module is designed to expand the functionality\r\n"
           L"of the standard Windows CHM viewer.\r\n\r\nThe current path:\r\n" +
           path + L"\r\n\r\n" + lastLine;
}

AboutView ReadAboutWindow(HWND window) {
    AboutView view;
    view.window = window;
    view.caption = TextOf(window);
    GetWindowRect(window, &view.frame);
    GetClientRect(window, &view.client);
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        const std::wstring name = ClassOf(child);
        if (_wcsicmp(name.c_str(), L"Edit") == 0)
            view.message = child;
        else if (_wcsicmp(name.c_str(), L"Button") == 0)
            view.ok = child;
        else if (name == L"VarnholtLinkBox")
            view.link = child;
        else if (name == L"VarnholtPicture")
            view.icon = child;
    }
    if (view.message)
        view.text = TextOf(view.message);
    if (view.link) {
        view.linkCaption = TextOf(view.link);
        view.linkVisible = IsWindowVisible(view.link) != FALSE;
    }
    if (view.ok)
        view.okText = TextOf(view.ok);
    return view;
}

void AboutWindowTest::SetUp() {
    ASSERT_TRUE(WaitForTestSite(15000)) << "no test site on 127.0.0.1:18080";
    ASSERT_TRUE(ResetTestSite());
}

void AboutWindowTest::TearDown() {
    client.Kill();
    SetTestSiteMode("normal");
    SetCursorPos(1, 1);
}

void AboutWindowTest::Answer(const SiteAnswer& answer) {
    // Once back from the pause an answer before may have asked for.
    ASSERT_TRUE(WaitForTestSite(20000) && ResetTestSite());
    if (!answer.body.empty())
        SetVersionFile(answer.program, answer.body, answer.status);
    SetTestSiteMode(answer.mode);
    if (answer.trusted)
        trust.emplace();
    if (answer.absentMs)
        PauseTestSite(answer.absentMs);
}

AboutView AboutWindowTest::Open(const std::wstring& arguments, DWORD timeoutMs,
                                const std::wstring& program) {
    client = ChildProcess::Start(program, arguments);
    HWND window = nullptr;
    if (!WaitUntil([&] { return (window = FindAboutWindow(client.Id())) || client.WaitForExit(0); },
                   timeoutMs, 100) ||
        !window)
        return {};
    // Shown, and now handling messages: a window whose thread was busy in the download
    // counts as hung for a while, and is not asked for its texts meanwhile.
    SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 10000, nullptr);
    return ReadAboutWindow(window);
}

AboutView AboutWindowTest::OpenWithLink(const std::string& versionFile) {
    SetVersionFile("Varnholt", versionFile);
    const AboutView view = Open(L"");
    if (!view.window || !view.linkVisible || !BringToFront(view.window)) {
        ADD_FAILURE() << (!view.window        ? "no window"
                          : !view.linkVisible ? "no link"
                                              : "not in front");
        return {};
    }
    return view;
}

void AboutWindowTest::ExpectEnd() {
    EXPECT_TRUE(client.WaitForExit(15000)) << "still running after the window closed";
    EXPECT_EQ(client.ExitCode(), 0u);
}

// FileExists, RemoveFile and AppendLineWithRetry on real files: attributes, folders,
// and files that another handle holds.
#include "platform/RunError.h"
#include "favorites/Favorites.h"
#include "platform/WindowClass.h"
#include "platform/WindowHandles.h"
#include "platform/Virtualization.h"
#include "tests/support/RunErrorOf.h"
#include "tests/support/TestFiles.h"
#include "platform/Files.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace {

constexpr DWORD ReadOnlyHidden = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN;

std::string Ansi(const std::wstring& text) {
    const int n = WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()),
                                      nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), bytes.data(), n,
                        nullptr, nullptr);
    return bytes;
}

double SecondsSince(ULONGLONG start) {
    return static_cast<double>(GetTickCount64() - start) / 1000.0;
}

// Opens the file the way another program might hold it: no sharing at all.
UniqueFile HoldUnshared(const std::wstring& path, DWORD flags = 0) {
    return UniqueFile(CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                  OPEN_ALWAYS, flags, nullptr));
}

class FileRoutines : public ::testing::Test {
  protected:
    std::wstring File(const std::wstring& name) const { return folder_.Path() + name; }
    std::wstring ReadOnlyHiddenFile(const std::wstring& name, const std::string& bytes) const {
        const std::wstring path = File(name);
        EXPECT_TRUE(WriteFileBytes(path, bytes));
        EXPECT_TRUE(SetFileAttributesW(path.c_str(), ReadOnlyHidden));
        return path;
    }

    TemporaryFolder folder_;
};

TEST_F(FileRoutines, FileExistsOnlyForFilesThatAreNotFolders) {
    const std::wstring file = ReadOnlyHiddenFile(L"a.txt", "x");
    EXPECT_TRUE(FileExists(file));
    EXPECT_FALSE(FileExists(folder_.Path()));
    EXPECT_FALSE(FileExists(folder_.Path().substr(0, folder_.Path().size() - 1)));
    EXPECT_FALSE(FileExists(L""));
    EXPECT_FALSE(FileExists(File(L"missing.txt")));
    EXPECT_FALSE(FileExists(File(L"no such folder\\a.txt")));
    EXPECT_FALSE(FileExists(File(L"bad<>|name?.txt")));
    EXPECT_FALSE(FileExists(L"Q:\\unreachable\\drive.txt"));
}

TEST_F(FileRoutines, RemoveFileDeletesReadOnlyHiddenFilesAndLeavesTheRestAlone) {
    const std::wstring file = ReadOnlyHiddenFile(L"a.txt", "x");
    RemoveFile(file);
    EXPECT_EQ(FileAttributes(file), INVALID_FILE_ATTRIBUTES);
    EXPECT_NO_THROW(RemoveFile(file));
    EXPECT_NO_THROW(RemoveFile(L""));
    const std::wstring sub = File(L"sub");
    ASSERT_TRUE(CreateDirectoryW(sub.c_str(), nullptr));
    EXPECT_NO_THROW(RemoveFile(sub));
    EXPECT_NE(FileAttributes(sub), INVALID_FILE_ATTRIBUTES);
}

TEST_F(FileRoutines, RemoveFileOfAFileInUseReportsTheFailure) {
    const std::wstring file = ReadOnlyHiddenFile(L"held.txt", "x");
    UniqueFile holder = HoldUnshared(file);
    ASSERT_TRUE(holder);
    const RunError error = RunErrorOf([&] { RemoveFile(file); });
    EXPECT_EQ(error.Kind(), ErrorKind::FileAccess) << "a file in use";
    EXPECT_NE(error.Detail().find(file), std::wstring::npos);
    holder.reset();
    EXPECT_NE(FileAttributes(file), INVALID_FILE_ATTRIBUTES);
}

TEST_F(FileRoutines, AppendLineCreatesAndAppendsAnsiLinesWithCrLf) {
    const std::wstring file = File(L"a.js");
    AppendLineWithRetry(file, std::wstring(L"first"), 60);
    AppendLineWithRetry(file, std::wstring(L"caf\u00e9 \u00fc"), 60);
    AppendLineWithRetry(file, std::wstring(), 60);
    EXPECT_EQ(ReadFileBytes(file), "first\r\n" + Ansi(L"caf\u00e9 \u00fc") + "\r\n\r\n");
    EXPECT_EQ(FileAttributes(file) & ReadOnlyHidden, 0u);
}

TEST_F(FileRoutines, AppendLineKeepsReadOnlyAndHidden) {
    const std::wstring file = ReadOnlyHiddenFile(L"a.js", "old\r\n");
    AppendLineWithRetry(file, std::wstring(L"new"), 60);
    EXPECT_EQ(ReadFileBytes(file), "old\r\nnew\r\n");
    EXPECT_EQ(FileAttributes(file) & ReadOnlyHidden, ReadOnlyHidden);
    EXPECT_NO_THROW(AppendLineWithRetry(L"", std::wstring(L"x"), 60)) << "an empty path";
}

TEST_F(FileRoutines, AppendLineToAFolderFailsWithoutWaitingAMinute) {
    const std::wstring sub = File(L"sub");
    ASSERT_TRUE(CreateDirectoryW(sub.c_str(), nullptr));
    const ULONGLONG start = GetTickCount64();
    EXPECT_THROW(AppendLineWithRetry(sub, std::wstring(L"x"), 60), RunError);
    EXPECT_LT(SecondsSince(start), 20.0) << "a folder is not a file in use";
    EXPECT_THROW(AppendLineWithRetry(File(L"no such folder\\a.js"), std::wstring(L"x"), 60),
                 RunError);
}

// The window messages that arrive during the wait are handled during the wait.
LRESULT CALLBACK CountingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_APP)
        return 42;
    return DefWindowProcW(window, message, wParam, lParam);
}

TEST_F(FileRoutines, AppendLineWaitsForAFileInUseHandlingMessagesMeanwhile) {
    const std::wstring file = ReadOnlyHiddenFile(L"a.js", "old\r\n");
    UniqueFile holder = HoldUnshared(file);
    ASSERT_TRUE(holder);

    RegisterWindowClass({L"VarnholtWaitTest", CountingProc});
    UniqueWindow window(CreateWindowW(L"VarnholtWaitTest", L"", 0, 0, 0, 0, 0, HWND_MESSAGE,
                                      nullptr, Instance(), nullptr));
    ASSERT_TRUE(window);

    std::atomic<bool> appended{false};
    std::atomic<bool> answeredWhileWaiting{false};
    std::thread other([&] {
        DWORD_PTR result = 0;
        // Answered only once the waiting thread handles messages, which it does only
        // inside the wait: the file is let go after that.
        if (SendMessageTimeoutW(window.get(), WM_APP, 0, 0, SMTO_BLOCK, 60000, &result) &&
            result == 42 && !appended)
            answeredWhileWaiting = true;
        Sleep(1500);
        holder.reset();
    });
    const ULONGLONG start = GetTickCount64();
    AppendLineWithRetry(file, std::wstring(L"new"), 60);
    appended = true;
    const double seconds = SecondsSince(start);
    other.join();

    EXPECT_TRUE(answeredWhileWaiting);
    EXPECT_GE(seconds, 1.5) << "the file was held for over two seconds";
    EXPECT_EQ(ReadFileBytes(file), "old\r\nnew\r\n");
    EXPECT_EQ(FileAttributes(file) & ReadOnlyHidden, ReadOnlyHidden);
}

TEST_F(FileRoutines, AppendLineWaitsForAFileBeingDeleted) {
    // Another handle has the file marked for deletion: opening it is denied until that
    // handle is closed.
    const std::wstring file = File(L"a.js");
    UniqueFile holder(CreateFileW(file.c_str(), GENERIC_READ | GENERIC_WRITE | DELETE,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  CREATE_ALWAYS, FILE_FLAG_DELETE_ON_CLOSE, nullptr));
    ASSERT_TRUE(holder);
    std::thread other([&] {
        Sleep(2000);
        holder.reset();
    });
    AppendLineWithRetry(file, std::wstring(L"new"), 60);
    other.join();
    EXPECT_EQ(ReadFileBytes(file), "new\r\n");
}

TEST_F(FileRoutines, AppendLineGivesUpAfterRetryCountPlusOneAttempts) {
    const std::wstring file = ReadOnlyHiddenFile(L"a.js", "old\r\n");
    const UniqueFile holder = HoldUnshared(file);
    ASSERT_TRUE(holder);
    const ULONGLONG start = GetTickCount64();
    EXPECT_EQ(KindOf([&] { AppendLineWithRetry(file, std::wstring(L"new"), 1); }),
              ErrorKind::FileAccess)
        << "a file that stays in use";
    const double seconds = SecondsSince(start);
    EXPECT_GE(seconds, 1.5) << "two attempts, each followed by a one-second wait";
    EXPECT_LE(seconds, 6.0);
    EXPECT_EQ(FileAttributes(file) & ReadOnlyHidden, 0u) << "attributes stay cleared";
}

// Windows quietly redirects a write to a protected folder, for a program without an
// execution level in its manifest, into a store of the user's own that the pages never
// read; the Favorites turn that off while they work. Wine has no such redirection and its
// setting cannot be changed: there the Favorites must work all the same, and the setting
// is as it was afterwards.
TEST_F(FileRoutines, FavoritesWorkWhereTheRedirectionCannotBeChanged) {
    const bool before = VirtualizationEnabled();
    UpdateFavorites(L" Word=" + File(L"Q.chm::/a.htm"), true);
    EXPECT_EQ(VirtualizationEnabled(), before);
    const auto bytes = ReadFileBytes(File(L"ext_BM.js"));
    ASSERT_TRUE(bytes);
    EXPECT_NE(bytes->find("+\" Word=a.htm\x01\""), std::string::npos) << *bytes;
}

} // namespace

#include "favorites/Favorites.h"

#include "favorites/FaultInjection.h"
#include "favorites/FavoritesRewrite.h"
#include "platform/Ansi.h"
#include "platform/MessagePump.h"
#include "platform/PathText.h"
#include "platform/RunError.h"
#include "platform/UniqueHandle.h"
#include "platform/VersionText.h"
#include "platform/Virtualization.h"
#include "platform/Files.h"
#include "text/TextUtil.h"

#include <windows.h>

#include <vector>

namespace {

// About a minute for a file that another program holds.
constexpr std::int16_t InUseRetries = 60;
constexpr DWORD RetryWaitMs = 1000;

enum class Failure { InUse, FolderNotWritable, Other };

// Why a file could not be opened or replaced. A file that another program holds (also
// one that is being deleted) is worth waiting for. Access denied to a file that is not
// there means the folder takes no new files (a CD, a protected folder): waiting will not
// change that. Access denied on a folder is neither.
Failure ClassifyFailure(DWORD error, const std::wstring& path) {
    if (error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION)
        return Failure::InUse;
    if (error == ERROR_WRITE_PROTECT)
        return Failure::FolderNotWritable;
    if (error != ERROR_ACCESS_DENIED)
        return Failure::Other;
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES)
        return attributes & FILE_ATTRIBUTE_DIRECTORY ? Failure::Other : Failure::InUse;
    const DWORD why = GetLastError();
    return why == ERROR_FILE_NOT_FOUND || why == ERROR_PATH_NOT_FOUND ? Failure::FolderNotWritable
                                                                      : Failure::InUse;
}

// The folder, not the file, is what the reader can act on.
[[noreturn]] void ThrowFolderNotWritable(const std::wstring& path, DWORD error) {
    throw RunError(ErrorKind::FileAccess, L"The folder " + FolderOfPath(path) +
                                              L"\\ cannot be written to.\r\n" +
                                              SystemErrorText(error));
}

// Runs attempt until it succeeds; a failure because the file is in use is followed by
// a wait and, up to retryCount times, by another attempt. Other failures raise at once.
template <typename Attempt>
void RetryWhileInUse(const std::wstring& path, std::int16_t retryCount, Attempt attempt) {
    for (int tries = 0;; ++tries) {
        if (attempt())
            return;
        const DWORD error = GetLastError();
        const Failure failure = ClassifyFailure(error, path);
        if (failure == Failure::FolderNotWritable)
            ThrowFolderNotWritable(path, error);
        if (failure == Failure::Other)
            ThrowFileError(path, error);
        WaitDispatchingMessages(RetryWaitMs);
        if (tries >= retryCount)
            ThrowFileError(path, error);
    }
}

UniqueFile OpenWithRetry(const std::wstring& path, DWORD access, DWORD share, DWORD disposition,
                         DWORD flags, std::int16_t retryCount = InUseRetries) {
    UniqueFile file;
    RetryWhileInUse(path, retryCount, [&] {
        file.reset(CreateFileW(path.c_str(), access, share, nullptr, disposition, flags, nullptr));
        return static_cast<bool>(file);
    });
    return file;
}

void WriteBytes(const UniqueFile& file, const std::wstring& path, std::string_view bytes) {
    while (!bytes.empty()) {
        DWORD written = 0;
        if (!WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                       nullptr))
            ThrowFileError(path, GetLastError());
        bytes.remove_prefix(written);
    }
}

// The whole file in one read (more when it grows meanwhile).
std::string ReadBytes(const std::wstring& path) {
    const UniqueFile file =
        OpenWithRetry(path, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL);
    LARGE_INTEGER size{};
    GetFileSizeEx(file.get(), &size);
    std::string bytes(static_cast<std::size_t>(size.QuadPart) + 1, '\0');
    std::size_t have = 0;
    for (;;) {
        if (have == bytes.size())
            bytes.resize(bytes.size() * 2);
        DWORD got = 0;
        if (!ReadFile(file.get(), bytes.data() + have, static_cast<DWORD>(bytes.size() - have),
                      &got, nullptr))
            ThrowFileError(path, GetLastError());
        if (got == 0)
            break;
        have += got;
    }
    bytes.resize(have);
    return bytes;
}

void SetAttributes(const std::wstring& path, DWORD attributes) {
    if (!SetFileAttributesW(path.c_str(), attributes ? attributes : FILE_ATTRIBUTE_NORMAL))
        ThrowFileError(path, GetLastError());
}

// Two copies started by two pages at once must not both rewrite the file: the lock
// file beside it is held, unshared, for the whole read-rewrite-replace, and vanishes
// when its holder ends, however it ends.
UniqueFile LockFavorites(const FavoritesRequest& request) {
    return OpenWithRetry(request.favoritesFile + L".lock", GENERIC_READ | GENERIC_WRITE, 0,
                         OPEN_ALWAYS, FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE);
}

// The text to rewrite: the file's own, or the header alone for a new file and for a
// damaged one the reader agrees to recreate (it stays until the new file replaces it).
// Nothing when the reader declines.
std::optional<std::wstring> ReadFavoritesText(const std::wstring& path) {
    const std::wstring header(FavoritesHeader);
    const std::string bytes = FileExists(path) ? ReadBytes(path) : std::string();
    if (bytes.empty()) {
        AppendLineWithRetry(path, header, InUseRetries);
        return header;
    }
    std::wstring text = FromAnsi(bytes);
    if (IsFavoritesHeader(FirstFileLine(text)))
        return text;
    const std::wstring question =
        L"The Favorites file is corrupted, and will be recreated.\r\nContinue?";
    if (MessageBoxW(nullptr, question.c_str(), MessageCaption().c_str(),
                    MB_YESNO | MB_ICONQUESTION) != IDYES)
        return std::nullopt;
    return header;
}

// The new file, complete and on disk, under the temporary name.
void WriteTemporaryFile(const std::wstring& path, std::string_view bytes) {
    if (FileExists(path))
        SetAttributes(path, FILE_ATTRIBUTE_NORMAL);
    const UniqueFile file =
        OpenWithRetry(path, GENERIC_WRITE, 0, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL);
    CrashPoint(L"temp-created");
    const std::size_t half = bytes.size() / 2;
    WriteBytes(file, path, bytes.substr(0, half));
    CrashPoint(L"temp-half");
    WriteBytes(file, path, bytes.substr(half));
    if (!FlushFileBuffers(file.get()))
        ThrowFileError(path, GetLastError());
}

// One rename puts the new file in place of the old one: the folder holds the whole old
// file or the whole new one at every moment.
void ReplaceFavoritesFile(const FavoritesRequest& request) {
    const std::wstring& path = request.favoritesFile;
    if (FileExists(path))
        SetAttributes(path, FILE_ATTRIBUTE_NORMAL);
    CrashPoint(L"unprotected");
    RetryWhileInUse(path, InUseRetries, [&] {
        return MoveFileExW(request.temporaryFile.c_str(), path.c_str(),
                           MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
    });
    CrashPoint(L"replaced");
    SetAttributes(path, FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
    CrashPoint(L"protected");
}

} // namespace

void AppendLineWithRetry(const std::wstring& path, const std::optional<std::wstring>& line,
                         std::int16_t retryCount) {
    if (path.empty())
        return;
    if (!line) {
        RemoveFile(path);
        return;
    }
    DWORD attributes = 0;
    if (FileExists(path)) {
        attributes = GetFileAttributesW(path.c_str());
        SetAttributes(path, FILE_ATTRIBUTE_NORMAL);
    }
    {
        const UniqueFile file = OpenWithRetry(path, FILE_APPEND_DATA, FILE_SHARE_READ, OPEN_ALWAYS,
                                              FILE_ATTRIBUTE_NORMAL, retryCount);
        WriteBytes(file, path, ToAnsi(*line + std::wstring(CrLf)));
    }
    SetAttributes(path, attributes);
}

void UpdateFavorites(const std::wstring& argument, bool add) {
    const auto found = ReadFavoritesArgument(argument, add);
    if (!found)
        return;
    const FavoritesRequest& request = *found;
    if (const std::wstring problem = FavoriteEntryProblem(request); !problem.empty()) {
        MessageBoxW(nullptr, problem.c_str(), MessageCaption().c_str(), MB_OK | MB_ICONWARNING);
        return;
    }
    // The pages read the file where the help file is: a write that Windows would quietly
    // redirect to the reader's own store must fail instead.
    const FileVirtualizationOff realFolder;
    const UniqueFile lock = LockFavorites(request);
    CrashPoint(L"locked");
    const auto oldText = ReadFavoritesText(request.favoritesFile);
    if (!oldText)
        return;
    CrashPoint(L"read");
    WriteTemporaryFile(request.temporaryFile, ToAnsi(RewriteFavorites(*oldText, request)));
    CrashPoint(L"temp-written");
    ReplaceFavoritesFile(request);
}

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

#include <ntsecapi.h>

#include <algorithm>
#include <cstdint>
#include <vector>

namespace {

// About a minute for a file that another program holds.
constexpr std::int16_t InUseRetries = 60;
constexpr DWORD RetryWaitMs = 1000;
// Far more than a reader's Favorites (100,000 entries are 14 MB): a larger file is no
// Favorites file the client wrote, and is left as it is.
constexpr std::uint64_t MaxFavoritesBytes = 16 << 20;

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

// The whole file in one read (more when it grows meanwhile); a file of more than limit
// bytes, or one that grows past it, is refused before its size is taken into memory.
std::string ReadBytes(const std::wstring& path, std::uint64_t limit) {
    const UniqueFile file =
        OpenWithRetry(path, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL);
    const auto refuse = [&] {
        throw RunError(ErrorKind::FileAccess, path + L"\r\nThe file is larger than " +
                                                  std::to_wstring(limit >> 20) +
                                                  L" MB; it is left as it is.");
    };
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size))
        ThrowFileError(path, GetLastError());
    if (static_cast<std::uint64_t>(size.QuadPart) > limit)
        refuse();
    std::string bytes(static_cast<std::size_t>(size.QuadPart) + 1, '\0');
    std::size_t have = 0;
    for (;;) {
        if (have > limit)
            refuse();
        if (have == bytes.size())
            bytes.resize(static_cast<std::size_t>(std::min<std::uint64_t>(2 * have, limit + 1)));
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

// Attributes set through a handle: on the file it was opened on, whatever names it now.
bool SetAttributesOf(const UniqueFile& file, DWORD attributes) {
    FILE_BASIC_INFO info{}; // times of 0 are left as they are
    info.FileAttributes = attributes ? attributes : FILE_ATTRIBUTE_NORMAL;
    return SetFileInformationByHandle(file.get(), FileBasicInfo, &info, sizeof info) != FALSE;
}

// Puts the client's own open file in the place of whatever holds target's name, in one
// step. A rename replaces the name itself (a link there, not what it points at), where
// opening the name, also to delete it, would follow a link: Wine follows a Unix one even
// when told not to. Windows refuses to replace a read-only file; its mark is then cleared
// through a handle on the name itself, which Windows does not follow.
bool RenameOver(const UniqueFile& file, const std::wstring& target) {
    std::vector<std::byte> buffer(sizeof(FILE_RENAME_INFO) + target.size() * sizeof(wchar_t));
    auto* info = reinterpret_cast<FILE_RENAME_INFO*>(buffer.data());
    info->ReplaceIfExists = TRUE;
    info->FileNameLength = static_cast<DWORD>(target.size() * sizeof(wchar_t));
    std::copy(target.begin(), target.end(), info->FileName);
    const auto rename = [&] {
        return SetFileInformationByHandle(file.get(), FileRenameInfo, info,
                                          static_cast<DWORD>(buffer.size())) != FALSE;
    };
    if (rename())
        return true;
    const DWORD error = GetLastError();
    const DWORD attributes = GetFileAttributesW(target.c_str());
    if (error == ERROR_ACCESS_DENIED && attributes != INVALID_FILE_ATTRIBUTES &&
        (attributes & FILE_ATTRIBUTE_READONLY)) {
        const UniqueFile old(CreateFileW(target.c_str(), FILE_WRITE_ATTRIBUTES,
                                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                         nullptr, OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT,
                                         nullptr));
        if (old && SetAttributesOf(old, attributes & ~FILE_ATTRIBUTE_READONLY) && rename())
            return true;
    }
    SetLastError(error);
    return false;
}

// A file created here and now, never one that was there: a name that anything holds (a
// file, a folder, a link, even one to nowhere) fails as a file in use does.
UniqueFile CreateNewFile(const std::wstring& path, DWORD access, DWORD flags) {
    UniqueFile file(CreateFileW(path.c_str(), access, 0, nullptr, CREATE_NEW,
                                flags | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    const DWORD error = GetLastError();
    const bool taken = error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS ||
                       (error == ERROR_ACCESS_DENIED &&
                        GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES);
    SetLastError(taken ? ERROR_SHARING_VIOLATION : error);
    return file;
}

// Two copies started by two pages at once must not both rewrite the file: the lock file
// beside it is held for the whole read-rewrite-replace and vanishes when its holder ends,
// however it ends. Whatever else holds its name (another copy's lock, a link, a folder,
// someone's file) is a held lock: waited for, then reported as in use, never opened.
UniqueFile LockFavorites(const std::wstring& favoritesFile) {
    const std::wstring path = favoritesFile + L".lock";
    UniqueFile lock;
    RetryWhileInUse(path, InUseRetries, [&] {
        lock = CreateNewFile(path, GENERIC_READ | GENERIC_WRITE,
                             FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE);
        return static_cast<bool>(lock);
    });
    return lock;
}

// The text to rewrite: the file's own, or the header alone for a new file and for a
// damaged one the reader agrees to recreate. Nothing when the reader declines. Only read:
// a new file comes into being with the rename of the rewritten one.
std::optional<std::string> ReadFavoritesText(const std::wstring& path) {
    const std::string header = ToAnsi(FavoritesHeader);
    std::string bytes = FileExists(path) ? ReadBytes(path, MaxFavoritesBytes) : std::string();
    if (bytes.empty())
        return header;
    if (IsFavoritesHeader(FromAnsi(std::string_view(bytes).substr(0, bytes.find_first_of("\r\n")))))
        return bytes;
    const std::wstring question =
        L"The Favorites file is corrupted, and will be recreated.\r\nContinue?";
    if (MessageBoxW(nullptr, question.c_str(), MessageCaption().c_str(),
                    MB_YESNO | MB_ICONQUESTION) != IDYES)
        return std::nullopt;
    return header;
}

// Sixteen hexadecimal digits from the system's generator of secret numbers.
std::wstring RandomDigits() {
    unsigned char bytes[8] = {};
    if (!RtlGenRandom(bytes, sizeof bytes))
        throw RunError(ErrorKind::System, L"The system gave no random numbers.");
    std::wstring digits;
    for (const unsigned char byte : bytes)
        digits += {L"0123456789abcdef"[byte >> 4], L"0123456789abcdef"[byte & 15]};
    return digits;
}

// Whether a name in the folder is one of the client's temporary files: ext_BM.js, "." and
// sixteen hexadecimal digits, ".tmp"; or ext_BM.js.tmp, the name older versions used.
bool IsTemporaryName(const std::wstring& name, const std::wstring& favoritesName) {
    const std::size_t n = favoritesName.size();
    if (name.size() < n + 4 || !SamePath(name.substr(0, n), favoritesName) ||
        !SamePath(name.substr(name.size() - 4), L".tmp"))
        return false;
    const std::wstring middle = name.substr(n, name.size() - n - 4);
    const auto isDigit = [](wchar_t c) {
        return std::wstring_view(L"0123456789abcdefABCDEF").find(c) != std::wstring_view::npos;
    };
    return middle.empty() || (middle.size() == 17 && middle[0] == L'.' &&
                              std::all_of(middle.begin() + 1, middle.end(), isDigit));
}

// Temporary files that earlier runs left, ended before their rename; looked for while the
// lock is held, so that none is another copy's at work. Only plain files: a folder or a
// link of such a name is no file of the client's.
std::vector<std::wstring> LeftoverTemporaryFiles(const std::wstring& favoritesFile) {
    std::vector<std::wstring> leftovers;
    WIN32_FIND_DATAW found;
    const UniqueFind search(FindFirstFileW((favoritesFile + L".*").c_str(), &found));
    const std::wstring favoritesName(FileNameOfPath(favoritesFile));
    for (bool more = static_cast<bool>(search); more; more = FindNextFileW(search.get(), &found))
        if (!(found.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) &&
            IsTemporaryName(found.cFileName, favoritesName))
            leftovers.push_back(FolderWithSlash(favoritesFile) + found.cFileName);
    return leftovers;
}

// The new file under a name no one can know beforehand, created here: a name planted in
// the folder (a link to a file elsewhere) is never written through. The leftovers of
// earlier runs go by its rename over their names (it keeps the last one's).
UniqueFile CreateTemporaryFile(const std::wstring& favoritesFile, std::wstring& path) {
    const std::vector<std::wstring> leftovers = LeftoverTemporaryFiles(favoritesFile);
    UniqueFile file;
    RetryWhileInUse(path, InUseRetries, [&] {
        path = favoritesFile + L"." + RandomDigits() + L".tmp";
        file = CreateNewFile(path, GENERIC_WRITE | DELETE, FILE_ATTRIBUTE_NORMAL);
        return static_cast<bool>(file);
    });
    for (const std::wstring& leftover : leftovers)
        if (RenameOver(file, leftover))
            path = leftover;
    return file;
}

// The rewritten text, complete and on disk with its read-only and hidden marks under the
// temporary name, then one rename in the place of the old file: the folder holds the
// whole old file or the whole new one at every moment.
void ReplaceFavoritesFile(const std::wstring& favoritesFile, std::string_view bytes) {
    std::wstring path;
    const UniqueFile file = CreateTemporaryFile(favoritesFile, path);
    CrashPoint(L"temp-created");
    const std::size_t half = bytes.size() / 2;
    WriteBytes(file, path, bytes.substr(0, half));
    CrashPoint(L"temp-half");
    WriteBytes(file, path, bytes.substr(half));
    if (!FlushFileBuffers(file.get()))
        ThrowFileError(path, GetLastError());
    CrashPoint(L"temp-written");
    if (!SetAttributesOf(file, FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN))
        ThrowFileError(path, GetLastError());
    CrashPoint(L"protected");
    RetryWhileInUse(favoritesFile, InUseRetries, [&] { return RenameOver(file, favoritesFile); });
    CrashPoint(L"replaced");
}

} // namespace

void AppendLineWithRetry(const std::wstring& path, const std::wstring& line,
                         std::int16_t retryCount) {
    if (path.empty())
        return;
    DWORD attributes = 0;
    if (FileExists(path)) {
        attributes = GetFileAttributesW(path.c_str());
        SetAttributes(path, FILE_ATTRIBUTE_NORMAL);
    }
    {
        const UniqueFile file = OpenWithRetry(path, FILE_APPEND_DATA, FILE_SHARE_READ, OPEN_ALWAYS,
                                              FILE_ATTRIBUTE_NORMAL, retryCount);
        WriteBytes(file, path, ToAnsi(line + std::wstring(CrLf)));
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
    const UniqueFile lock = LockFavorites(request.favoritesFile);
    CrashPoint(L"locked");
    const auto oldText = ReadFavoritesText(request.favoritesFile);
    if (!oldText)
        return;
    CrashPoint(L"read");
    ReplaceFavoritesFile(request.favoritesFile, RewriteFavorites(*oldText, request, FromAnsi));
}

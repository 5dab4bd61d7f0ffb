// Real files for tests: a fresh folder per test, and file bytes and attributes as they
// are on disk.
#pragma once
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

// A new empty folder under the temporary folder (or under parent, a path ending in "\");
// removed with its files at the end.
class TemporaryFolder {
  public:
    explicit TemporaryFolder(const std::wstring& parent = L"");
    ~TemporaryFolder();
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;
    // The folder's path, ending in "\".
    const std::wstring& Path() const { return path_; }

  private:
    std::wstring path_;
};

// Removes a folder (path ending in "\\") with everything in it.
void RemoveFolderTree(const std::wstring& folder);

// The file's bytes; nothing when it cannot be opened.
std::optional<std::string> ReadFileBytes(const std::wstring& path);
// Creates or overwrites the file with exactly these bytes (attributes cleared first).
bool WriteFileBytes(const std::wstring& path, const std::string& bytes);
// Appends the line and CR LF to the file (made when missing) in UTF-8, shared with its
// readers; false when the file cannot be opened.
bool AppendUtf8Line(const std::wstring& path, const std::wstring& line);
// INVALID_FILE_ATTRIBUTES when the path names nothing.
DWORD FileAttributes(const std::wstring& path);
// Names of the files and folders in a folder (path ending in "\"), sorted.
std::vector<std::wstring> FolderEntries(const std::wstring& folder);

// Under Wine, a Unix symbolic link at link to target, which a Windows program sees as a
// file link or a junction (opening or deleting through it reaches the target, a rename
// over it replaces the link); made and removed by ln and rm, since a delete from here
// would reach the target.
struct UnixLink {
    UnixLink(const std::wstring& link, const std::wstring& target);
    ~UnixLink();
    std::wstring path;
};

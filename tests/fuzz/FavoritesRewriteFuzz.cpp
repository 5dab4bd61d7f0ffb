// Fuzz target of the Favorites rewrite: an old ext_BM.js of any text, and a /bmadd or
// /bmdel argument built as a page builds it, read as the program reads it. The new file
// must hold what the pages' model (tests/property/FavoritesModel.h) says, in the form the
// rewrite writes, and stay as it is under the next rewrite.
//
// Input (tests/fuzz/FuzzInput.h): one byte (bit 0: /bmadd, bits 1-2: how the location is
// written), the name, the help file's name and the topic, each ended by a 0 byte, then
// the old file.
#include "favorites/FavoritesRewrite.h"
#include "platform/RunError.h"
#include "tests/fuzz/FuzzInput.h"
#include "tests/support/StandInCodePage.h"
#include "tests/property/FavoritesModel.h"

#include <algorithm>

using namespace favorites_model;

namespace {

struct Case {
    std::wstring argument;
    std::wstring old;
    std::wstring written;
};

[[noreturn]] void Fail(const char* broken, const Case& c) {
    Broken(broken,
           L"argument: " + c.argument + L"\n--- old\n" + c.old + L"\n--- new\n" + c.written);
}

// The help file on a drive, on a share, with forward slashes; form 3: any location.
std::wstring Argument(int form, const std::wstring& name, const std::wstring& section,
                      const std::wstring& topic) {
    static constexpr const wchar_t* Folders[] = {L"C:\\Dict\\", L"\\\\server\\books\\",
                                                 L"C:/Users/Vera/"};
    if (form > 2)
        return name + L"=" + section;
    return name + L"=mk:@MSITStore:" + Folders[form] + section + L".chm::/" + topic;
}

bool Holds(const std::wstring& text, std::wstring_view characters) {
    return text.find_first_of(characters) != std::wstring::npos;
}

// The parts a page put into the argument come back as they were, the name without
// blanks at its end.
bool ReadsBack(const FavoritesRequest& request, const std::wstring& name,
               const std::wstring& section, const std::wstring& topic) {
    return request.name == name.substr(0, name.find_last_not_of(L' ') + 1) &&
           request.section == section && request.topic == topic;
}

bool HoldsEntry(const Model& model, const FavoritesRequest& request) {
    const std::wstring entry = request.name + L"=" + request.topic;
    return std::any_of(model.begin(), model.end(), [&](const Section& s) {
        return EqualsNoCase(s.text, L"[" + request.section + L"]") &&
               std::find(s.items.begin(), s.items.end(), entry) != s.items.end();
    });
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput input(data, size);
    const std::uint8_t flags = input.Byte();
    const bool add = (flags & 1) != 0;
    const int form = flags >> 1 & 3;
    const std::wstring name = input.Field();
    const std::wstring section = input.Field();
    const std::wstring topic = input.Field();
    Case c{Argument(form, name, section, topic), input.Rest(), {}};

    std::optional<FavoritesRequest> request;
    try {
        request = ReadFavoritesArgument(c.argument, add);
    } catch (const RunError& error) {
        if (error.Kind() != ErrorKind::InvalidArgument)
            Fail("the argument raised an error other than InvalidArgument", c);
        return 0; // reported, no file touched
    }
    if (!request)
        return 0;
    if (form < 3 && !Holds(name, L"=") && !Holds(section, L"\\/:=") &&
        section.find(L".chm") == std::wstring::npos &&
        !ReadsBack(*request, name, section, add ? topic : L""))
        Fail("the argument does not read back as its name, help file and topic", c);
    if (!FavoriteEntryProblem(*request).empty())
        return 0; // refused with a message, no file touched

    const std::vector<std::wstring> oldItems = ItemsAsEngineReads(c.old);
    // A 32-bit wchar_t holds a pair written half raw, half escaped as two units until a
    // rewrite joins them (Windows holds both as two): not this build's to judge.
    for (const std::wstring& item : oldItems)
        if (item != JoinSurrogatePairs(item))
            return 0;

    // U+0001 stands in no item: this request matches nothing.
    FavoritesRequest unrelated;
    unrelated.name = unrelated.section = L"\x01";
    const std::wstring before = RewriteFavorites(c.old, unrelated);
    c.written = RewriteFavorites(c.old, *request);
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const auto oldBytes = ToStandInPage(c.old);
    if ((oldBytes &&
         RewriteFavorites(*oldBytes, *request, FromStandInPage) != ToStandInPage(c.written)) ||
        RewriteFavorites(bytes, *request, FromStandInPage) !=
            ToStandInPage(RewriteFavorites(FromStandInPage(bytes), *request)))
        Fail("the file's bytes in a code page give another new file", c);
    for (const std::wstring_view text : {std::wstring_view(before), std::wstring_view(c.written)})
        if (const char* problem = WrittenFileProblem(text))
            Fail(problem, c);

    Model expected = ModelOf(oldItems);
    if (ModelOfWrittenFile(before) != expected)
        Fail("the pages read other sections or entries than the old file holds", c);
    const std::size_t count = CountEntries(expected, *request);
    Apply(expected, *request);
    const Model got = ModelOfWrittenFile(c.written);
    const std::size_t now = CountEntries(got, *request);
    if (!request->topic.empty() && (!HoldsEntry(got, *request) || now > count + 1))
        Fail("after /bmadd the section does not hold the entry once more at most", c);
    if (request->topic.empty() && (count > 0 ? now + 1 != count : c.written != before))
        Fail("/bmdel did not remove exactly the one entry", c);
    if (got != expected)
        Fail("the pages read other entries than the request leaves", c);
    if (CommentsOf(c.written) != CommentsOf(before))
        Fail("the request changed a comment", c);
    if (RewriteFavorites(c.written, unrelated) != c.written)
        Fail("the next rewrite changes the file", c);
    if (!request->topic.empty() && RewriteFavorites(c.written, *request) != c.written)
        Fail("the same add twice changes the file", c);
    return 0;
}

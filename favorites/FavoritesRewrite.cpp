// The rewrite in two steps: each line of the old file read once, as the pages' script
// reads it, into the block of its section (block 0 for the lines before the first
// section; the lines after a section line that appears again join its first block); then
// one routine writes the blocks in the order their sections first appear, the help file's
// entry in its own.
#include "favorites/FavoritesRewrite.h"

#include "favorites/ScriptString.h"
#include "text/CaseFold.h"
#include "text/TextSplit.h"
#include "text/TextUtil.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <type_traits>
#include <unordered_map>

namespace {

constexpr std::size_t npos = std::wstring_view::npos;

// Bytes of the old file that are ASCII into the new file's; wide text that is ASCII as
// favorites/ScriptString.h writes it.
using ::AppendAscii;
void AppendAscii(std::string& out, std::string_view ascii) {
    out.append(ascii);
}

template <typename Out> void AppendItemLine(Out& out, std::wstring_view text) {
    AppendAscii(out, EntryPrefix);
    AppendScriptString(out, text);
    AppendAscii(out, ClosingPair);
}

enum class LineKind { Dropped, Header, Comment, Item };

// A line of the old file, trimmed of blanks, as the pages' script reads it. An item's text
// is its string without the closing U+0001; written: the line is already exactly what
// the rewrite writes for it.
struct FileLine {
    LineKind kind = LineKind::Dropped;
    std::wstring_view line;
    std::wstring_view text;
    bool written = false;
};

// What one look at each character of a string's text finds (a file may hold many
// thousand lines): whether it must be read escape by escape, whether it is printable
// ASCII but for its U+0001, and how many U+0001 it holds.
struct StringScan {
    bool escaped = false; // a backslash, or what an engine refuses raw: a quote, a line break
    bool plain = true;
    std::size_t ones = 0;
};

StringScan ScanString(std::wstring_view quoted) {
    StringScan scan;
    for (const wchar_t c : quoted) {
        if (c >= 0x20 && c < 0x7F) {
            scan.escaped |= c == L'\\' || c == L'"';
        } else if (c == L'\x01') {
            ++scan.ones;
        } else {
            scan.plain = false;
            scan.escaped |= IsScriptLineBreak(c);
        }
    }
    return scan;
}

bool IsAscii(std::wstring_view text) {
    return std::all_of(text.begin(), text.end(),
                       [](wchar_t c) { return static_cast<std::uint32_t>(c) < 0x80; });
}

// Reads one line. A comment with a raw line break of the script (U+2028, U+2029) would
// end there: dropped. An item is kept when a script engine reads it as one string that
// ends with U+0001 and holds no other; decoded holds its text when escapes were read.
FileLine ReadFileLine(std::wstring_view raw, std::wstring& decoded) {
    FileLine read;
    read.line = TrimText(raw);
    const std::wstring_view line = read.line;
    if (IsFavoritesHeader(line)) {
        read.kind = LineKind::Header;
        return read;
    }
    if (line.starts_with(L"//")) {
        if (line.find_first_of(L"\u2028\u2029") == npos) {
            read.kind = LineKind::Comment;
            read.written = IsAscii(line);
        }
        return read;
    }
    if (line.size() < 3 || !line.starts_with(EntryPrefix) || !line.ends_with(L'"'))
        return read;
    const std::wstring_view quoted = line.substr(EntryPrefix.size(), line.size() - 3);
    const StringScan scan = ScanString(quoted);
    std::wstring_view text = quoted;
    if (scan.escaped) {
        if (!ReadScriptString(quoted, decoded))
            return read;
        text = decoded;
    } else if (scan.ones != 1) {
        return read;
    }
    if (!text.ends_with(L'\x01') || (scan.escaped && text.find(L'\x01') != text.size() - 1))
        return read;
    read.kind = LineKind::Item;
    read.text = text.substr(0, text.size() - 1);
    read.written = !scan.escaped && scan.plain;
    return read;
}

bool IsSectionLine(const FileLine& line) {
    return line.kind == LineKind::Item && line.text.starts_with(L'[');
}

// Whether an item is the entry of that name: its text before the first "=", without
// blanks at its end, is the name in any letter case.
bool IsEntryOf(std::wstring_view text, std::wstring_view name) {
    const std::size_t equals = text.find(L'=');
    return equals != npos && !text.starts_with(L'[') &&
           EqualsNoCase(TrimText(text.substr(0, equals), TextEnds::End, L" "), name);
}

// Lines of the new file, each ending in CR LF, that stand together in one block: lines of
// the old file that follow each other there and are written as they stand, or lines
// written anew.
struct Piece {
    bool anew = false; // in the rewrite's own text, else in the old file's
    std::size_t start = 0;
    std::size_t length = 0;
    std::size_t block = 0;
};

// Bytes of the old file that are ASCII (a line of them, an item's text) as wide text,
// through buffer; wide text as it is.
std::wstring_view WideOf(std::string_view ascii, std::wstring& buffer) {
    buffer.resize(ascii.size()); // room kept from line to line
    std::copy(ascii.begin(), ascii.end(), buffer.begin());
    return buffer;
}

std::wstring_view WideOf(std::wstring_view text, std::wstring&) {
    return text;
}

template <typename Char> std::uint32_t UnitOf(Char c) {
    return static_cast<std::make_unsigned_t<Char>>(c);
}

// Whether text at `at` begins with ascii.
template <typename Char>
bool HoldsAt(std::basic_string_view<Char> text, std::size_t at, std::string_view ascii) {
    if (text.size() < at || text.size() - at < ascii.size())
        return false;
    for (std::size_t i = 0; i < ascii.size(); ++i)
        if (UnitOf(text[at + i]) != static_cast<unsigned char>(ascii[i]))
            return false;
    return true;
}

// Whether any of eight bytes is not plain in a string: one outside ASCII, a control
// character, DEL, the quote or the backslash (a zero byte of v ^ c is a byte c).
bool HoldsNotPlain(std::uint64_t bytes) {
    constexpr std::uint64_t ones = 0x0101010101010101;
    constexpr std::uint64_t highs = 0x8080808080808080;
    const auto holdsZero = [](std::uint64_t v) { return (v - ones) & ~v & highs; };
    const auto holdsBelowSpace = (bytes - ones * 0x20) & ~bytes & highs;
    return ((bytes & highs) | holdsBelowSpace | holdsZero(bytes ^ (ones * 0x7F)) |
            holdsZero(bytes ^ (ones * '"')) | holdsZero(bytes ^ (ones * '\\'))) != 0;
}

// Where the run of characters plain in a string that begins at from ends. Bytes are
// looked at eight at a time: nearly all of a file's are plain.
std::size_t PlainRunEnd(std::string_view text, std::size_t from) {
    for (std::uint64_t bytes = 0; from + sizeof bytes <= text.size(); from += sizeof bytes) {
        std::memcpy(&bytes, text.data() + from, sizeof bytes);
        if (HoldsNotPlain(bytes))
            break;
    }
    while (from < text.size() && IsPlainInString(static_cast<unsigned char>(text[from])))
        ++from;
    return from;
}

std::size_t PlainRunEnd(std::wstring_view text, std::size_t from) {
    while (from < text.size() && IsPlainInString(text[from]))
        ++from;
    return from;
}

// The old file as wide text (Char wchar_t) or as its bytes in the ANSI code page (char).
template <typename Char> class Rewrite {
    using View = std::basic_string_view<Char>;

  public:
    Rewrite(View oldText, const FavoritesRequest& request, AnsiDecoder decode)
        : old_(oldText), decode_(decode), adding_(!request.topic.empty()), name_(request.name),
          section_(request.section), sectionText_(L"[" + request.section + L"]") {
        AppendItemLine(entryLine_, std::wstring(request.name) + L"=" + request.topic);
    }

    void ReadLines() {
        for (std::size_t at = 0; at < old_.size();) {
            if (const std::size_t length = WrittenItemLength(at)) {
                TakeWrittenItem(at, length);
                at += length;
                continue;
            }
            at = TakeOtherLine(at);
        }
    }

    // The header, then the blocks in order; the entry at the end of its section when it
    // replaced none there, and in a section of its own at the end when the file had none.
    std::string WriteBlocks() const {
        std::string text;
        text.reserve(NewSize());
        AppendAscii(text, FavoritesHeader);
        text.append(CrLfBytes);
        const std::vector<std::size_t> order = PiecesByBlock();
        std::size_t next = 0;
        for (std::size_t block = 0; block < blocks_; ++block) {
            for (; next < order.size() && pieces_[order[next]].block == block; ++next)
                AppendPiece(text, pieces_[order[next]]);
            if (block == ownBlock_ && adding_ && !placed_)
                text.append(entryLine_).append(CrLfBytes);
        }
        if (ownBlock_ == npos && adding_) {
            AppendItemLine(text, L"[" + std::wstring(section_) + L"]");
            text.append(CrLfBytes).append(entryLine_).append(CrLfBytes);
        }
        return text;
    }

  private:
    static constexpr std::string_view CrLfBytes = "\r\n";

    // The length, CR LF included, of the line at `at` when it is an item as the rewrite
    // writes it ("+\"", plain text, U+0001, "\"", CR LF), as nearly every line of a file
    // is; else 0. One look at each character finds both the line's end and that its text
    // is plain.
    std::size_t WrittenItemLength(std::size_t at) const {
        static constexpr std::string_view ItemEnd = "\x01\"\r\n";
        if (!HoldsAt(old_, at, "+\""))
            return 0;
        const std::size_t textEnd = PlainRunEnd(old_, at + EntryPrefix.size());
        return HoldsAt(old_, textEnd, ItemEnd) ? textEnd + ItemEnd.size() - at : 0;
    }

    // Such an item: a section line, the entry the request names, or one more line kept.
    void TakeWrittenItem(std::size_t at, std::size_t length) {
        const std::size_t lineLength = length - CrLfBytes.size();
        const View text = old_.substr(at + EntryPrefix.size(), lineLength - 4);
        if (!text.empty() && text.front() == Char('[')) {
            if (!EnterSection(WideOf(text, wide_)))
                return; // merged into its first place
        } else if (block_ == ownBlock_ && !placed_) {
            if (MayBeEntryOf(text) && IsEntryOf(WideOf(text, wide_), name_))
                return PlaceEntry();
        }
        AddPiece(false, at, length);
    }

    // Whether an item's text may name the request's entry: folding keeps the length, so a
    // name of another length before its "=" (blanks at its end aside) is never the entry,
    // nor one with a character that is surely another.
    bool MayBeEntryOf(View text) const {
        std::size_t nameEnd = text.find(Char('='));
        if (nameEnd == npos)
            return false;
        while (nameEnd > 0 && text[nameEnd - 1] == Char(' '))
            --nameEnd;
        if (nameEnd != name_.size())
            return false;
        for (std::size_t i = 0; i < nameEnd; ++i)
            if (SurelyDifferentNoCase(static_cast<wchar_t>(UnitOf(text[i])), name_[i]))
                return false;
        return true;
    }

    // Any other line, read as the pages' script reads it; bytes outside ASCII decoded.
    std::size_t TakeOtherLine(std::size_t at) {
        const auto [end, endLength] = text_split::LineEndIn(old_, at);
        const std::size_t rawLength = (end == npos ? old_.size() : end) - at;
        std::size_t next = end == npos ? old_.size() : end + endLength;
        const View bytes = old_.substr(at, rawLength);
        bool asInOld = true;
        std::wstring_view raw;
        if constexpr (std::is_same_v<Char, wchar_t>) {
            raw = bytes;
        } else if (IsAscii(bytes)) {
            raw = WideOf(bytes, wide_);
        } else {
            raw = DecodeLine(at, next);
            asInOld = false;
        }
        const FileLine line = ReadFileLine(raw, decoded_);
        TakeLine(at, rawLength, line, asInOld);
        return next;
    }

    // Where the line after the one at `at` begins.
    std::size_t NextLineAt(std::size_t at) const {
        const auto [end, endLength] = text_split::LineEndIn(old_, at);
        return end == npos ? old_.size() : end + endLength;
    }

    // The line at `at` decoded, as the whole file decoded reads it: a character that takes
    // the line's end into itself (a lead byte of two just before it) joins the next line
    // to it. next moves to the line after the one decoded.
    std::wstring_view DecodeLine(std::size_t at, std::size_t& next) {
        wideLine_.clear();
        for (std::size_t from = at;;) {
            const std::size_t had = wideLine_.size();
            wideLine_ += decode_(std::string_view(old_.substr(from, next - from)));
            const std::size_t end = FileLineEnd(wideLine_, had).first;
            if (end != npos || next == old_.size())
                return std::wstring_view(wideLine_).substr(0, end);
            from = next;
            next = NextLineAt(next);
        }
    }

    static bool IsAscii(View bytes) {
        unsigned seen = 0;
        for (const Char c : bytes)
            seen |= UnitOf(c);
        return seen < 0x80;
    }

    void TakeLine(std::size_t at, std::size_t rawLength, const FileLine& line, bool asInOld) {
        if (line.kind == LineKind::Dropped || line.kind == LineKind::Header)
            return; // the header is written once, at the top
        if (IsSectionLine(line)) {
            if (!EnterSection(line.text))
                return; // merged into its first place
        } else if (block_ == ownBlock_ && !placed_ && line.kind == LineKind::Item &&
                   IsEntryOf(line.text, name_)) {
            return PlaceEntry();
        }
        Keep(at, rawLength, line, asInOld);
    }

    // In the old entry's place, or removed.
    void PlaceEntry() {
        placed_ = true;
        if (!adding_)
            return;
        const std::size_t from = anew_.size();
        anew_.append(entryLine_).append(CrLfBytes);
        AddPiece(true, from, anew_.size() - from);
    }

    // Whether the section line is its section's first; the lines after it go to its block.
    bool EnterSection(std::wstring_view text) {
        const auto [at, isNew] = blockOfSection_.try_emplace(FoldCase(text), blocks_);
        block_ = at->second;
        if (!isNew)
            return false;
        ++blocks_;
        if (ownBlock_ == npos && EqualsNoCase(text, sectionText_))
            ownBlock_ = block_;
        return true;
    }

    // A line as it stands in the old file when it is written so already (its line end
    // CR LF too, and no byte of it decoded), else written anew.
    void Keep(std::size_t at, std::size_t rawLength, const FileLine& line, bool asInOld) {
        if (asInOld && line.written && line.line.size() == rawLength &&
            HoldsAt(old_, at + rawLength, CrLfBytes))
            return AddPiece(false, at, rawLength + CrLfBytes.size());
        const std::size_t from = anew_.size();
        if (line.written)
            AppendAscii(anew_, line.line);
        else if (line.kind == LineKind::Comment)
            AppendScriptText(anew_, line.line);
        else
            AppendItemLine(anew_, line.text);
        anew_.append(CrLfBytes);
        AddPiece(true, from, anew_.size() - from);
    }

    // Lines that follow the last piece in its text and block lengthen it.
    void AddPiece(bool anew, std::size_t start, std::size_t length) {
        if (!pieces_.empty()) {
            Piece& last = pieces_.back();
            if (last.anew == anew && last.block == block_ && last.start + last.length == start) {
                last.length += length;
                return;
            }
        }
        pieces_.push_back({anew, start, length, block_});
    }

    void AppendPiece(std::string& text, const Piece& piece) const {
        if (piece.anew)
            text.append(anew_, piece.start, piece.length);
        else
            AppendAscii(text, old_.substr(piece.start, piece.length));
    }

    std::size_t NewSize() const {
        std::size_t size = FavoritesHeader.size() + CrLfBytes.size();
        for (const Piece& piece : pieces_)
            size += piece.length;
        return size + 2 * (entryLine_.size() + CrLfBytes.size()) + section_.size() + 16;
    }

    // The pieces' indices block by block: a counting sort by block keeps each block's
    // order (the file's).
    std::vector<std::size_t> PiecesByBlock() const {
        std::vector<std::size_t> blockStart(blocks_ + 1, 0);
        for (const Piece& piece : pieces_)
            ++blockStart[piece.block + 1];
        for (std::size_t b = 1; b < blockStart.size(); ++b)
            blockStart[b] += blockStart[b - 1];
        std::vector<std::size_t> order(pieces_.size());
        for (std::size_t i = 0; i < pieces_.size(); ++i)
            order[blockStart[pieces_[i].block]++] = i;
        return order;
    }

    const View old_;
    const AnsiDecoder decode_;
    const bool adding_;
    const std::wstring_view name_;
    const std::wstring_view section_;
    const std::wstring sectionText_;
    std::string entryLine_;
    std::wstring wide_;     // the last ASCII line or text read as wide text
    std::wstring wideLine_; // the last line decoded
    std::wstring decoded_;  // the last string read escape by escape
    std::string anew_;      // the lines written anew, each ending in CR LF
    std::vector<Piece> pieces_;
    std::unordered_map<std::wstring, std::size_t> blockOfSection_;
    std::size_t blocks_ = 1;
    std::size_t block_ = 0;
    std::size_t ownBlock_ = npos;
    bool placed_ = false; // the old entry replaced or removed
};

} // namespace

std::wstring ItemLine(std::wstring_view text) {
    std::wstring line;
    AppendItemLine(line, text);
    return line;
}

std::wstring SectionLine(std::wstring_view section) {
    return ItemLine(L"[" + std::wstring(section) + L"]");
}

std::wstring EntryLine(std::wstring_view name, std::wstring_view topic) {
    return ItemLine(std::wstring(name) + L"=" + std::wstring(topic));
}

bool IsFavoritesHeader(std::wstring_view line) {
    return EqualsNoCase(line, FavoritesHeader);
}

std::wstring_view FirstFileLine(std::wstring_view text) {
    return text.substr(0, text.find_first_of(L"\r\n"));
}

std::wstring JoinFileLines(const std::vector<std::wstring>& lines) {
    std::wstring text;
    for (const auto& line : lines)
        text.append(line).append(CrLf);
    return text;
}

std::wstring RewriteFavorites(std::wstring_view oldText, const FavoritesRequest& request) {
    Rewrite<wchar_t> rewrite(oldText, request, nullptr);
    rewrite.ReadLines();
    const std::string bytes = rewrite.WriteBlocks();
    return std::wstring(bytes.begin(), bytes.end());
}

std::string RewriteFavorites(std::string_view oldBytes, const FavoritesRequest& request,
                             AnsiDecoder decode) {
    Rewrite<char> rewrite(oldBytes, request, decode);
    rewrite.ReadLines();
    return rewrite.WriteBlocks();
}

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
#include <unordered_map>

namespace {

constexpr std::size_t npos = std::wstring_view::npos;

void AppendItemLine(std::wstring& out, std::wstring_view text) {
    out.append(EntryPrefix);
    AppendScriptString(out, text);
    out.append(ClosingPair);
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

class Rewrite {
  public:
    Rewrite(std::wstring_view oldText, const FavoritesRequest& request)
        : old_(oldText), adding_(!request.topic.empty()), name_(request.name),
          section_(request.section), sectionText_(L"[" + request.section + L"]"),
          entryLine_(EntryLine(request.name, request.topic)) {}

    void ReadLines() {
        for (std::size_t at = 0; at < old_.size();) {
            if (const std::size_t length = WrittenItemLength(at)) {
                const std::wstring_view line = old_.substr(at, length - CrLf.size());
                const std::wstring_view text = line.substr(2, line.size() - 4);
                TakeLine(line, {LineKind::Item, line, text, true});
                at += length;
                continue;
            }
            const auto [end, endLength] = FileLineEnd(old_, at);
            const std::wstring_view raw = old_.substr(at, end - at);
            TakeLine(raw, ReadFileLine(raw, decoded_));
            at = end == npos ? old_.size() : end + endLength;
        }
    }

    // The header, then the blocks in order; the entry at the end of its section when it
    // replaced none there, and in a section of its own at the end when the file had none.
    std::wstring WriteBlocks() const {
        std::wstring text;
        text.reserve(NewSize());
        text.append(FavoritesHeader).append(CrLf);
        const std::vector<std::size_t> order = PiecesByBlock();
        std::size_t next = 0;
        for (std::size_t block = 0; block < blocks_; ++block) {
            for (; next < order.size() && pieces_[order[next]].block == block; ++next)
                text.append(TextOf(pieces_[order[next]]));
            if (block == ownBlock_ && adding_ && !placed_)
                text.append(entryLine_).append(CrLf);
        }
        if (ownBlock_ == npos && adding_)
            text.append(SectionLine(section_)).append(CrLf).append(entryLine_).append(CrLf);
        return text;
    }

  private:
    // The length, CR LF included, of the line at `at` when it is an item as the rewrite
    // writes it ("+\"", plain text, U+0001, "\"", CR LF), as nearly every line of a file
    // is; else 0. One look at each character finds both the line's end and that its text
    // is plain.
    std::size_t WrittenItemLength(std::size_t at) const {
        static constexpr std::wstring_view ItemEnd = L"\x01\"\r\n";
        const std::wstring_view rest = old_.substr(at);
        if (!rest.starts_with(EntryPrefix))
            return 0;
        std::size_t textEnd = EntryPrefix.size();
        while (textEnd < rest.size() && IsPlainInString(rest[textEnd]))
            ++textEnd;
        return rest.substr(textEnd, ItemEnd.size()) == ItemEnd ? textEnd + ItemEnd.size() : 0;
    }

    void TakeLine(std::wstring_view raw, const FileLine& line) {
        if (line.kind == LineKind::Dropped || line.kind == LineKind::Header)
            return; // the header is written once, at the top
        if (IsSectionLine(line)) {
            if (!EnterSection(line.text))
                return; // merged into its first place
        } else if (block_ == ownBlock_ && !placed_ && line.kind == LineKind::Item &&
                   IsEntryOf(line.text, name_)) {
            placed_ = true; // in the old entry's place, or removed
            if (adding_)
                AddAnew(entryLine_);
            return;
        }
        Keep(raw, line);
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
    // CR LF too), else written anew.
    void Keep(std::wstring_view raw, const FileLine& line) {
        const auto start = static_cast<std::size_t>(raw.data() - old_.data());
        const std::size_t end = start + raw.size();
        if (line.written && line.line.size() == raw.size() && old_.substr(end, 2) == CrLf)
            return AddPiece(false, start, raw.size() + CrLf.size());
        const std::size_t from = anew_.size();
        if (line.written)
            anew_.append(line.line);
        else if (line.kind == LineKind::Comment)
            AppendScriptText(anew_, line.line);
        else
            AppendItemLine(anew_, line.text);
        anew_.append(CrLf);
        AddPiece(true, from, anew_.size() - from);
    }

    void AddAnew(std::wstring_view line) {
        const std::size_t from = anew_.size();
        anew_.append(line).append(CrLf);
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

    std::wstring_view TextOf(const Piece& piece) const {
        return (piece.anew ? std::wstring_view(anew_) : old_).substr(piece.start, piece.length);
    }

    std::size_t NewSize() const {
        std::size_t size = FavoritesHeader.size() + CrLf.size();
        for (const Piece& piece : pieces_)
            size += piece.length;
        return size + 2 * (entryLine_.size() + CrLf.size()) + section_.size() + 16;
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

    const std::wstring_view old_;
    const bool adding_;
    const std::wstring_view name_;
    const std::wstring_view section_;
    const std::wstring sectionText_;
    const std::wstring entryLine_;
    std::wstring decoded_; // the last string read escape by escape
    std::wstring anew_;    // the lines written anew, each ending in CR LF
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
    Rewrite rewrite(oldText, request);
    rewrite.ReadLines();
    return rewrite.WriteBlocks();
}

// The texts behind /reg, /run and /move: the product key, the fields of /reg, the name a
// help file is recorded under, and the remembered window rectangle.
#pragma once
#include "platform/Geometry.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// "SOFTWARE\<company>\<product>"
std::wstring ProductKeyPath(std::wstring_view company, std::wstring_view product);

// The three fields of a /reg argument: name, folder, version. Fewer than three fields
// throw RunError(MissingField); further fields are ignored.
std::array<std::wstring, 3> RegisterFields(std::wstring_view argument);

// The name /run records a help file under: the file name without its extension, cut
// before its last "-" when that stands at the second character or later
// ("C:\Books\Atlas-1049.chm" gives "Atlas"). A file name without "." throws
// RunError(InvalidArgument).
std::wstring HelpFileName(std::wstring_view path);

// "left,top,width,height" from the corners of a window rectangle.
std::wstring RectText(std::int64_t left, std::int64_t top, std::int64_t right, std::int64_t bottom);

// The rectangle of a Rect text; nothing unless there are exactly four fields. A field
// that is not a number throws RunError(InvalidArgument), one outside the signed 32-bit
// range RunError(Overflow).
std::optional<Box> ParseRectText(std::wstring_view text);

#include "text/Numbers.h"

#include "platform/RunError.h"
#include "text/TextUtil.h"

#include <cmath>
#include <cstdlib>
#include <string>

namespace {

// What LeadingNumber passes over, wherever it stands in the number.
constexpr std::wstring_view PassedOver = L" \t\n";

bool IsDecimalDigit(wchar_t c) {
    return c >= L'0' && c <= L'9';
}

bool SignAllowed(wchar_t c, NumberSign sign) {
    return (c == L'-' && sign != NumberSign::None) || (c == L'+' && sign == NumberSign::Either);
}

// Reads the digits of a &H or &O number (the passed-over characters may stand between
// them). Up to 16 bits (four hex digits) the value is a signed 16-bit number, up to 32
// bits a signed 32-bit one; a longer number keeps its full value, which no integer
// target takes.
double ReadRadixNumber(std::wstring_view text, int radix) {
    double value = 0;
    int digits = 0;
    for (const wchar_t c : text) {
        if (PassedOver.find(c) != std::wstring_view::npos)
            continue;
        const int d = HexDigitValue(c);
        if (d < 0 || d >= radix)
            break;
        value = value * radix + d;
        ++digits;
    }
    if (value > 4294967295.0)
        return value;
    const auto bits = static_cast<std::uint32_t>(value);
    const bool sixteenBit = radix == 16 ? digits <= 4 : bits <= 0xFFFF;
    if (sixteenBit)
        return static_cast<double>(static_cast<std::int16_t>(static_cast<std::uint16_t>(bits)));
    return static_cast<double>(static_cast<std::int32_t>(bits));
}

// Walks a number's characters: what it takes goes into the text strtod reads.
class NumberScan {
  public:
    NumberScan(std::wstring_view text, const NumberForm& form) : text_(text), form_(form) {}

    // The next character that is not passed over, if it is one that accept allows.
    template <typename Accept> bool At(Accept accept) {
        while (at_ < text_.size() && form_.passedOver.find(text_[at_]) != std::wstring_view::npos)
            ++at_;
        return at_ < text_.size() && accept(text_[at_]);
    }
    void Take() {
        taken_ += static_cast<char>(text_[at_]);
        end_ = ++at_;
    }
    bool TakeDigits() {
        bool any = false;
        while (At(IsDecimalDigit)) {
            Take();
            any = true;
        }
        return any;
    }
    // An exponent only when digits follow its letter and sign: else nothing of it counts.
    void TakeExponent() {
        const NumberScan before = *this;
        Take();
        if (At([](wchar_t c) { return c == L'-' || c == L'+'; }))
            Take();
        if (!TakeDigits())
            *this = before;
    }
    NumberRead Result() const { return {std::strtod(taken_.c_str(), nullptr), end_}; }

  private:
    std::wstring_view text_;
    NumberForm form_;
    std::string taken_;
    std::size_t at_ = 0;
    std::size_t end_ = 0;
};

} // namespace

int HexDigitValue(wchar_t c) {
    if (c >= L'0' && c <= L'9')
        return c - L'0';
    if (c >= L'a' && c <= L'f')
        return c - L'a' + 10;
    if (c >= L'A' && c <= L'F')
        return c - L'A' + 10;
    return -1;
}

std::wstring HexDigits(std::uint32_t value, std::size_t count) {
    static constexpr wchar_t Digits[] = L"0123456789ABCDEF";
    std::wstring text(count, L'0');
    for (std::size_t i = count; i > 0 && value != 0; --i, value >>= 4)
        text[i - 1] = Digits[value & 0xF];
    return text;
}

std::optional<NumberRead> ReadNumber(std::wstring_view text, const NumberForm& form) {
    NumberScan scan(text, form);
    if (scan.At([&](wchar_t c) { return SignAllowed(c, form.sign); }))
        scan.Take();
    bool digits = scan.TakeDigits();
    if (form.fraction && scan.At([](wchar_t c) { return c == L'.'; })) {
        scan.Take();
        digits = scan.TakeDigits() || digits;
    }
    if (!digits)
        return std::nullopt;
    if (form.exponent && scan.At([](wchar_t c) { return c == L'e' || c == L'E'; }))
        scan.TakeExponent();
    return scan.Result();
}

std::optional<double> ReadWholeNumber(std::wstring_view text, const NumberForm& form) {
    const auto number = ReadNumber(text, form);
    if (!number || number->length != text.size())
        return std::nullopt;
    return number->value;
}

double LeadingNumber(std::wstring_view text) {
    text = TrimText(text, TextEnds::Start, PassedOver);
    if (!text.empty() && text.front() == L'&') {
        const std::wstring_view rest = TrimText(text.substr(1), TextEnds::Start, PassedOver);
        if (!rest.empty() && (rest.front() == L'H' || rest.front() == L'h'))
            return ReadRadixNumber(rest.substr(1), 16);
        if (!rest.empty() && (rest.front() == L'O' || rest.front() == L'o'))
            return ReadRadixNumber(rest.substr(1), 8);
        return 0.0;
    }
    const auto number = ReadNumber(text, {.passedOver = PassedOver});
    return number ? number->value : 0.0;
}

double LeadingNumber(std::string_view text) {
    std::wstring wide;
    wide.reserve(text.size());
    for (char c : text)
        wide += static_cast<wchar_t>(static_cast<unsigned char>(c));
    return LeadingNumber(std::wstring_view(wide));
}

namespace {

double RoundHalfEven(double value) {
    if (!std::isfinite(value))
        return value;
    const double floor = std::floor(value);
    const double fraction = value - floor;
    if (fraction > 0.5)
        return floor + 1.0;
    if (fraction < 0.5)
        return floor;
    return std::fmod(floor, 2.0) == 0.0 ? floor : floor + 1.0;
}

std::wstring NumberText(double value) {
    std::wstring text = std::to_wstring(value);
    while (!text.empty() && text.find(L'.') != std::wstring::npos &&
           (text.back() == L'0' || text.back() == L'.')) {
        const bool wasPoint = text.back() == L'.';
        text.pop_back();
        if (wasPoint)
            break;
    }
    return text;
}

} // namespace

std::int16_t RoundToInt16(double value) {
    const double r = RoundHalfEven(value);
    if (!(r >= -32768.0 && r <= 32767.0))
        throw RunError(ErrorKind::Overflow, NumberText(value));
    return static_cast<std::int16_t>(r);
}

std::int32_t RoundToInt32(double value) {
    const double r = RoundHalfEven(value);
    if (!(r >= -2147483648.0 && r <= 2147483647.0))
        throw RunError(ErrorKind::Overflow, NumberText(value));
    return static_cast<std::int32_t>(r);
}

#include "document/core/Text.h"

#include <cinttypes>
#include <cstdio>
#include <limits>

namespace cofferon {

namespace {

bool isLeadByte(unsigned char byte)
{
    return byte >= 0x81 && byte <= 0xFE;
}

bool isTwoByteTrail(unsigned char byte)
{
    return (byte >= 0x40 && byte <= 0x7E) || (byte >= 0x80 && byte <= 0xFE);
}

bool isDigitByte(unsigned char byte)
{
    return byte >= 0x30 && byte <= 0x39;
}

}  // namespace

std::size_t characterLength(std::string_view text, std::size_t pos)
{
    if (pos >= text.size())
        return 0;
    const auto byte = [&](std::size_t offset) {
        return pos + offset < text.size() ? static_cast<unsigned char>(text[pos + offset]) : 0;
    };
    if (!isLeadByte(byte(0)))
        return 1;
    if (isTwoByteTrail(byte(1)))
        return 2;
    if (isDigitByte(byte(1)) && isLeadByte(byte(2)) && isDigitByte(byte(3)))
        return 4;
    return 1;
}

namespace {

// 0-based offset of the first match at or after `from`, which must itself be
// a character start; searching on from there keeps split and replace linear.
std::size_t findFrom(std::string_view text, std::string_view needle, std::size_t from)
{
    if (needle.size() > text.size())
        return std::string_view::npos;
    const std::size_t last = text.size() - needle.size();
    for (std::size_t pos = from; pos <= last; pos += characterLength(text, pos)) {
        if (text[pos] == needle.front() && text.compare(pos, needle.size(), needle) == 0)
            return pos;
    }
    return std::string_view::npos;
}

// The first character start at or after `offset`, walking from the known
// character start `from` (a separator may end inside a character).
std::size_t nextCharacterStart(std::string_view text, std::size_t from, std::size_t offset)
{
    std::size_t pos = from;
    while (pos < offset && pos < text.size())
        pos += characterLength(text, pos);
    return pos;
}

}  // namespace

long long findText(std::string_view text, std::string_view needle, long long start)
{
    if (needle.empty())
        return text.empty() ? -1 : 1;
    const std::size_t from = start > 1 ? static_cast<std::size_t>(start - 1) : 0;
    const std::size_t pos = findFrom(text, needle, nextCharacterStart(text, 0, from));
    return pos == std::string_view::npos ? -1 : static_cast<long long>(pos) + 1;
}

std::vector<std::string> splitText(std::string_view text, std::string_view separator)
{
    std::vector<std::string> pieces;
    if (text.empty())
        return pieces;
    if (separator.empty()) {
        pieces.emplace_back(text);
        return pieces;
    }
    std::size_t begin = 0;
    for (std::size_t pos = findFrom(text, separator, 0); pos != std::string_view::npos;
         pos = findFrom(text, separator, nextCharacterStart(text, pos, begin))) {
        pieces.emplace_back(text.substr(begin, pos - begin));
        begin = pos + separator.size();
    }
    if (begin < text.size())
        pieces.emplace_back(text.substr(begin));
    return pieces;
}

std::string replaceText(std::string_view text, std::string_view from, std::string_view to)
{
    if (from.empty())
        return std::string(text);
    std::string result;
    result.reserve(text.size());
    std::size_t begin = 0;
    for (std::size_t pos = findFrom(text, from, 0); pos != std::string_view::npos;
         pos = findFrom(text, from, nextCharacterStart(text, pos, begin))) {
        result.append(text.substr(begin, pos - begin));
        result.append(to);
        begin = pos + from.size();
    }
    result.append(text.substr(begin));
    return result;
}

std::string rightPart(std::string_view text, long long n)
{
    if (n <= 0)
        return {};
    const auto count = static_cast<std::size_t>(n);
    return std::string(count >= text.size() ? text : text.substr(text.size() - count));
}

std::string withExtension(std::string_view name, std::string_view extension)
{
    std::string result(name);
    if (rightPart(result, static_cast<long long>(extension.size())) != extension)
        result += extension;
    return result;
}

namespace {

// GB18030/GBK full-width forms: A3A1..A3FE are ASCII 21..7E, A1A1 is the ideographic space.
std::string foldFullWidth(std::string_view text)
{
    std::string folded;
    folded.reserve(text.size());
    for (std::size_t pos = 0; pos < text.size();) {
        const std::size_t length = characterLength(text, pos);
        const auto lead = static_cast<unsigned char>(text[pos]);
        if (length == 2) {
            const auto trail = static_cast<unsigned char>(text[pos + 1]);
            if (lead == 0xA3 && trail >= 0xA1 && trail <= 0xFE) {
                folded += static_cast<char>(trail - 0x80);
                pos += 2;
                continue;
            }
            if (lead == 0xA1 && trail == 0xA1) {
                folded += ' ';
                pos += 2;
                continue;
            }
        }
        folded.append(text.substr(pos, length));
        pos += length;
    }
    return folded;
}

bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

}  // namespace

long long textToInteger(std::string_view text)
{
    const std::string folded = foldFullWidth(text);
    std::size_t pos = 0;
    while (pos < folded.size() && isSpace(folded[pos]))
        ++pos;
    bool negative = false;
    if (pos < folded.size() && (folded[pos] == '+' || folded[pos] == '-')) {
        negative = folded[pos] == '-';
        ++pos;
    }
    // Accumulate as a negative number so that the minimum value fits too.
    constexpr long long kMin = std::numeric_limits<long long>::min();
    long long value = 0;
    bool saturated = false;
    for (; pos < folded.size() && folded[pos] >= '0' && folded[pos] <= '9'; ++pos) {
        const int digit = folded[pos] - '0';
        if (saturated)
            continue;
        if (value < (kMin + digit) / 10) {
            saturated = true;
            continue;
        }
        value = value * 10 - digit;
    }
    if (saturated)
        return negative ? kMin : std::numeric_limits<long long>::max();
    if (!negative)
        return value == kMin ? std::numeric_limits<long long>::max() : -value;
    return value;
}

std::string asciiLower(std::string_view text)
{
    std::string lower(text);
    for (char& c : lower) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return lower;
}

std::string numberToText(long long value)
{
    return std::to_string(value);
}

std::string numberToText(double value)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.13g", value);
    return buffer;
}

}  // namespace cofferon

#pragma once

// Conversions between document texts (GB18030) and UTF-8, through iconv.

#include <optional>
#include <string>
#include <string_view>

namespace cofferon {

// nullopt when the input is not valid in its encoding (or iconv fails).
std::optional<std::string> gb18030ToUtf8(std::string_view text);
std::optional<std::string> utf8ToGb18030(std::string_view text);
// Appends the UTF-8 text converted to GB18030; false (and `out` as it was) when it does not convert.
bool appendUtf8AsGb18030(std::string& out, std::string_view text);
// Whether gb18030ToUtf8 succeeds, found without holding the converted text.
bool convertsToUtf8(std::string_view text);

// Document text as UTF-16 for the toolkit, and back, losing no byte. A byte
// that is not part of a GB18030 character that converts both ways unchanged
// (0x80, a stray lead byte, an unassigned four-byte sequence) comes through
// as the lone surrogate U+DC00 + byte, which no typed text contains, and goes
// back as that byte. A lone surrogate of any other value becomes U+FFFD.
std::u16string documentToUtf16(std::string_view text);
std::string utf16ToDocument(std::u16string_view text);

// The code point at `pos` of a text known to be well-formed UTF-8, and
// `pos` moved past it.
char32_t nextCodePoint(std::string_view utf8, std::size_t& pos);

// Converts a whole text from `from` to GB18030 whatever it holds: where it
// cannot be read, the next `unit` bytes are kept as they are when
// `keepBytes`, else they become one "?".
std::string toGb18030KeepingUnreadable(std::string_view text, const char* from, std::size_t unit, bool keepBytes);

// Converts between any two iconv encodings. The output buffer starts at the
// input's size and grows by half the input's size plus 128 bytes whenever
// iconv reports it full; after `maxRounds` rounds, or on any other iconv
// error, the conversion gives up.
std::optional<std::string> convertEncoding(std::string_view text, const char* from, const char* to, int maxRounds = 12);

}  // namespace cofferon

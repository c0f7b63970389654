#pragma once

// What a value must be for the menu file to hold it exactly: the rules the
// YAML writer checks and the slot editor shares for its price boxes.

#include <optional>
#include <string>
#include <string_view>

namespace cofferon {

enum class NumberKind {
    Integer,  // an optional "-" and digits
    Decimal,  // the same, optionally followed by one "." and digits
};

bool isMenuNumber(std::string_view text, NumberKind kind);

// A valid menu number without the leading zeros of its whole part, which a
// YAML reader would take for an octal number ("010" is 8 there).
std::string plainNumber(std::string_view number);

// Whether a YAML reader rejects or changes the character inside quotes: C0
// controls but tab, DEL, C1 controls, the line and paragraph separators and
// the two non-characters U+FFFE and U+FFFF.
bool isUnsafeCharacter(char32_t c);

// The first such character of a document text: its code point, or nullopt.
std::optional<char32_t> firstUnsafeCharacter(std::string_view text);

// The first character (its bytes) that iconv cannot convert to UTF-8: a byte
// that starts no GB18030 sequence, or an unassigned four-byte sequence.
std::optional<std::string> firstUnconvertibleCharacter(std::string_view text);

// The first character (its bytes) that a GBK reader would not read as the
// same character: every four-byte sequence, a byte that starts no sequence,
// and the two-byte codes GBK lacks or reads otherwise.
std::optional<std::string> firstNonGbkCharacter(std::string_view text);

}  // namespace cofferon

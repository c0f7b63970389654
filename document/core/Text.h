#pragma once

// Text operations over document texts: byte strings in GB18030 (byte-identical
// to GBK for every GBK character). Positions are 1-based byte positions, and
// matches are only ever tried at character starts, so the trail byte of a
// double-byte character never starts a match.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace cofferon {

// Byte length of the character starting at `pos`: 2 or 4 for a complete
// GB18030 sequence, else 1, so a byte that starts no sequence (a stray or cut
// lead byte, 0x80, 0xFF) is a character of its own. 0 at or past the end.
std::size_t characterLength(std::string_view text, std::size_t pos);

// Position of the first occurrence of `needle` at or after `start`, or -1.
// An empty needle gives 1 on a non-empty text and -1 on an empty one.
long long findText(std::string_view text, std::string_view needle, long long start = 1);

// Cuts at every separator. Empty pieces between separators or before a leading
// separator are kept; the piece after the last separator only when non-empty.
// An empty text gives no pieces.
std::vector<std::string> splitText(std::string_view text, std::string_view separator);

std::string replaceText(std::string_view text, std::string_view from, std::string_view to);

// The last n bytes; the whole text when it is shorter, empty for n <= 0.
std::string rightPart(std::string_view text, long long n);

// The name with `extension` appended unless its last bytes are exactly that
// extension (case-sensitive: "menu.YML" gains ".yml").
std::string withExtension(std::string_view name, std::string_view extension);

// Leading integer of a text: full-width ASCII forms and the full-width space
// count as their ASCII characters; white space is skipped, then an optional
// sign and the longest run of digits. 0 when there is no digit. Values beyond
// the 64-bit range saturate, so callers can range-check without wrap-around.
long long textToInteger(std::string_view text);

// ASCII letters folded to lower case, every other byte as it is: keys and
// option names compare this way, whatever the bytes around them.
std::string asciiLower(std::string_view text);

std::string numberToText(long long value);
// At most 13 significant digits, so a whole value held as a fraction prints
// without a decimal point.
std::string numberToText(double value);

}  // namespace cofferon

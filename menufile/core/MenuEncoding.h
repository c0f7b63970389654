#pragma once

// The two output encodings of the menu file, and its naming rule.

#include <cstddef>
#include <string>
#include <string_view>
#include <variant>

#include "menufile/core/MenuYamlWriter.h"

namespace cofferon {

// The bytes to write, without a byte-order mark. The GB2312 file holds the
// document's bytes unchanged, so it refuses characters that only GB18030's
// four-byte sequences can hold; the UTF-8 file converts from GB18030.
std::variant<std::string, Refusal> encodeMenu(std::string_view yaml, OutputEncoding encoding);

// A YAML reader's default limit on the characters of one document (the
// plugin's reader stops there).
inline constexpr std::size_t kMostMenuCharacters = 3 * 1024 * 1024;

// The whole menu file in the encoding: the writer's text, with every value
// checked for that encoding, then encoded, or refused when it is longer than
// a reader takes. Both exports go through here.
std::variant<std::string, Refusal> menuFileBytes(const MenuSettings& settings, const SlotTable& slots,
                                                 OutputEncoding encoding);

// Appends ".yml" unless the name already ends in exactly ".yml".
std::string ymlFileName(std::string_view chosen);

}  // namespace cofferon

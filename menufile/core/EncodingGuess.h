#pragma once

// Which encoding a menu file's bytes are in when they read both as UTF-8 and
// as GBK: each reading is scored for what real text seldom holds, and the
// reading with clearly less of it wins.

#include <string_view>

namespace cofferon {

enum class EncodingGuess {
    Utf8,
    Gbk,
    Either,  // both readings stay plausible: a character or two of text
};

// `bytes` must be valid in both encodings.
EncodingGuess guessEncoding(std::string_view bytes);

}  // namespace cofferon

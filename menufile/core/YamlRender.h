#pragma once

// Scalars written so that a YAML 1.1 reader reads them back as exactly the
// text given, in the style asked for where that style can hold it.

#include <string>
#include <string_view>

#include "menufile/core/YamlTree.h"

namespace cofferon::yaml {

// Whether the text written without quotes reads back as that very text (a
// string, not a number, a switch or null), as a value in a block mapping or,
// with `flow`, inside "[...]" or "{...}".
bool plainHolds(std::string_view utf8, bool flow);

// 'It''s', "say \"hi\"\t".
std::string singleQuoted(std::string_view utf8);
std::string doubleQuoted(std::string_view utf8);

// One line of text in `style` where it holds the text, else single-quoted.
// Block styles are the caller's business: they are single-quoted here.
std::string textScalar(std::string_view utf8, ScalarStyle style, bool flow);

}  // namespace cofferon::yaml

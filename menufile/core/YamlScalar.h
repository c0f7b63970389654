#pragma once

// What a YAML 1.1 reader of the plugin's kind (SnakeYAML 1.x) makes of one
// scalar: its implicit types for plain scalars, and the explicit tags it knows.

#include <optional>
#include <string>
#include <string_view>

namespace cofferon::yaml {

enum class ScalarType {
    Null,
    Flag,  // a boolean
    Integer,
    Real,  // a floating-point number, infinities and NaN included
    Text,
    Other,  // a date, binary data: values no menu key takes
};

struct Scalar {
    ScalarType type = ScalarType::Text;
    bool flag = false;
    std::string integer;  // decimal, "-" for negatives, no leading zeros, any size
    double real = 0;
    std::string text;  // the scalar's text as written (after escapes and folding)
};

// The standard tags as the parser reports them ("!!int" is written in full).
inline constexpr std::string_view kTagPrefix = "tag:yaml.org,2002:";

// `tag` is empty for an untagged scalar; "!" (the non-specific tag) resolves
// as a plain scalar does, as the reader does, quoted or not. nullopt when the
// reader refuses the value: "!!int abc", "!!float x", a tag it does not know.
std::optional<Scalar> resolveScalar(std::string_view text, std::string_view tag, bool plain);

// Whether a plain, untagged key is the merge key "<<".
bool isMergeKey(std::string_view text, std::string_view tag, bool plain);

// The text a Java program prints for the value (Double.toString's form for
// numbers: "1000.0", "1.0E10"); what a reader that wants a text gets from it.
std::string javaText(const Scalar& scalar);

// The shortest decimal text without an exponent that reads back as exactly
// this finite number ("1000", "0.5", "-0.0001").
std::string plainDecimal(double value);

}  // namespace cofferon::yaml

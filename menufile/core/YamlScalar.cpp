#include "menufile/core/YamlScalar.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <vector>

namespace cofferon::yaml {

namespace {

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool isHexDigit(char c)
{
    return isDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

int digitValue(char c)
{
    if (isDigit(c))
        return c - '0';
    return (c | 0x20) - 'a' + 10;
}

// All of `text` is digits of the kind or "_", and at least one is a digit.
template <typename IsDigit>
bool digitsAndUnderscores(std::string_view text, IsDigit isDigitOfKind)
{
    return std::all_of(text.begin(), text.end(), [&](char c) { return c == '_' || isDigitOfKind(c); }) &&
        std::any_of(text.begin(), text.end(), isDigitOfKind);
}

std::string withoutUnderscores(std::string_view text)
{
    std::string result;
    result.reserve(text.size());
    for (const char c : text) {
        if (c != '_')
            result += c;
    }
    return result;
}

// ":" followed by one or two base-60 digits ([0-5]?[0-9]), once or more.
bool sexagesimalTail(std::string_view text)
{
    if (text.empty())
        return false;
    while (!text.empty()) {
        if (text.front() != ':')
            return false;
        text.remove_prefix(1);
        if (text.size() >= 2 && text[0] >= '0' && text[0] <= '5' && isDigit(text[1]) &&
            (text.size() == 2 || text[2] == ':'))
            text.remove_prefix(2);
        else if (!text.empty() && isDigit(text[0]) && (text.size() == 1 || text[1] == ':'))
            text.remove_prefix(1);
        else
            return false;
    }
    return true;
}

// [1-9][0-9_]* followed by the base-60 parts.
bool isSexagesimal(std::string_view text)
{
    const std::size_t colon = text.find(':');
    if (colon == std::string_view::npos || colon == 0 || text[0] == '0' || !isDigit(text[0]))
        return false;
    const std::string_view head = text.substr(0, colon);
    return std::all_of(head.begin(), head.end(), [](char c) { return isDigit(c) || c == '_'; }) &&
        sexagesimalTail(text.substr(colon));
}

std::string_view withoutSign(std::string_view text)
{
    if (!text.empty() && (text.front() == '-' || text.front() == '+'))
        text.remove_prefix(1);
    return text;
}

bool isIntegerForm(std::string_view text)
{
    const std::string_view body = withoutSign(text);
    if (body == "0")
        return true;
    if (body.starts_with("0b"))
        return digitsAndUnderscores(body.substr(2), [](char c) { return c == '0' || c == '1'; });
    if (body.starts_with("0x"))
        return digitsAndUnderscores(body.substr(2), isHexDigit);
    if (body.starts_with("0"))
        return digitsAndUnderscores(body.substr(1), [](char c) { return c >= '0' && c <= '7'; });
    if (!body.empty() && isDigit(body[0]))
        return digitsAndUnderscores(body, isDigit) || isSexagesimal(body);
    return false;
}

// [0-9_]* and, when `exponentAllowed`, an optional [eE][-+]?[0-9]+ after it.
bool fractionAndExponent(std::string_view text, bool exponentRequired)
{
    std::size_t pos = 0;
    while (pos < text.size() && (isDigit(text[pos]) || text[pos] == '_'))
        ++pos;
    std::string_view exponent = text.substr(pos);
    if (exponent.empty())
        return !exponentRequired;
    if (exponent.front() != 'e' && exponent.front() != 'E')
        return false;
    exponent.remove_prefix(1);
    if (!exponent.empty() && (exponent.front() == '-' || exponent.front() == '+'))
        exponent.remove_prefix(1);
    return !exponent.empty() && std::all_of(exponent.begin(), exponent.end(), isDigit);
}

bool isRealForm(std::string_view text)
{
    if (text == ".nan" || text == ".NaN" || text == ".NAN")
        return true;
    const std::string_view body = withoutSign(text);
    if (body == ".inf" || body == ".Inf" || body == ".INF")
        return true;
    if (body.starts_with(".")) {
        const std::string_view rest = body.substr(1);
        return !rest.empty() && (isDigit(rest[0]) || rest[0] == '_') && fractionAndExponent(rest, false);
    }
    if (body.empty() || !isDigit(body[0]))
        return false;
    std::size_t pos = 1;
    while (pos < body.size() && (isDigit(body[pos]) || body[pos] == '_'))
        ++pos;
    if (pos == body.size())
        return false;
    if (body[pos] == '.')
        return fractionAndExponent(body.substr(pos + 1), false);
    if (body[pos] == 'e' || body[pos] == 'E')
        return fractionAndExponent(body.substr(pos), true);
    // Base 60 with a fraction: 1:30.5
    const std::size_t dot = body.find('.', pos);
    if (body[pos] != ':' || dot == std::string_view::npos)
        return false;
    const std::string_view fraction = body.substr(dot + 1);
    return sexagesimalTail(body.substr(pos, dot - pos)) &&
        std::all_of(fraction.begin(), fraction.end(), [](char c) { return isDigit(c) || c == '_'; });
}

// yyyy-mm-dd alone, or a date whose month and day may be one digit with a
// time after "T" or blanks, seconds, a fraction and a zone.
bool isTimestampForm(std::string_view text)
{
    std::size_t pos = 0;
    auto digits = [&](std::size_t least, std::size_t most) {
        std::size_t count = 0;
        for (; count < most && pos < text.size() && isDigit(text[pos]); ++count)
            ++pos;
        return count >= least;
    };
    auto literal = [&](std::string_view any) {
        if (pos >= text.size() || any.find(text[pos]) == std::string_view::npos)
            return false;
        ++pos;
        return true;
    };
    auto blanks = [&] {
        const std::size_t start = pos;
        while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t'))
            ++pos;
        return pos > start;
    };
    if (!(digits(4, 4) && literal("-") && digits(1, 2) && literal("-") && digits(1, 2)))
        return false;
    if (pos == text.size())
        return pos == 10;
    if (!(literal("Tt") || blanks()) || !(digits(1, 2) && literal(":") && digits(2, 2) && literal(":") && digits(2, 2)))
        return false;
    if (literal("."))
        digits(0, text.size());
    if (pos == text.size())
        return true;
    blanks();
    return (literal("Z") || (literal("+-") && digits(1, 2) && (!literal(":") || digits(2, 2)))) && pos == text.size();
}

// A whole number of any size from its digits in `base`, as decimal text.
std::optional<std::string> bigInteger(std::string_view digits, int base, bool negative)
{
    // Base 10^9 limbs, least significant first. Beyond some thousands of
    // digits a number is no menu's, and the work would grow with its square.
    constexpr std::size_t kMostDigits = 4000;
    if (digits.size() > kMostDigits)
        return std::nullopt;
    std::vector<std::uint32_t> limbs{0};
    for (const char c : digits) {
        std::uint64_t carry = static_cast<std::uint64_t>(digitValue(c));
        for (std::uint32_t& limb : limbs) {
            const std::uint64_t value = static_cast<std::uint64_t>(limb) * static_cast<std::uint64_t>(base) + carry;
            limb = static_cast<std::uint32_t>(value % 1000000000u);
            carry = value / 1000000000u;
        }
        if (carry > 0)
            limbs.push_back(static_cast<std::uint32_t>(carry));
    }
    std::string text = std::to_string(limbs.back());
    for (auto limb = limbs.rbegin() + 1; limb != limbs.rend(); ++limb) {
        const std::string part = std::to_string(*limb);
        text += std::string(9 - part.size(), '0') + part;
    }
    if (negative && text != "0")
        text.insert(0, 1, '-');
    return text;
}

// What the reader's integer constructor makes of the text (underscores and
// sign allowed; "0b", "0x", a leading "0" for octal, ":" for base 60).
std::optional<std::string> integerValue(std::string_view text)
{
    const bool negative = !text.empty() && text.front() == '-';
    const std::string body = withoutUnderscores(withoutSign(text));
    auto all = [&](std::string_view digits, auto isDigitOfKind) {
        return !digits.empty() && std::all_of(digits.begin(), digits.end(), isDigitOfKind);
    };
    if (body == "0")
        return std::string("0");
    if (body.starts_with("0b")) {
        if (!all(std::string_view(body).substr(2), [](char c) { return c == '0' || c == '1'; }))
            return std::nullopt;
        return bigInteger(std::string_view(body).substr(2), 2, negative);
    }
    if (body.starts_with("0x")) {
        if (!all(std::string_view(body).substr(2), isHexDigit))
            return std::nullopt;
        return bigInteger(std::string_view(body).substr(2), 16, negative);
    }
    if (body.find(':') != std::string::npos) {
        // Base 60: each part is a number of its own.
        std::string digits;
        long long value = 0;
        std::size_t start = 0;
        while (start <= body.size()) {
            const std::size_t end = std::min(body.find(':', start), body.size());
            const std::string_view part = std::string_view(body).substr(start, end - start);
            if (!all(part, isDigit) || part.size() > 12 || value > (1LL << 40))
                return std::nullopt;
            value = value * 60 + std::stoll(std::string(part));
            start = end + 1;
        }
        return (negative && value != 0 ? "-" : "") + std::to_string(value);
    }
    if (body.starts_with("0")) {
        if (!all(body, [](char c) { return c >= '0' && c <= '7'; }))
            return std::nullopt;
        return bigInteger(body, 8, negative);
    }
    if (!all(body, isDigit))
        return std::nullopt;
    return bigInteger(body, 10, negative);
}

// What the reader's float constructor makes of the text.
std::optional<double> realValue(std::string_view text)
{
    std::string body = withoutUnderscores(text);
    const bool negative = !body.empty() && body.front() == '-';
    if (!body.empty() && (body.front() == '-' || body.front() == '+'))
        body.erase(0, 1);
    std::string lower = body;
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? c | 0x20 : c; });
    if (lower == ".inf")
        return negative ? -HUGE_VAL : HUGE_VAL;
    if (lower == ".nan")
        return std::nan("");
    if (const std::size_t colon = body.find(':'); colon != std::string::npos) {
        double value = 0;
        std::size_t start = 0;
        while (start <= body.size()) {
            const std::size_t end = std::min(body.find(':', start), body.size());
            double part = 0;
            const std::string_view piece = std::string_view(body).substr(start, end - start);
            const auto [ptr, error] = std::from_chars(piece.data(), piece.data() + piece.size(), part);
            if (piece.empty() || error != std::errc() || ptr != piece.data() + piece.size())
                return std::nullopt;
            value = value * 60 + part;
            start = end + 1;
        }
        return negative ? -value : value;
    }
    double value = 0;
    const auto [ptr, error] = std::from_chars(body.data(), body.data() + body.size(), value);
    if (body.empty() || ptr != body.data() + body.size())
        return std::nullopt;
    if (error == std::errc::result_out_of_range) {
        // Too large becomes infinite, too small zero, as in Java.
        const std::size_t e = lower.find('e');
        const std::string_view mantissa = std::string_view(lower).substr(0, e);
        const std::size_t firstDigit = mantissa.find_first_of("123456789");
        const std::size_t dot = std::min(mantissa.find('.'), mantissa.size());
        long long magnitude = firstDigit == std::string_view::npos ? -1000000
            : firstDigit < dot                                     ? static_cast<long long>(dot - firstDigit)
                                                                   : -static_cast<long long>(firstDigit - dot);
        if (e != std::string::npos)
            magnitude += std::clamp(std::stoll(lower.substr(e + 1).substr(0, 18)), -1000000000LL, 1000000000LL);
        value = magnitude > 0 ? HUGE_VAL : 0.0;
    } else if (error != std::errc()) {
        return std::nullopt;
    }
    return negative ? -value : value;
}

constexpr std::array<std::string_view, 9> kTrue = {"yes", "Yes", "YES", "true", "True", "TRUE", "on", "On", "ON"};
constexpr std::array<std::string_view, 9> kFalse = {"no", "No", "NO", "false", "False", "FALSE", "off", "Off", "OFF"};

std::optional<Scalar> implicitScalar(std::string_view text)
{
    Scalar scalar;
    scalar.text = std::string(text);
    if (text.empty() || text == "~" || text == "null" || text == "Null" || text == "NULL") {
        scalar.type = ScalarType::Null;
    } else if (std::find(kTrue.begin(), kTrue.end(), text) != kTrue.end()) {
        scalar.type = ScalarType::Flag;
        scalar.flag = true;
    } else if (std::find(kFalse.begin(), kFalse.end(), text) != kFalse.end()) {
        scalar.type = ScalarType::Flag;
    } else if (isIntegerForm(text)) {
        const auto value = integerValue(text);
        scalar.type = value ? ScalarType::Integer : ScalarType::Other;
        scalar.integer = value.value_or(std::string());
    } else if (isRealForm(text)) {
        const auto value = realValue(text);
        if (!value)
            return std::nullopt;
        scalar.type = ScalarType::Real;
        scalar.real = *value;
    } else if (isTimestampForm(text)) {
        scalar.type = ScalarType::Other;
    }
    return scalar;
}

}  // namespace

std::optional<Scalar> resolveScalar(std::string_view text, std::string_view tag, bool plain)
{
    if (tag == "!" || (tag.empty() && plain))
        return implicitScalar(text);
    Scalar scalar;
    scalar.text = std::string(text);
    if (tag.empty())
        return scalar;
    if (!tag.starts_with(kTagPrefix))
        return std::nullopt;
    const std::string_view name = tag.substr(kTagPrefix.size());
    if (name == "str")
        return scalar;
    if (name == "null") {
        scalar.type = ScalarType::Null;
    } else if (name == "bool") {
        std::string lower(text);
        std::transform(lower.begin(), lower.end(), lower.begin(),
                       [](char c) { return c >= 'A' && c <= 'Z' ? c | 0x20 : c; });
        const bool yes = lower == "yes" || lower == "true" || lower == "on";
        const bool no = lower == "no" || lower == "false" || lower == "off";
        // The reader's boolean constructor gives nothing for other texts.
        scalar.type = yes || no ? ScalarType::Flag : ScalarType::Null;
        scalar.flag = yes;
    } else if (name == "int") {
        auto value = integerValue(text);
        if (!value)
            return std::nullopt;
        scalar.type = ScalarType::Integer;
        scalar.integer = std::move(*value);
    } else if (name == "float") {
        const auto value = realValue(text);
        if (!value)
            return std::nullopt;
        scalar.type = ScalarType::Real;
        scalar.real = *value;
    } else if (name == "timestamp" || name == "binary") {
        scalar.type = ScalarType::Other;
    } else {
        return std::nullopt;
    }
    return scalar;
}

bool isMergeKey(std::string_view text, std::string_view tag, bool plain)
{
    return text == "<<" && ((tag.empty() && plain) || tag == "!" || tag == std::string(kTagPrefix) + "merge");
}

std::string plainDecimal(double value)
{
    char buffer[400];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
    return std::string(buffer, result.ptr);
}

std::string javaText(const Scalar& scalar)
{
    switch (scalar.type) {
    case ScalarType::Null:
        return std::string();
    case ScalarType::Flag:
        return scalar.flag ? "true" : "false";
    case ScalarType::Integer:
        return scalar.integer;
    case ScalarType::Text:
    case ScalarType::Other:
        return scalar.text;
    case ScalarType::Real:
        break;
    }
    const double value = scalar.real;
    if (std::isnan(value))
        return "NaN";
    if (std::isinf(value))
        return value < 0 ? "-Infinity" : "Infinity";
    const double magnitude = std::fabs(value);
    if (magnitude == 0 || (magnitude >= 1e-3 && magnitude < 1e7)) {
        std::string text = plainDecimal(value);
        if (text.find('.') == std::string::npos)
            text += ".0";
        return text;
    }
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific);
    const std::string scientific(buffer, result.ptr);  // "1.5e+10"
    const std::size_t e = scientific.find('e');
    std::string mantissa = scientific.substr(0, e);
    if (mantissa.find('.') == std::string::npos)
        mantissa += ".0";
    const int exponent = std::stoi(scientific.substr(e + 1));
    return mantissa + "E" + std::to_string(exponent);
}

}  // namespace cofferon::yaml

#include "support/AwkwardValues.h"

#include <cstdlib>
#include <iostream>

#include "document/core/Codec.h"

namespace cofferon::test {

namespace {

using namespace std::string_literals;

// Pieces of values, typed as UTF-8 here; the document holds them in GB18030.
// Harmless ones, the program's own syntax and the boxes' hints among them.
// clang-format off
const std::vector<std::string> kPlain = {
    "a", "Shop", "商店", "红色羊毛", "&6金币", "x y", "1", "tell: hi", "tell:hi", "op:say hi", "§c", "é", "ａｂ", "Ｑ",
    "Ω é", "35-14", "12:", "1:2:3", "&a绿色&l粗体&r还原", "&&z&", "{player}", "{max_players", "%1%s%n",
    "菜单标题", "物品ID 如:1:1", "所需金钱(可留空)", "　全角空格　", "255, 0, 0", "Sharpness, 3x", "title=x",
};
// clang-format on

// Harmless to the writer, but a reader that is not given them in quotes takes
// them for something else.
const std::vector<std::string> kYamlNasty = {
    "'",      "''",   "\"",     "#",   " #x", "# ", ": ",  ":",      "- ",  "-",    "&a",        "&l&n",
    "~",      "null", "NULL",   "yes", "No",  "on", "010", "0x1F",   "1e3", ".inf", "{a: b}",    "[1, 2]",
    "*ref",   "&x ",  "!!str ", "|",   ">",   "%",  "@",   "`",      "\\",  "\\n",  "---",       "...",
    "? ",     ",",    "=",      ";",   "&^",  "^p", "\t",  " ",      "  ",  " \t ", "[Setting]", "\u00a0",
    "\ufeff", "😀",    "🎉",      "丂",  "—",   "·",  "€",   "\ue000", "ḿ",   "５",   "ｐ",
};

// Characters the writer must refuse: a reader rejects them or changes them.
// No line feed: no value the program holds can have one (the boxes turn them
// into blanks, lines are joined by CR LF, the project file is read by lines),
// and the project file writes one as a blank.
const std::vector<std::string> kControls = {
    "\0"s,    "\x01",   "\a",     "\b",     "\v",     "\f",     "\x1b",   "\x7f",
    "\u0080", "\u0085", "\u009f", "\u2028", "\u2029", "\ufffe", "\uffff", "\r",
};

// Document bytes with no UTF-8 form: stray bytes, a cut four-byte sequence, an
// unassigned one. Next to other pieces some of them form characters after all.
const std::vector<std::string> kRawBytes = {
    "\x80", "\xff", "\x81", "\xfe", "\x81\x30", "\x85\x30\x81\x30",
};

// Single-line fields only: the project file reads "&^p" back as a line break
// in the multi-line fields by design.
const std::vector<std::string> kSingleLineOnly = {"&^p", "&^P"};

const std::vector<std::string> kBlanks = {" ", "  ", "\t", " \t", "\u3000"};

// The skull twice: only that exact text writes the skull owner.
const std::vector<std::string> kGoodIds = {
    "1",     "35",  "35:14",  "035:01", "1:0", "298",        "299", "300:3", "301", "397:3",
    "397:3", "397", "397:03", "12abc",  "5'",  "2147483647", "５",  "264:1", "7 ",  " 8",
};
const std::vector<std::string> kBadIds = {"0", "abc", "5:", ":5", "1:2:3", "1:-1", "2147483648", "'5'", "5::", ""};

// Whole numbers beyond 64 bits; PRICE also gets a fraction beyond a double's precision.
const std::vector<std::string> kHugeNumbers = {"123456789012345678901234567890", "9223372036854775808",
                                               "-999999999999999999999"};
const std::vector<std::string> kDecimals = {"0",   "10",   "-5",    "007",  "-0",  "2.50",
                                            "0.5", "-0.0", "00.10", "-000", "100", "1234567890.1234567890123"};
const std::vector<std::string> kIntegers = {"0", "10", "-5", "007", "-0", "1", "-2147483649", "000"};
const std::vector<std::string> kNotNumbers = {
    "-", "1-2", "+5", "1e3", "0x1F", "1.", ".5", "1.2.3", "1,000", "1_000", "NaN", ".inf", "５", "٣", "1 2", "abc",
};

// Line breaks as other programs write them, blank lines among them.
const std::vector<std::u16string> kLineBreaks = {
    u"\r\n", u"\n", u"\r", u"\u2028", u"\n\n", u"\r\n   \r\n", u"\n\u3000\n", u"\n\t\n",
};

}  // namespace

void AwkwardValues::setRates(double refused, double ends)
{
    m_refused = refused;
    m_ends = ends;
}

void AwkwardValues::drawRates()
{
    const double refused[] = {0.0, 0.0, 0.0, 0.01, 0.03, 0.08};
    const double ends[] = {0.0, 0.0, 0.03, 0.1};
    const double refusedRate = refused[pick(std::size(refused))];
    setRates(refusedRate, ends[pick(std::size(ends))]);
}

bool AwkwardValues::chance(double p)
{
    return std::uniform_real_distribution<double>(0.0, 1.0)(m_random) < p;
}

std::size_t AwkwardValues::pick(std::size_t count)
{
    return std::uniform_int_distribution<std::size_t>(0, count - 1)(m_random);
}

std::string AwkwardValues::text(bool singleLine)
{
    std::string value;
    // Now and then a long one, far past the 1024 characters YAML allows a key.
    const std::size_t pieces = chance(0.01) ? 300 : 1 + pick(5);
    for (std::size_t i = 0; i < pieces; ++i)
        value += piece(singleLine);
    if (chance(m_ends))
        value = document(from(kBlanks)) + value;
    if (chance(m_ends))
        value += document(from(kBlanks));
    if (chance(m_ends / 2)) {
        const std::string quote = chance(0.5) ? "'" : "\"";
        value = quote + value + quote;
    }
    return value;
}

std::vector<std::string> AwkwardValues::lines()
{
    std::vector<std::string> result;
    const std::size_t count = 1 + pick(4);
    for (std::size_t i = 0; i < count; ++i) {
        if (chance(0.12))
            result.emplace_back();
        else if (chance(0.08))
            result.push_back(document(from(kBlanks)));
        else
            result.push_back(text(false));
    }
    return result;
}

std::string AwkwardValues::joinLines(const std::vector<std::string>& lines)
{
    std::string joined;
    for (std::size_t i = 0; i < lines.size(); ++i)
        joined += (i == 0 ? "" : "\r\n") + lines[i];
    return joined;
}

std::string AwkwardValues::number(bool decimal)
{
    if (chance(m_refused * 3))
        return chance(0.2) ? text(true) : document(from(kNotNumbers));
    std::string value = chance(0.1) ? from(kHugeNumbers) : from(decimal ? kDecimals : kIntegers);
    if (chance(m_ends))
        value = (chance(0.5) ? " " : "") + value + (chance(0.5) ? " " : "");
    return value;
}

std::string AwkwardValues::itemId(bool allowBad)
{
    if (allowBad && chance(0.15))
        return document(from(kBadIds));
    std::string id = document(from(kGoodIds));
    // Digits and then anything: usually still valid, its number being the leading digits.
    if (chance(0.1))
        id = document(std::to_string(1 + pick(400))) + text(true);
    return id;
}

std::u16string AwkwardValues::typed(bool multiLine)
{
    std::u16string value;
    const std::size_t pieces = 1 + pick(3);
    for (std::size_t i = 0; i < pieces; ++i) {
        if (i > 0 && multiLine)
            value += from(kLineBreaks);
        const std::size_t roll = pick(100);
        if (roll < 60) {
            // Only the toolkit's strings can hold a lone surrogate other than the document's escapes.
            value += chance(m_refused / 4) ? u"\xD800" : documentToUtf16(piece(true));
        } else if (roll < 80) {
            for (std::size_t n = 1 + pick(8); n > 0; --n)
                value += static_cast<char16_t>(u'a' + pick(26));
        } else if (roll < 95) {
            for (std::size_t n = 1 + pick(6); n > 0; --n)
                value += static_cast<char16_t>(0x4E00 + pick(0x51A6));  // CJK unified ideographs
        } else {
            value.append(100 + pick(301), chance(0.5) ? u'x' : u'y');
        }
    }
    return value;
}

std::string AwkwardValues::document(std::string_view utf8)
{
    auto converted = utf8ToGb18030(utf8);
    if (!converted) {
        std::cerr << "no GB18030 form for an awkward value's piece\n";
        std::abort();
    }
    return std::move(*converted);
}

std::optional<std::string> AwkwardValues::pieceThatDoesNotConvertBack()
{
    for (const auto* list : {&kPlain, &kYamlNasty, &kControls, &kSingleLineOnly, &kBlanks, &kGoodIds, &kBadIds}) {
        for (const std::string& piece : *list) {
            if (gb18030ToUtf8(document(piece)) != piece)
                return piece;
        }
    }
    return std::nullopt;
}

std::string AwkwardValues::piece(bool singleLine)
{
    if (chance(m_refused))
        return chance(0.6) ? document(from(kControls)) : from(kRawBytes);
    if (singleLine && chance(0.03))
        return document(from(kSingleLineOnly));
    return document(from(chance(0.4) ? kPlain : kYamlNasty));
}

}  // namespace cofferon::test

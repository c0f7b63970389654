#include "menufile/core/MenuValues.h"

#include "document/core/Codec.h"
#include "document/core/Text.h"

#include <iconv.h>

#include <map>
#include <vector>

namespace cofferon {

namespace {

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Length of the run of digits at the start of `text`.
std::size_t digitRun(std::string_view text)
{
    std::size_t count = 0;
    while (count < text.size() && isDigit(text[count]))
        ++count;
    return count;
}

// The unsafe characters beyond ASCII by their four-byte GB18030 forms, found
// once, so that a text full of four-byte characters is checked by lookup.
const std::map<std::string, char32_t>& unsafeFourByteForms()
{
    static const std::map<std::string, char32_t> forms = [] {
        std::map<std::string, char32_t> found;
        for (char32_t c = 0x80; c <= 0xFFFF; ++c) {
            if (!isUnsafeCharacter(c) || (c >= 0xD800 && c <= 0xDFFF))
                continue;
            const std::u16string unit(1, static_cast<char16_t>(c));
            const std::string bytes = utf16ToDocument(unit);
            if (bytes.size() == 4)
                found.emplace(bytes, c);
        }
        return found;
    }();
    return forms;
}

// One character through an open iconv handle; nullopt when it does not convert.
std::optional<std::string> convertCharacter(iconv_t handle, std::string_view character)
{
    if (handle == reinterpret_cast<iconv_t>(-1))
        return std::nullopt;
    char out[16];
    char* in = const_cast<char*>(character.data());  // iconv's signature is not const-correct
    std::size_t inLeft = character.size();
    char* next = out;
    std::size_t outLeft = sizeof out;
    iconv(handle, nullptr, nullptr, nullptr, nullptr);
    if (iconv(handle, &in, &inLeft, &next, &outLeft) == static_cast<std::size_t>(-1) || inLeft != 0)
        return std::nullopt;
    return std::string(out, next);
}

// Two-byte GB18030 codes that GBK readers take for the same character. GBK
// lacks the user-defined areas and a few codes that GB18030 gave standard
// characters later (the euro sign A2E3, A8BC, FE50..FE9F among them); iconv's
// own GBK table tells which.
bool isSharedWithGbk(unsigned char lead, unsigned char trail)
{
    static const std::vector<bool> shared = [] {
        // Three conversions of 32 000 codes: the handles are opened once.
        const iconv_t fromGbk = iconv_open("UTF-8", "GBK");
        const iconv_t fromGb18030 = iconv_open("UTF-8", "GB18030");
        const iconv_t toGbk = iconv_open("GBK", "UTF-8");
        std::vector<bool> table(0x100 * 0x100, false);
        for (unsigned first = 0x81; first <= 0xFE; ++first) {
            for (unsigned second = 0x40; second <= 0xFE; ++second) {
                const char bytes[] = {static_cast<char>(first), static_cast<char>(second)};
                const std::string_view character(bytes, 2);
                const auto asGbk = convertCharacter(fromGbk, character);
                table[first * 0x100 + second] = asGbk && asGbk == convertCharacter(fromGb18030, character) &&
                    convertCharacter(toGbk, *asGbk) == std::string(character);
            }
        }
        for (const iconv_t handle : {fromGbk, fromGb18030, toGbk}) {
            if (handle != reinterpret_cast<iconv_t>(-1))
                iconv_close(handle);
        }
        return table;
    }();
    return shared[lead * 0x100u + trail];
}

}  // namespace

bool isUnsafeCharacter(char32_t c)
{
    return (c < 0x20 && c != '\t') || (c >= 0x7F && c <= 0x9F) || c == 0x2028 || c == 0x2029 || c == 0xFFFE ||
        c == 0xFFFF;
}

bool isMenuNumber(std::string_view text, NumberKind kind)
{
    if (!text.empty() && text.front() == '-')
        text.remove_prefix(1);
    const std::size_t whole = digitRun(text);
    if (whole == 0)
        return false;
    text.remove_prefix(whole);
    if (text.empty())
        return true;
    if (kind != NumberKind::Decimal || text.front() != '.')
        return false;
    text.remove_prefix(1);
    return !text.empty() && digitRun(text) == text.size();
}

std::string plainNumber(std::string_view number)
{
    std::string result;
    if (!number.empty() && number.front() == '-') {
        result += '-';
        number.remove_prefix(1);
    }
    const std::size_t whole = digitRun(number);
    std::size_t zeros = 0;
    while (zeros + 1 < whole && number[zeros] == '0')
        ++zeros;
    result += number.substr(zeros);
    return result;
}

std::optional<char32_t> firstUnsafeCharacter(std::string_view text)
{
    for (std::size_t pos = 0; pos < text.size();) {
        const std::size_t length = characterLength(text, pos);
        const auto lead = static_cast<unsigned char>(text[pos]);
        if (length == 1 && lead < 0x80 && isUnsafeCharacter(lead))
            return lead;
        // Every control beyond ASCII has a four-byte form; two-byte characters are all printable.
        if (length == 4) {
            const auto& unsafe = unsafeFourByteForms();
            if (const auto found = unsafe.find(std::string(text.substr(pos, 4))); found != unsafe.end())
                return found->second;
        }
        pos += length;
    }
    return std::nullopt;
}

std::optional<std::string> firstUnconvertibleCharacter(std::string_view text)
{
    if (convertsToUtf8(text))
        return std::nullopt;
    for (std::size_t pos = 0; pos < text.size();) {
        const std::size_t length = characterLength(text, pos);
        const std::string_view character = text.substr(pos, length);
        if (static_cast<unsigned char>(character.front()) >= 0x80 && length != 2 && !gb18030ToUtf8(character))
            return std::string(character);
        pos += length;
    }
    return std::nullopt;
}

std::optional<std::string> firstNonGbkCharacter(std::string_view text)
{
    for (std::size_t pos = 0; pos < text.size();) {
        const std::size_t length = characterLength(text, pos);
        const auto lead = static_cast<unsigned char>(text[pos]);
        if (lead >= 0x80 && (length != 2 || !isSharedWithGbk(lead, static_cast<unsigned char>(text[pos + 1]))))
            return std::string(text.substr(pos, length));
        pos += length;
    }
    return std::nullopt;
}

}  // namespace cofferon

#include "document/core/Codec.h"

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <iconv.h>
#include <vector>

#include "document/core/Text.h"

namespace cofferon {

namespace {

// Opening a conversion looks it up among all the system has, which costs
// more than converting a line of text; the reader and the writer convert a
// value at a time. So each thread keeps one open conversion per pair.
class OpenConversions {
public:
    ~OpenConversions()
    {
        for (const Open& open : m_open) {
            if (open.handle != kInvalid)
                iconv_close(open.handle);
        }
    }

    iconv_t get(const char* from, const char* to)
    {
        for (const Open& open : m_open) {
            if (std::strcmp(open.from, from) == 0 && std::strcmp(open.to, to) == 0)
                return open.handle;
        }
        m_open.push_back({from, to, iconv_open(to, from)});
        return m_open.back().handle;
    }

    static inline const iconv_t kInvalid = reinterpret_cast<iconv_t>(-1);

private:
    struct Open {
        const char* from;
        const char* to;
        iconv_t handle;
    };
    std::vector<Open> m_open;
};

// A conversion of the thread's own, from its initial state.
class Converter {
public:
    Converter(const char* from, const char* to)
    {
        thread_local OpenConversions conversions;
        m_handle = conversions.get(from, to);
        if (valid())
            iconv(m_handle, nullptr, nullptr, nullptr, nullptr);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool valid() const { return m_handle != OpenConversions::kInvalid; }
    iconv_t handle() const { return m_handle; }

private:
    iconv_t m_handle;
};

// Converts through a small buffer, appending to `out` when given; false
// when the text does not convert whole.
bool gb18030ToUtf8Into(std::string_view text, std::string* out)
{
    Converter converter("GB18030", "UTF-8");
    if (!converter.valid())
        return false;
    char* in = const_cast<char*>(text.data());  // iconv's signature is not const-correct
    std::size_t inLeft = text.size();
    for (;;) {
        char buffer[16384];
        char* next = buffer;
        std::size_t outLeft = sizeof buffer;
        const std::size_t result = iconv(converter.handle(), &in, &inLeft, &next, &outLeft);
        const int error = errno;
        if (out)
            out->append(buffer, static_cast<std::size_t>(next - buffer));
        if (result != static_cast<std::size_t>(-1))
            return true;
        if (error != E2BIG)
            return false;
    }
}

}  // namespace

std::optional<std::string> convertEncoding(std::string_view text, const char* from, const char* to, int maxRounds)
{
    Converter converter(from, to);
    if (!converter.valid())
        return std::nullopt;
    if (text.empty())
        return std::string();

    std::string output(text.size(), '\0');
    const std::size_t growth = text.size() / 2 + 128;
    char* in = const_cast<char*>(text.data());  // iconv's signature is not const-correct
    std::size_t inLeft = text.size();
    std::size_t written = 0;
    for (int round = 0; round < maxRounds; ++round) {
        char* out = output.data() + written;
        std::size_t outLeft = output.size() - written;
        const std::size_t result = iconv(converter.handle(), &in, &inLeft, &out, &outLeft);
        written = output.size() - outLeft;
        if (result != static_cast<std::size_t>(-1)) {
            // Flush any shift state; UTF-8 and GB18030 have none, but stay correct.
            if (iconv(converter.handle(), nullptr, nullptr, &out, &outLeft) == static_cast<std::size_t>(-1))
                return std::nullopt;
            written = output.size() - outLeft;
            output.resize(written);
            return output;
        }
        if (errno != E2BIG)
            return std::nullopt;
        output.resize(output.size() + growth);
    }
    return std::nullopt;
}

std::optional<std::string> gb18030ToUtf8(std::string_view text)
{
    // Two bytes become at most three, four stay four: the result fits this
    // one buffer, which a whole menu of megabytes is converted into.
    std::string result;
    result.reserve(text.size() + text.size() / 2);
    if (!gb18030ToUtf8Into(text, &result))
        return std::nullopt;
    return result;
}

bool convertsToUtf8(std::string_view text)
{
    return gb18030ToUtf8Into(text, nullptr);
}

namespace {

// GB18030 forms of the characters of the Basic Multilingual Plane, looked up
// once each through iconv as they are first met: a menu holds a few hundred
// distinct characters in megabytes of text.
class Gb18030Forms {
public:
    Gb18030Forms() : m_forms(0x10000) {}

    // False when iconv has no form for it.
    bool append(char32_t c, std::string_view utf8, std::string& out)
    {
        Form& form = m_forms[c];
        if (form.length == 0) {
            const auto bytes = convertEncoding(utf8, "UTF-8", "GB18030");
            if (!bytes || bytes->empty() || bytes->size() > 4)
                return false;
            form.length = static_cast<std::uint8_t>(bytes->size());
            std::memcpy(form.bytes, bytes->data(), bytes->size());
        }
        out.append(form.bytes, form.length);
        return true;
    }

private:
    struct Form {
        std::uint8_t length = 0;
        char bytes[4] = {};
    };
    std::vector<Form> m_forms;
};

// Appends the conversion of well-formed UTF-8 made of ASCII and characters
// below U+10000; false for anything else, which iconv then converts.
bool appendBmpAsGb18030(std::string& out, std::string_view text)
{
    thread_local Gb18030Forms forms;
    for (std::size_t pos = 0; pos < text.size();) {
        const auto lead = static_cast<unsigned char>(text[pos]);
        if (lead < 0x80) {
            const std::size_t end = std::find_if(text.begin() + static_cast<std::ptrdiff_t>(pos), text.end(),
                                                 [](char c) { return (c & 0x80) != 0; }) -
                text.begin();
            out.append(text.substr(pos, end - pos));
            pos = end;
            continue;
        }
        const std::size_t length = lead >= 0xC2 && lead < 0xE0 ? 2 : lead >= 0xE0 && lead < 0xF0 ? 3 : 0;
        if (length == 0 || pos + length > text.size())
            return false;
        char32_t c = lead & (length == 2 ? 0x1F : 0x0F);
        for (std::size_t i = 1; i < length; ++i) {
            const auto next = static_cast<unsigned char>(text[pos + i]);
            if ((next & 0xC0) != 0x80)
                return false;
            c = c << 6 | (next & 0x3F);
        }
        if ((length == 3 && c < 0x800) || (c >= 0xD800 && c <= 0xDFFF))
            return false;
        if (!forms.append(c, text.substr(pos, length), out))
            return false;
        pos += length;
    }
    return true;
}

}  // namespace

bool appendUtf8AsGb18030(std::string& out, std::string_view text)
{
    const std::size_t before = out.size();
    if (appendBmpAsGb18030(out, text))
        return true;
    out.resize(before);
    const auto converted = convertEncoding(text, "UTF-8", "GB18030");
    if (!converted)
        return false;
    out += *converted;
    return true;
}

std::optional<std::string> utf8ToGb18030(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    if (!appendUtf8AsGb18030(out, text))
        return std::nullopt;
    return out;
}

char32_t nextCodePoint(std::string_view utf8, std::size_t& pos)
{
    const auto lead = static_cast<unsigned char>(utf8[pos]);
    const std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    char32_t c = length == 1 ? lead : lead & (0xFF >> (length + 1));
    for (std::size_t i = 1; i < length && pos + i < utf8.size(); ++i)
        c = (c << 6) | (static_cast<unsigned char>(utf8[pos + i]) & 0x3F);
    pos += length;
    return c;
}

std::string toGb18030KeepingUnreadable(std::string_view text, const char* from, std::size_t unit, bool keepBytes)
{
    Converter converter(from, "GB18030");
    if (!converter.valid())
        return std::string(text);
    std::string result;
    result.reserve(text.size() + text.size() / 2);
    char buffer[16384];
    char* in = const_cast<char*>(text.data());  // iconv's signature is not const-correct
    std::size_t inLeft = text.size();
    while (inLeft > 0) {
        char* out = buffer;
        std::size_t outLeft = sizeof buffer;
        const std::size_t converted = iconv(converter.handle(), &in, &inLeft, &out, &outLeft);
        const int error = errno;
        result.append(buffer, static_cast<std::size_t>(out - buffer));
        if (converted != static_cast<std::size_t>(-1) || error == E2BIG)
            continue;
        // An invalid sequence, or one cut short by the end of the text.
        const std::size_t skip = std::min(unit, inLeft);
        if (keepBytes)
            result.append(in, skip);
        else
            result += '?';
        in += skip;
        inLeft -= skip;
    }
    return result;
}

namespace {

constexpr const char* kUtf16 = std::endian::native == std::endian::little ? "UTF-16LE" : "UTF-16BE";
constexpr char16_t kEscapeBase = 0xDC00;

bool isHighSurrogate(char16_t unit)
{
    return unit >= 0xD800 && unit <= 0xDBFF;
}

bool isLowSurrogate(char16_t unit)
{
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

// One iconv conversion of a whole piece, or nullopt when any of it fails.
template <typename Out>
std::optional<Out> convertPiece(Converter& converter, const void* data, std::size_t size)
{
    Out output;
    if (size == 0)
        return output;
    // GB18030 takes at most twice the bytes of UTF-16 and the other way round.
    std::string bytes(size * 2 + 16, '\0');
    iconv(converter.handle(), nullptr, nullptr, nullptr, nullptr);
    char* in = static_cast<char*>(const_cast<void*>(data));
    std::size_t inLeft = size;
    char* out = bytes.data();
    std::size_t outLeft = bytes.size();
    if (iconv(converter.handle(), &in, &inLeft, &out, &outLeft) == static_cast<std::size_t>(-1) || inLeft != 0)
        return std::nullopt;
    const std::size_t written = bytes.size() - outLeft;
    output.resize(written / sizeof(typename Out::value_type));
    std::memcpy(output.data(), bytes.data(), output.size() * sizeof(typename Out::value_type));
    return output;
}

class DocumentDecoder {
public:
    DocumentDecoder() : m_decode("GB18030", kUtf16), m_encode(kUtf16, "GB18030") {}

    std::u16string decode(std::string_view text)
    {
        std::u16string result;
        result.reserve(text.size());
        std::size_t runStart = 0;
        std::size_t pos = 0;
        while (pos < text.size()) {
            const std::size_t length = characterLength(text, pos);
            if (length == 2 || static_cast<unsigned char>(text[pos]) < 0x80) {
                pos += length;
                continue;
            }
            appendRun(result, text.substr(runStart, pos - runStart));
            if (length == 4 && appendRoundTrip(result, text.substr(pos, 4))) {
                pos += 4;
            } else {
                // Only the first byte needs the escape: what follows it is
                // scanned again and converts on its own.
                result += static_cast<char16_t>(kEscapeBase + static_cast<unsigned char>(text[pos]));
                pos += 1;
            }
            runStart = pos;
        }
        appendRun(result, text.substr(runStart));
        return result;
    }

private:
    // ASCII and two-byte characters, converted together; a run that does not
    // come back unchanged goes character by character.
    void appendRun(std::u16string& result, std::string_view run)
    {
        if (run.empty())
            return;
        const auto units = convertPiece<std::u16string>(m_decode, run.data(), run.size());
        if (units && encodesTo(*units, run)) {
            result += *units;
            return;
        }
        for (std::size_t pos = 0; pos < run.size();) {
            const std::size_t length = characterLength(run, pos);
            if (appendRoundTrip(result, run.substr(pos, length))) {
                pos += length;
            } else {
                result += static_cast<char16_t>(kEscapeBase + static_cast<unsigned char>(run[pos]));
                pos += 1;
            }
        }
    }

    bool appendRoundTrip(std::u16string& result, std::string_view character)
    {
        const auto units = convertPiece<std::u16string>(m_decode, character.data(), character.size());
        if (!units || !encodesTo(*units, character))
            return false;
        result += *units;
        return true;
    }

    bool encodesTo(const std::u16string& units, std::string_view bytes)
    {
        const auto back = convertPiece<std::string>(m_encode, units.data(), units.size() * sizeof(char16_t));
        return back && *back == bytes;
    }

    Converter m_decode;
    Converter m_encode;
};

}  // namespace

std::u16string documentToUtf16(std::string_view text)
{
    return DocumentDecoder().decode(text);
}

std::string utf16ToDocument(std::u16string_view text)
{
    Converter encode(kUtf16, "GB18030");
    std::string result;
    result.reserve(text.size() * 2);
    std::size_t runStart = 0;
    auto flush = [&](std::size_t end) {
        if (end > runStart) {
            const auto bytes = convertPiece<std::string>(encode, text.data() + runStart, (end - runStart) * 2);
            // Every Unicode scalar value has a GB18030 form.
            result += bytes.value_or(std::string());
        }
    };
    std::size_t pos = 0;
    while (pos < text.size()) {
        const char16_t unit = text[pos];
        if (isHighSurrogate(unit) && pos + 1 < text.size() && isLowSurrogate(text[pos + 1])) {
            pos += 2;
            continue;
        }
        if (!isHighSurrogate(unit) && !isLowSurrogate(unit)) {
            ++pos;
            continue;
        }
        flush(pos);
        if (unit >= kEscapeBase + 0x80 && unit <= kEscapeBase + 0xFF)
            result += static_cast<char>(unit - kEscapeBase);
        else
            result += "\x84\x31\xA4\x37";  // U+FFFD
        runStart = ++pos;
    }
    flush(pos);
    return result;
}

}  // namespace cofferon

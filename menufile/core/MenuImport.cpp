#include "menufile/core/MenuImport.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "document/core/Codec.h"
#include "document/core/Text.h"
#include "menufile/core/EncodingGuess.h"
#include "menufile/core/MenuEncoding.h"
#include "menufile/core/MenuReader.h"
#include "menufile/core/YamlTree.h"

namespace cofferon {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// Offset of the first byte that is not part of a well-formed UTF-8 sequence, or npos.
std::size_t firstInvalidUtf8(std::string_view bytes)
{
    for (std::size_t pos = 0; pos < bytes.size();) {
        // Eight bytes of ASCII at a time, most of a menu.
        std::uint64_t eight = 0;
        if (pos + 8 <= bytes.size() &&
            (std::memcpy(&eight, bytes.data() + pos, 8), (eight & 0x8080808080808080u) == 0)) {
            pos += 8;
            continue;
        }
        const auto lead = static_cast<unsigned char>(bytes[pos]);
        std::size_t length = 0;
        unsigned char low = 0x80;
        unsigned char high = 0xBF;
        if (lead < 0x80) {
            length = 1;
        } else if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            low = lead == 0xE0 ? 0xA0 : 0x80;
            high = lead == 0xED ? 0x9F : 0xBF;  // no surrogates
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            low = lead == 0xF0 ? 0x90 : 0x80;
            high = lead == 0xF4 ? 0x8F : 0xBF;
        } else {
            return pos;
        }
        if (pos + length > bytes.size())
            return pos;
        for (std::size_t i = 1; i < length; ++i) {
            const auto next = static_cast<unsigned char>(bytes[pos + i]);
            if (next < (i == 1 ? low : 0x80) || next > (i == 1 ? high : 0xBF))
                return pos;
        }
        pos += length;
    }
    return std::string_view::npos;
}

// Whether every byte is part of a GB18030 sequence as its bytes go: one
// byte below 0x80, two with a lead of 0x81–0xFE, or four with digits second
// and fourth. A text that fails cannot convert; one that passes still may not.
bool gb18030Shaped(std::string_view bytes)
{
    auto in = [](unsigned char c, unsigned char low, unsigned char high) { return c >= low && c <= high; };
    for (std::size_t pos = 0; pos < bytes.size();) {
        const auto lead = static_cast<unsigned char>(bytes[pos]);
        if (lead < 0x80) {
            ++pos;
            continue;
        }
        if (!in(lead, 0x81, 0xFE) || pos + 1 >= bytes.size())
            return false;
        const auto second = static_cast<unsigned char>(bytes[pos + 1]);
        if ((in(second, 0x40, 0x7E) || in(second, 0x80, 0xFE))) {
            pos += 2;
        } else if (in(second, 0x30, 0x39) && pos + 3 < bytes.size() &&
                   in(static_cast<unsigned char>(bytes[pos + 2]), 0x81, 0xFE) &&
                   in(static_cast<unsigned char>(bytes[pos + 3]), 0x30, 0x39)) {
            pos += 4;
        } else {
            return false;
        }
    }
    return true;
}

// Where the byte at `offset` stands, in characters of the text before it
// (well-formed in `encoding`); CR LF, LF and CR alone end a line.
NotAMenu problemAt(std::string_view text, std::size_t offset, std::string reason, OutputEncoding encoding)
{
    NotAMenu problem{1, 1, std::move(reason)};
    for (std::size_t pos = 0; pos < offset && pos < text.size();) {
        if (text[pos] == '\n' || (text[pos] == '\r' && text.substr(pos + 1, 1) != "\n")) {
            ++problem.line;
            problem.column = 1;
        } else if (text[pos] != '\r') {
            ++problem.column;
        }
        if (encoding == OutputEncoding::Gb2312)
            pos += characterLength(text, pos);
        else
            nextCodePoint(text, pos);
    }
    return problem;
}

// The first line of the text with more than ASCII in it, without its indentation.
std::string firstLineBeyondAscii(std::string_view utf8)
{
    const auto found = std::find_if(utf8.begin(), utf8.end(), [](char c) { return (c & 0x80) != 0; });
    if (found == utf8.end())
        return std::string();
    const auto offset = static_cast<std::size_t>(found - utf8.begin());
    std::size_t start = utf8.find_last_of("\r\n", offset);
    start = start == std::string_view::npos ? 0 : start + 1;
    const std::size_t end = std::min(utf8.find_first_of("\r\n", offset), utf8.size());
    std::string_view line = utf8.substr(start, end - start);
    while (!line.empty() && (line.front() == ' ' || line.front() == '\t'))
        line.remove_prefix(1);
    return std::string(line);
}

// The file's bytes, to keep with its text: a view of them, and the bytes
// themselves where they may be moved rather than copied.
struct Keep {
    std::string_view bytes;
    std::string* owned = nullptr;

    std::string take() const
    {
        if (owned && owned->data() == bytes.data() && owned->size() == bytes.size())
            return std::move(*owned);
        return std::string(bytes);
    }
};

// Reads `utf8` as the menu of a file in `encoding`: `decoded` holds the text
// when it is not the file's own bytes (GBK converted), else is empty.
std::variant<ImportedMenu, NotAMenu> readDecoded(std::string_view utf8, std::string decoded, OutputEncoding encoding,
                                                 const Keep* keep)
{
    auto tree = yaml::parseYaml(utf8, keep != nullptr);
    if (const auto* error = std::get_if<yaml::TreeError>(&tree))
        return NotAMenu{error->mark.line, error->mark.column, error->reason};
    MenuPlaces places;
    auto menu = readMenu(std::get<yaml::Tree>(tree), keep ? &places : nullptr);
    if (auto* read = std::get_if<ImportedMenu>(&menu)) {
        read->encoding = encoding;
        const auto& title = read->project.settings.title;
        const auto shownTitle = title ? gb18030ToUtf8(*title) : std::nullopt;
        read->sample = shownTitle && shownTitle != title ? *shownTitle : firstLineBeyondAscii(utf8);
        if (keep) {
            auto text = std::make_shared<MenuText>();
            text->byteOrderMark = keep->bytes.starts_with(kByteOrderMark);
            text->bytes = keep->take();
            text->decoded = std::move(decoded);
            text->utf8 = text->decoded.empty()
                ? std::string_view(text->bytes).substr(text->byteOrderMark ? kByteOrderMark.size() : 0)
                : std::string_view(text->decoded);
            text->tree = std::get<yaml::Tree>(std::move(tree));
            text->places = std::move(places);
            read->text = std::move(text);
        }
    }
    return menu;
}

std::variant<ImportedMenu, NotAMenu> readIn(std::string_view bytes, OutputEncoding encoding, const Keep* keep)
{
    if (encoding == OutputEncoding::Utf8) {
        if (bytes.starts_with(kByteOrderMark))
            bytes.remove_prefix(kByteOrderMark.size());
        if (const std::size_t bad = firstInvalidUtf8(bytes); bad != std::string_view::npos)
            return problemAt(bytes, bad, "文件不是 UTF-8 编码的文字", encoding);
        return readDecoded(bytes, std::string(), encoding, keep);
    }
    auto decoded = gb18030ToUtf8(bytes);
    if (!decoded) {
        std::size_t bad = 0;
        while (bad < bytes.size() && gb18030ToUtf8(bytes.substr(bad, characterLength(bytes, bad))))
            bad += characterLength(bytes, bad);
        return problemAt(bytes, bad, "文件不是 GB2312 编码的文字", encoding);
    }
    // An empty text would read as the file's own bytes.
    if (decoded->empty())
        return readDecoded(bytes, std::string(), encoding, keep);
    const std::string_view view = *decoded;
    return readDecoded(view, std::move(*decoded), encoding, keep);
}

template <typename Result>
Result withChoice(Result result, EncodingChoice choice)
{
    if (auto* menu = std::get_if<ImportedMenu>(&result))
        menu->encodingChoice = choice;
    return result;
}

}  // namespace

namespace {

// `owned`, where given, holds the bytes and may give them to the text kept.
std::variant<ImportedMenu, NotAMenu> importBytes(std::string_view bytes, std::optional<OutputEncoding> encoding,
                                                 bool keepText, std::string* owned = nullptr)
{
    const Keep kept{bytes, owned};
    const Keep* keep = keepText ? &kept : nullptr;
    if (encoding)
        return withChoice(readIn(bytes, *encoding, keep), EncodingChoice::Named);
    if (bytes.starts_with(kByteOrderMark)) {
        const std::string_view text = bytes.substr(kByteOrderMark.size());
        if (const std::size_t bad = firstInvalidUtf8(text); bad != std::string_view::npos)
            return problemAt(text, bad, "文件以 UTF-8 标记开头,却含有不是 UTF-8 的字节", OutputEncoding::Utf8);
        return readDecoded(text, std::string(), OutputEncoding::Utf8, keep);
    }
    // Two readings may be made: each keeps a copy of the bytes.
    const Keep copied{bytes, nullptr};
    const Keep* keepCopy = keepText ? &copied : nullptr;

    const bool utf8Valid = firstInvalidUtf8(bytes) == std::string_view::npos;
    // The byte patterns first, which most UTF-8 text of Chinese breaks at once:
    // converting a few megabytes only to fail near the end is dear.
    std::optional<std::string> fromGbk = gb18030Shaped(bytes) ? gb18030ToUtf8(bytes) : std::nullopt;
    if (!utf8Valid && !fromGbk)
        return problemAt(bytes, firstInvalidUtf8(bytes), "文件既不是 UTF-8 也不是 GB2312 编码的文字",
                         OutputEncoding::Utf8);
    if (!utf8Valid) {
        const std::string_view view = *fromGbk;
        return readDecoded(view, std::move(*fromGbk), OutputEncoding::Gb2312, keep);
    }
    if (!fromGbk || *fromGbk == bytes)
        return readDecoded(bytes, std::string(), OutputEncoding::Utf8, keep);
    auto asUtf8 = readDecoded(bytes, std::string(), OutputEncoding::Utf8, keepCopy);
    const std::string_view gbkView = *fromGbk;
    auto asGbk = readDecoded(gbkView, std::move(*fromGbk), OutputEncoding::Gb2312, keepCopy);
    if (!std::holds_alternative<ImportedMenu>(asGbk))
        return asUtf8;
    if (!std::holds_alternative<ImportedMenu>(asUtf8))
        return asGbk;

    // Both readings are menus ("魔药" in GBK is C4 A7 D2 A9, two valid UTF-8
    // characters). A file this tool wrote is exactly what it would write again
    // in its encoding; a text misread is full of what real text seldom holds.
    auto writtenAgain = [&](const std::variant<ImportedMenu, NotAMenu>& reading, OutputEncoding in) {
        const WholeMenu& project = std::get<ImportedMenu>(reading).project;
        // The text alone first: GB2312's check of every character is dearer.
        if (in == OutputEncoding::Gb2312) {
            const auto text = writeMenuYaml(project.settings, project.slots);
            if (const auto* written = std::get_if<std::string>(&text); !written || *written != bytes)
                return false;
        }
        const auto file = menuFileBytes(project.settings, project.slots, in);
        return std::holds_alternative<std::string>(file) && std::get<std::string>(file) == bytes;
    };
    const bool utf8Again = writtenAgain(asUtf8, OutputEncoding::Utf8);
    const bool gbkAgain = writtenAgain(asGbk, OutputEncoding::Gb2312);
    if (utf8Again != gbkAgain)
        return withChoice(utf8Again ? std::move(asUtf8) : std::move(asGbk), EncodingChoice::Decided);
    switch (guessEncoding(bytes)) {
    case EncodingGuess::Utf8:
        return withChoice(std::move(asUtf8), EncodingChoice::Decided);
    case EncodingGuess::Gbk:
        return withChoice(std::move(asGbk), EncodingChoice::Decided);
    case EncodingGuess::Either:
        break;
    }
    auto& chosen = std::get<ImportedMenu>(asUtf8);
    chosen.encodingChoice = EncodingChoice::Open;
    chosen.otherReading = std::make_shared<const ImportedMenu>(std::get<ImportedMenu>(std::move(asGbk)));
    return asUtf8;
}

}  // namespace

std::variant<ImportedMenu, NotAMenu> importMenu(std::string_view bytes, std::optional<OutputEncoding> encoding)
{
    return importBytes(bytes, encoding, false);
}

std::variant<ImportedMenu, NotAMenu> importMenuText(std::string_view bytes, std::optional<OutputEncoding> encoding)
{
    return importBytes(bytes, encoding, true);
}

std::variant<ImportedMenu, NotAMenu> importMenuText(std::string&& bytes, std::optional<OutputEncoding> encoding)
{
    const std::string_view view = bytes;
    return importBytes(view, encoding, true, &bytes);
}

const BlockPlace* slotPlace(const MenuPlaces& places, int slot)
{
    const std::uint32_t block = places.blockOfSlot[static_cast<std::size_t>(slot)];
    return block == 0 ? nullptr : &places.blocks[block - 1].place;
}

const SlotRecord& blockRecord(const ImportedMenu& menu, std::size_t block)
{
    const ItemBlock& item = menu.text->places.blocks[block];
    return item.taken ? menu.project.slots[item.slot] : item.record;
}

std::vector<std::string> noteLines(const std::vector<ImportNote>& notes)
{
    std::vector<std::string> lines;
    lines.reserve(notes.size());
    for (const ImportNote& note : notes)
        lines.push_back(note.text);
    return lines;
}

std::string encodingName(OutputEncoding encoding)
{
    return encoding == OutputEncoding::Utf8 ? "UTF-8" : "GB2312";
}

std::string encodingNote(const ImportedMenu& menu)
{
    if (menu.encodingChoice == EncodingChoice::Decided)
        return "文件按 UTF-8 和 GB2312 都能读,已按 " + encodingName(menu.encoding) + " 读取";
    if (menu.encodingChoice == EncodingChoice::Open)
        return "文件按 UTF-8 和 GB2312 读都说得通,已按 " + encodingName(menu.encoding) + " 读取";
    return std::string();
}

std::string describeNotAMenu(const NotAMenu& problem)
{
    return "第 " + numberToText(static_cast<long long>(problem.line)) + " 行第 " +
        numberToText(static_cast<long long>(problem.column)) + " 列:" + problem.reason;
}

bool isMenuFileName(std::string_view name)
{
    const std::string lower = asciiLower(name);
    return lower.ends_with(".yml") || lower.ends_with(".yaml");
}

}  // namespace cofferon

// The import of menu files, two ways.
//
// Any bytes as a menu file: the import must not crash, and a menu it reads
// that the tool can export must come back byte for byte from that export.
//
// A project built from the bytes, its texts words of one script each (Latin,
// Cyrillic, Greek, Hebrew, Arabic, Hangul, kana, common Chinese characters,
// emoji): exported in UTF-8 and in GB2312, each file must import as that very
// project, without naming the encoding. A reading that leaves the question
// open must offer the project as one of its two readings.

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "document/core/Codec.h"
#include "menufile/core/MenuEncoding.h"
#include "menufile/core/MenuImport.h"

namespace {

using namespace cofferon;

std::string utf8Of(char32_t c)
{
    std::string out;
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
    return out;
}

// One word (UTF-8) in one script.
std::string word(FuzzedDataProvider& input)
{
    struct Script {
        char32_t first;
        char32_t last;
    };
    static constexpr Script kAlphabets[] = {
        {0x430, 0x44F}, {0x410, 0x42F}, {0x3B1, 0x3C9},   {0x391, 0x3A9},
        {0x5D0, 0x5EA}, {0x627, 0x64A}, {0xAC00, 0xD7A3}, {0x30A1, 0x30F6},
    };
    static constexpr std::u32string_view kAccents = U"éèàüöñçãõíóúâêôäßøåłśżźąęčřšžěůýĺŕőűăşţđơưạảấầẩẫậắằẳẵặẹẻẽếềểễệ";
    const auto length = input.ConsumeIntegralInRange<std::size_t>(1, 6);
    std::string out;
    switch (input.ConsumeIntegralInRange<int>(0, 4)) {
    case 0:
    case 1: {  // Latin: plain letters with an accented one now and then
        for (std::size_t i = 0; i < length + 1; ++i) {
            if (i > 0 && input.ConsumeIntegralInRange<int>(0, 3) == 0)
                out += utf8Of(kAccents[input.ConsumeIntegralInRange<std::size_t>(0, kAccents.size() - 1)]);
            else
                out += static_cast<char>('a' + input.ConsumeIntegralInRange<int>(0, 25));
        }
        break;
    }
    case 2: {  // Chinese: GB2312's common characters
        for (std::size_t i = 0; i < length; ++i) {
            const char gb[] = {static_cast<char>(input.ConsumeIntegralInRange<int>(0xB0, 0xD6)),
                               static_cast<char>(input.ConsumeIntegralInRange<int>(0xA1, 0xFE))};
            out += *gb18030ToUtf8(std::string_view(gb, 2));
        }
        break;
    }
    case 3:  // an emoji
        out += utf8Of(input.ConsumeIntegralInRange<char32_t>(0x1F600, 0x1F64F));
        break;
    default: {
        const Script& script = kAlphabets[input.ConsumeIntegralInRange<std::size_t>(0, std::size(kAlphabets) - 1)];
        for (std::size_t i = 0; i < length; ++i)
            out += utf8Of(input.ConsumeIntegralInRange<char32_t>(script.first, script.last));
    }
    }
    return out;
}

// A document text of a few words.
std::string text(FuzzedDataProvider& input)
{
    std::string out;
    const int words = input.ConsumeIntegralInRange<int>(1, 3);
    for (int i = 0; i < words; ++i) {
        if (i > 0)
            out += ' ';
        if (input.ConsumeBool() && input.ConsumeBool())
            out += input.ConsumeBool() ? "&6" : "\u00a7c";
        out += word(input);
    }
    return *utf8ToGb18030(out);
}

WholeMenu project(FuzzedDataProvider& input)
{
    WholeMenu made;
    MenuSettings& settings = made.settings;
    settings.rowIndex = input.ConsumeIntegralInRange<int>(0, 5);
    settings.title = text(input);
    if (input.ConsumeBool())
        settings.menuCommand = text(input);
    if (input.ConsumeBool()) {
        settings.openItem = "345";
        settings.leftClick = input.ConsumeBool();
        settings.rightClick = input.ConsumeBool();
    }
    const int slots = input.ConsumeIntegralInRange<int>(0, 3);
    for (int i = 0; i < slots; ++i) {
        const int slot = input.ConsumeIntegralInRange<int>(1, settings.rows() * kColumns);
        static constexpr const char* kIds[] = {"1", "35:14", "299", "397:3"};
        SlotRecord& record = made.slots[slot];
        record = SlotRecord{};
        record.id = kIds[input.ConsumeIntegralInRange<std::size_t>(0, std::size(kIds) - 1)];
        record.name = text(input);
        for (int line = input.ConsumeIntegralInRange<int>(0, 3); line > 0; --line)
            record.lore += text(input) + (line > 1 ? "\r\n" : "");
        if (input.ConsumeBool())
            record.command = text(input) + "\r\n" + text(input);
        if (input.ConsumeBool())
            record.money = "2.50";
        record.keepOpen = input.ConsumeBool() ? "true" : "";
        if (input.ConsumeBool())
            record.permission = text(input);
        if (record.id == "299")
            record.color = "10, 20, 30";
        if (record.id == "397:3")
            record.head = text(input);
    }
    return made;
}

void fail(const char* what, std::string_view bytes)
{
    std::fprintf(stderr, "%s:\n%.*s\n", what, static_cast<int>(bytes.size()), bytes.data());
    std::abort();
}

void anyBytes(std::string_view data)
{
    const auto first = importMenu(data);
    const auto* menu = std::get_if<ImportedMenu>(&first);
    if (!menu || !menu->project.settings.title)
        return;
    const auto file = menuFileBytes(menu->project.settings, menu->project.slots, menu->encoding);
    const auto* bytes = std::get_if<std::string>(&file);
    if (!bytes)
        return;
    const auto second = importMenu(*bytes, menu->encoding);
    const auto* again = std::get_if<ImportedMenu>(&second);
    if (!again)
        fail("an export of an import is no menu", *bytes);
    const auto fileAgain = menuFileBytes(again->project.settings, again->project.slots, again->encoding);
    const auto* bytesAgain = std::get_if<std::string>(&fileAgain);
    if (!bytesAgain || *bytesAgain != *bytes)
        fail("an export of an import imports to another menu", *bytes);
}

void ownExports(const WholeMenu& made)
{
    for (const auto encoding : {OutputEncoding::Utf8, OutputEncoding::Gb2312}) {
        const auto file = menuFileBytes(made.settings, made.slots, encoding);
        const auto* bytes = std::get_if<std::string>(&file);
        if (!bytes)
            continue;  // GB2312 holds no Hangul, kana or emoji
        const auto result = importMenu(*bytes);
        const auto* menu = std::get_if<ImportedMenu>(&result);
        if (!menu)
            fail("an export is no menu", *bytes);
        if (!menu->notTakenOver.empty())
            fail(menu->notTakenOver.front().text.c_str(), *bytes);
        const bool offered = menu->otherReading && menu->otherReading->project == made;
        if (menu->project != made && !offered) {
            std::fprintf(stderr, "written in %s, read in %s, settings %s\n", encodingName(encoding).c_str(),
                         encodingName(menu->encoding).c_str(),
                         menu->project.settings == made.settings ? "the same" : "differ");
            fail("an export was misread", *bytes);
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    anyBytes(bytes);
    FuzzedDataProvider input(data, size);
    ownExports(project(input));
    return 0;
}

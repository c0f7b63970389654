#include "project/core/MenuImport.h"

#include <yaml-cpp/yaml.h>

#include <algorithm>
#include <array>
#include <optional>

#include "app/core/Codec.h"
#include "app/core/ItemId.h"
#include "app/core/Text.h"
#include "export/core/MenuEncoding.h"

namespace cofferon {

namespace {

constexpr std::string_view kEol = "\r\n";
constexpr std::string_view kJoiner = "; ";  // the export's joiner of command and enchantment lines

// Offset of the first byte that is not part of a well-formed UTF-8 sequence, or npos.
std::size_t firstInvalidUtf8(std::string_view bytes)
{
    for (std::size_t pos = 0; pos < bytes.size();) {
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

NotAMenu problemAt(std::string_view text, std::size_t offset, std::string reason)
{
    NotAMenu problem{1, 1, std::move(reason)};
    for (std::size_t pos = 0; pos < offset && pos < text.size(); ++pos) {
        if (text[pos] == '\n') {
            ++problem.line;
            problem.column = 1;
        } else {
            ++problem.column;
        }
    }
    return problem;
}

NotAMenu problemAt(const YAML::Mark& mark, std::string reason)
{
    return NotAMenu{mark.line >= 0 ? mark.line + 1 : 1, mark.column >= 0 ? mark.column + 1 : 1, std::move(reason)};
}

// The YAML booleans a reader of the plugin's kind takes for true.
bool isTrue(const YAML::Node& node)
{
    if (!node.IsScalar() || node.Tag() == "!")
        return false;
    static constexpr std::array<std::string_view, 6> kTrue = {"true", "True", "TRUE", "yes", "Yes", "YES"};
    static constexpr std::array<std::string_view, 3> kOn = {"on", "On", "ON"};
    const std::string& text = node.Scalar();
    return std::find(kTrue.begin(), kTrue.end(), text) != kTrue.end() ||
        std::find(kOn.begin(), kOn.end(), text) != kOn.end();
}

// Builds one import: walks the YAML tree and fills the project, noting what
// it leaves behind.
class MenuReader {
public:
    ImportedMenu read(const YAML::Node& root, OutputEncoding encoding)
    {
        m_menu.encoding = encoding;
        for (const auto& entry : root) {
            const std::string key = keyText(entry.first);
            if (asciiLower(key) == "menu-setting" && entry.second.IsMap() && !m_settingsSeen) {
                m_settingsSeen = true;
                readSettings(entry.second);
            } else if (entry.second.IsMap()) {
                readItem(key, entry.second);
            } else {
                note("顶层的未知键“" + key + "”");
            }
        }
        return std::move(m_menu);
    }

private:
    static std::string keyText(const YAML::Node& key) { return key.IsScalar() ? key.Scalar() : std::string("?"); }

    void note(std::string line) { m_menu.notTakenOver.push_back(std::move(line)); }

    // A scalar's text in the document's encoding; nullopt (noted) for a list
    // or a mapping. A null value is the empty text.
    std::optional<std::string> text(const YAML::Node& value, const std::string& where)
    {
        if (value.IsNull())
            return std::string();
        if (!value.IsScalar()) {
            note(where + " 的值不是文字");
            return std::nullopt;
        }
        // yaml-cpp gives UTF-8, which every GB18030 text can hold.
        return utf8ToGb18030(value.Scalar()).value_or(std::string());
    }

    // A one-line value: a line break a quoted scalar may hold becomes a blank,
    // as in the window's one-line boxes.
    std::optional<std::string> oneLine(const YAML::Node& value, const std::string& where)
    {
        auto value_text = text(value, where);
        if (!value_text || value_text->find_first_of("\r\n") == std::string::npos)
            return value_text;
        note(where + " 中的换行已换成空格");
        std::string joined = replaceText(*value_text, kEol, " ");
        std::replace(joined.begin(), joined.end(), '\r', ' ');
        std::replace(joined.begin(), joined.end(), '\n', ' ');
        return joined;
    }

    void readSettings(const YAML::Node& settings)
    {
        MenuSettings& out = m_menu.project.settings;
        for (const auto& entry : settings) {
            const std::string key = keyText(entry.first);
            const std::string lower = asciiLower(key);
            const std::string where = "menu-setting 的 " + key;
            if (lower == "name") {
                out.title = present(oneLine(entry.second, where));
            } else if (lower == "rows") {
                const auto rows = text(entry.second, where);
                if (rows && isNumber(*rows))
                    out.rowIndex = static_cast<int>(std::clamp(textToInteger(*rows), 1LL, 6LL)) - 1;
                else if (rows)
                    note(where + " 不是行数");
            } else if (lower == "command") {
                out.menuCommand = present(oneLine(entry.second, where));
            } else if (lower == "open-with-item" && entry.second.IsMap()) {
                readOpeningItem(entry.second);
            } else {
                note("menu-setting 中的未知键“" + key + "”");
            }
        }
    }

    void readOpeningItem(const YAML::Node& item)
    {
        MenuSettings& out = m_menu.project.settings;
        for (const auto& entry : item) {
            const std::string key = keyText(entry.first);
            const std::string lower = asciiLower(key);
            if (lower == "id")
                out.openItem = present(oneLine(entry.second, "open-with-item 的 id"));
            else if (lower == "left-click")
                out.leftClick = isTrue(entry.second);
            else if (lower == "right-click")
                out.rightClick = isTrue(entry.second);
            else
                note("open-with-item 中的未知键“" + key + "”");
        }
    }

    void readItem(const std::string& name, const YAML::Node& item)
    {
        const std::string block = "物品“" + name + "”";
        SlotRecord record;
        std::string id;
        std::string data;
        long long x = 0;
        long long y = 0;
        for (const auto& entry : item) {
            const std::string key = keyText(entry.first);
            const std::string lower = asciiLower(key);
            const std::string where = block + "的 " + key;
            const YAML::Node& value = entry.second;
            if (lower == "id") {
                id = text(value, where).value_or(std::string());
            } else if (lower == "data-value") {
                data = text(value, where).value_or(std::string());
            } else if (lower == "position-x") {
                x = position(value, where);
            } else if (lower == "position-y") {
                y = position(value, where);
            } else if (lower == "name") {
                record.name = oneLine(value, where).value_or(std::string());
            } else if (lower == "lore") {
                record.lore = lore(value, where);
            } else if (lower == "command") {
                record.command = joinedLines(value, where);
            } else if (lower == "enchantment") {
                record.enchants = joinedLines(value, where);
            } else if (lower == "price") {
                record.money = oneLine(value, where).value_or(std::string());
            } else if (lower == "points") {
                record.point = oneLine(value, where).value_or(std::string());
            } else if (lower == "levels") {
                record.exp = oneLine(value, where).value_or(std::string());
            } else if (lower == "required-item") {
                requiredItem(oneLine(value, where).value_or(std::string()), record, where);
            } else if (lower == "keep-open") {
                record.keepOpen = isTrue(value) ? "true" : "false";
            } else if (lower == "permission") {
                record.permission = oneLine(value, where).value_or(std::string());
            } else if (lower == "view-permission") {
                record.viewPermission = oneLine(value, where).value_or(std::string());
            } else if (lower == "color") {
                record.color = oneLine(value, where).value_or(std::string());
            } else if (lower == "skull-owner") {
                record.head = oneLine(value, where).value_or(std::string());
            } else {
                note(block + "中的未知键“" + key + "”");
            }
        }

        if (x < 1 || x > kColumns || y < 1 || y > kMaxRows) {
            note(block + "没有可用的位置(POSITION-X 1–9,POSITION-Y 1–6),没有导入");
            return;
        }
        record.id = id;
        if (!data.empty() && textToInteger(data) > 0)
            record.id += ":" + data;
        if (!isValidItemId(record.id)) {
            note(block + "的 ID“" + gb18030ToUtf8(record.id).value_or(id) + "”不是物品ID,没有导入");
            return;
        }
        const int slot = slotAt(static_cast<int>(y), static_cast<int>(x));
        std::optional<std::string>& holder = m_holders[static_cast<std::size_t>(slot - 1)];
        if (holder) {
            note(block + "与物品“" + *holder + "”都在第 " + numberToText(static_cast<long long>(slot)) +
                 " 格,没有导入");
            return;
        }
        holder = name;
        m_menu.project.slots[slot] = std::move(record);
    }

    long long position(const YAML::Node& value, const std::string& where)
    {
        const auto number = text(value, where);
        return number && isNumber(*number) ? textToInteger(*number) : 0;
    }

    // One line per entry of a list, or per line of one text. A last entry
    // that is empty is kept by one more line break, which the export's
    // split leaves out again.
    std::string lore(const YAML::Node& value, const std::string& where)
    {
        std::vector<std::string> lines;
        auto add = [&](const std::string& entry) {
            std::string unix = replaceText(entry, kEol, "\n");
            std::replace(unix.begin(), unix.end(), '\r', '\n');
            if (unix.empty()) {
                lines.emplace_back();
                return;
            }
            std::size_t begin = 0;
            for (std::size_t end = unix.find('\n'); end != std::string::npos; end = unix.find('\n', begin)) {
                lines.push_back(unix.substr(begin, end - begin));
                begin = end + 1;
            }
            lines.push_back(unix.substr(begin));
        };
        if (value.IsSequence()) {
            for (const auto& entry : value) {
                if (const auto line = text(entry, where))
                    add(*line);
            }
        } else if (auto single = text(value, where); single && !single->empty()) {
            // One text: the line break that ends a block scalar ends its last line.
            if (single->ends_with('\n'))
                single->pop_back();
            if (single->ends_with('\r'))
                single->pop_back();
            if (!single->empty())
                add(*single);
        }
        std::string joined;
        for (std::size_t i = 0; i < lines.size(); ++i) {
            if (i > 0)
                joined += kEol;
            joined += lines[i];
        }
        if (!lines.empty() && lines.back().empty())
            joined += kEol;
        return joined;
    }

    // Commands and enchantments: the export joins their lines with "; ", so
    // each "; " is a line break again; a list gives a line per entry.
    std::string joinedLines(const YAML::Node& value, const std::string& where)
    {
        if (!value.IsSequence())
            return replaceText(oneLine(value, where).value_or(std::string()), kJoiner, kEol);
        std::string joined;
        bool first = true;
        for (const auto& entry : value) {
            const auto line = oneLine(entry, where);
            if (!line)
                continue;
            if (!first)
                joined += kEol;
            joined += replaceText(*line, kJoiner, kEol);
            first = false;
        }
        return joined;
    }

    // "item, amount": any ", " with text on both sides will do, since the
    // export writes them back joined by ", "; the last such one is taken.
    void requiredItem(const std::string& value, SlotRecord& record, const std::string& where)
    {
        for (std::size_t at = value.rfind(", "); at != std::string::npos && at > 0; at = value.rfind(", ", at - 1)) {
            if (at + 2 < value.size()) {
                record.item = value.substr(0, at);
                record.amount = value.substr(at + 2);
                return;
            }
        }
        if (!value.empty())
            note(where + " 不是“物品, 数量”,没有导入这一项");
    }

    static std::optional<std::string> present(std::optional<std::string> value)
    {
        if (value && value->empty())
            return std::nullopt;
        return value;
    }

    static bool isNumber(std::string_view text)
    {
        if (!text.empty() && (text.front() == '-' || text.front() == '+'))
            text.remove_prefix(1);
        return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
    }

    ImportedMenu m_menu;
    bool m_settingsSeen = false;
    std::array<std::optional<std::string>, kSlotCount> m_holders{};  // the item names by slot
};

std::variant<ImportedMenu, NotAMenu> readDecoded(const std::string& utf8, OutputEncoding encoding)
{
    YAML::Node root;
    try {
        root = YAML::Load(utf8);
    } catch (const YAML::ParserException& error) {
        return problemAt(error.mark, "YAML 语法错误(" + error.msg + ")");
    } catch (const YAML::Exception& error) {
        return problemAt(error.mark, "无法读取(" + error.msg + ")");
    }
    if (!root.IsMap())
        return problemAt(root.Mark(), "最外层不是“键: 值”的映射,不是菜单文件");
    try {
        return MenuReader().read(root, encoding);
    } catch (const YAML::Exception& error) {
        return problemAt(error.mark, "无法读取(" + error.msg + ")");
    }
}

// Characters that a menu's text in UTF-8 seldom holds but GBK text read as
// UTF-8 gives all the time: its two-byte characters become Latin Extended,
// Greek, Cyrillic, Hebrew or Arabic letters, its three-byte ones rare blocks.
std::size_t unlikelyInUtf8(std::string_view utf8)
{
    std::size_t count = 0;
    for (std::size_t pos = 0; pos < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[pos]);
        const std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        char32_t c = length == 1 ? lead : lead & (0xFF >> (length + 1));
        for (std::size_t i = 1; i < length && pos + i < utf8.size(); ++i)
            c = (c << 6) | (static_cast<unsigned char>(utf8[pos + i]) & 0x3F);
        if ((c >= 0x80 && c <= 0x9F) || (c >= 0x100 && c <= 0x1FFF) || (c >= 0x3400 && c <= 0x4DBF) ||
            (c >= 0xA000 && c <= 0xF8FF))
            ++count;
        pos += length;
    }
    return count;
}

// Characters that GBK text seldom holds but UTF-8 read as GBK gives all the
// time: codes outside GB2312's area (its trail bytes of UTF-8 sequences fall
// below A1) and GB18030's four-byte codes.
std::size_t unlikelyInGbk(std::string_view bytes)
{
    std::size_t count = 0;
    for (std::size_t pos = 0; pos < bytes.size(); pos += characterLength(bytes, pos)) {
        const std::size_t length = characterLength(bytes, pos);
        const auto lead = static_cast<unsigned char>(bytes[pos]);
        if (length == 4)
            ++count;
        else if (length == 2 && !(lead >= 0xA1 && lead <= 0xF7 && static_cast<unsigned char>(bytes[pos + 1]) >= 0xA1))
            ++count;
    }
    return count;
}

}  // namespace

std::variant<ImportedMenu, NotAMenu> importMenu(std::string_view bytes)
{
    constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
    if (bytes.starts_with(kByteOrderMark)) {
        const std::string_view text = bytes.substr(kByteOrderMark.size());
        if (const std::size_t bad = firstInvalidUtf8(text); bad != std::string_view::npos)
            return problemAt(text, bad, "文件以 UTF-8 标记开头,却含有不是 UTF-8 的字节");
        return readDecoded(std::string(text), OutputEncoding::Utf8);
    }

    const std::size_t badUtf8 = firstInvalidUtf8(bytes);
    const std::optional<std::string> fromGbk = gb18030ToUtf8(bytes);
    if (badUtf8 != std::string_view::npos && !fromGbk)
        return problemAt(bytes, badUtf8, "文件既不是 UTF-8 也不是 GB2312 编码的文字");
    if (badUtf8 != std::string_view::npos)
        return readDecoded(*fromGbk, OutputEncoding::Gb2312);

    auto asUtf8 = readDecoded(std::string(bytes), OutputEncoding::Utf8);
    if (!fromGbk || *fromGbk == bytes)
        return asUtf8;
    auto asGbk = readDecoded(*fromGbk, OutputEncoding::Gb2312);
    if (!std::holds_alternative<ImportedMenu>(asGbk))
        return asUtf8;
    if (!std::holds_alternative<ImportedMenu>(asUtf8))
        return asGbk;

    // Both readings are menus ("中文" in GBK is D6 D0 CE C4, two valid UTF-8
    // characters). A file this tool wrote is exactly what it would write again
    // in its encoding.
    auto writtenAgain = [&](const std::variant<ImportedMenu, NotAMenu>& reading, OutputEncoding encoding) {
        const ProjectData& project = std::get<ImportedMenu>(reading).project;
        const auto file = menuFileBytes(project.settings, project.slots, encoding);
        return std::holds_alternative<std::string>(file) && std::get<std::string>(file) == bytes;
    };
    const bool utf8Again = writtenAgain(asUtf8, OutputEncoding::Utf8);
    const bool gbkAgain = writtenAgain(asGbk, OutputEncoding::Gb2312);
    if (utf8Again != gbkAgain)
        return utf8Again ? asUtf8 : asGbk;
    // Short texts can be both ("§" in UTF-8 is C2 A7, which is 搂 in GBK):
    // the reading with fewer unlikely characters wins, UTF-8 when they tie.
    return unlikelyInGbk(bytes) < unlikelyInUtf8(bytes) ? asGbk : asUtf8;
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

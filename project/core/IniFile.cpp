#include "project/core/IniFile.h"

#include <algorithm>
#include <cerrno>

#include "document/core/Codec.h"
#include "document/core/ReadFile.h"
#include "document/core/Text.h"

namespace cofferon {

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

std::string_view trimBlanks(std::string_view text)
{
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

// Lower-cases ASCII letters at character starts only: the trail byte of a
// double-byte character is not a letter, whatever its value.
std::string foldName(std::string_view name)
{
    std::string folded(name);
    for (std::size_t pos = 0; pos < folded.size(); pos += characterLength(folded, pos)) {
        if (folded[pos] >= 'A' && folded[pos] <= 'Z')
            folded[pos] = static_cast<char>(folded[pos] - 'A' + 'a');
    }
    return folded;
}

// 0-based offset of the first `c` at a character start, or npos.
std::size_t findCharacter(std::string_view text, char c)
{
    const long long pos = findText(text, std::string_view(&c, 1));
    return pos < 0 ? std::string_view::npos : static_cast<std::size_t>(pos - 1);
}

std::string readValue(std::string_view raw)
{
    std::string_view value = trimBlanks(raw);
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front()) {
        value.remove_prefix(1);
        value.remove_suffix(1);
    }
    return std::string(value);
}

std::string withoutLineBreaks(std::string_view value)
{
    std::string result;
    result.reserve(value.size());
    for (std::size_t pos = 0; pos < value.size(); ++pos) {
        if (value[pos] == '\r' && pos + 1 < value.size() && value[pos + 1] == '\n')
            continue;
        result += value[pos] == '\n' ? ' ' : value[pos];
    }
    return result;
}

// The value as its entry line holds it. Reading takes off blanks at the ends
// and one pair of enclosing quotes, and a CR at the end of a line is part of
// the line end; a value that would lose any of these goes inside one more
// pair of double quotes, which the reader (and the Windows profile functions)
// take off again.
std::string entryText(std::string_view value)
{
    std::string text = withoutLineBreaks(value);
    if (!text.empty() && (text.back() == '\r' || readValue(text) != text))
        text = '"' + text + '"';
    return text;
}

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeMark = "\xFF\xFE";

}  // namespace

IniFile IniFile::parse(std::string_view bytes)
{
    std::string decoded;
    if (bytes.starts_with(kUtf8Mark)) {
        decoded = toGb18030KeepingUnreadable(bytes.substr(kUtf8Mark.size()), "UTF-8", 1, true);
        bytes = decoded;
    } else if (bytes.starts_with(kUtf16LeMark)) {
        decoded = toGb18030KeepingUnreadable(bytes.substr(kUtf16LeMark.size()), "UTF-16LE", 2, false);
        bytes = decoded;
    }

    IniFile ini;
    ini.m_blocks.emplace_back();
    std::string section;
    bool inSection = false;

    while (!bytes.empty()) {
        const std::size_t end = bytes.find('\n');
        std::string_view text = bytes.substr(0, end);
        bytes.remove_prefix(end == std::string_view::npos ? bytes.size() : end + 1);
        while (!text.empty() && text.back() == '\r')
            text.remove_suffix(1);

        const std::string_view content = trimBlanks(text);
        if (!content.empty() && content.front() == '[') {
            const std::size_t close = findCharacter(content, ']');
            if (close != std::string_view::npos) {
                section = std::string(trimBlanks(content.substr(1, close - 1)));
                inSection = true;
                ini.m_blocks.emplace_back();
                ini.m_blocks.back().lines.push_back(Line{std::string(text)});
                ini.m_sections.emplace(foldName(section), ini.m_blocks.size() - 1);
                continue;
            }
        }

        Block& block = ini.m_blocks.back();
        Line line{std::string(text)};
        const std::size_t equals = findCharacter(text, '=');
        const std::string_view key = trimBlanks(text.substr(0, equals));
        if (inSection && equals != std::string_view::npos && !key.empty() && content.front() != ';') {
            line.isEntry = true;
            line.valueStart = equals + 1;
            block.lastEntry = block.lines.size();
            ini.addEntry(section, key, Position{ini.m_blocks.size() - 1, block.lines.size()});
        }
        block.lines.push_back(std::move(line));
    }
    return ini;
}

std::variant<IniFile, FileError> IniFile::load(const std::string& path)
{
    auto bytes = readWholeFile(path);
    if (const auto* error = std::get_if<FileError>(&bytes)) {
        // As the profile functions do: no file means every key has its default.
        if (error->code == ENOENT || error->code == ENOTDIR)
            return parse({});
        return *error;
    }
    return parse(std::get<std::string>(bytes));
}

std::string IniFile::value(std::string_view section, std::string_view key, std::string_view defaultValue) const
{
    const auto found = m_entries.find(entryName(section, key));
    if (found == m_entries.end())
        return std::string(defaultValue);
    const Line& line = m_blocks[found->second.block].lines[found->second.line];
    return readValue(std::string_view(line.text).substr(line.valueStart));
}

void IniFile::setValue(std::string_view section, std::string_view key, std::string_view value)
{
    const std::string text = entryText(value);
    if (const auto found = m_entries.find(entryName(section, key)); found != m_entries.end()) {
        Line& line = m_blocks[found->second.block].lines[found->second.line];
        line.text.resize(line.valueStart);
        line.text += text;
        return;
    }

    std::size_t blockIndex = 0;
    if (const auto found = m_sections.find(foldName(section)); found != m_sections.end()) {
        blockIndex = found->second;
    } else {
        if (m_blocks.empty())
            m_blocks.emplace_back();
        m_blocks.emplace_back();
        std::string header = "[";
        header.append(section).append("]");
        m_blocks.back().lines.push_back(Line{std::move(header)});
        blockIndex = m_blocks.size() - 1;
        m_sections.emplace(foldName(section), blockIndex);
    }

    // Only non-entry lines follow the last entry, so no indexed line moves.
    Block& block = m_blocks[blockIndex];
    const std::size_t at = block.lastEntry + 1;
    block.lines.insert(block.lines.begin() + static_cast<std::ptrdiff_t>(at),
                       Line{std::string(key) + "=" + text, true, key.size() + 1});
    block.lastEntry = at;
    addEntry(section, key, Position{blockIndex, at});
}

std::string IniFile::serialize() const
{
    std::string bytes;
    for (const Block& block : m_blocks) {
        for (const Line& line : block.lines)
            bytes.append(line.text).append("\r\n");
    }
    return bytes;
}

std::string IniFile::entryName(std::string_view section, std::string_view key)
{
    // Neither name can hold a line feed, so it cannot make two pairs collide.
    return foldName(section) + '\n' + foldName(key);
}

void IniFile::addEntry(std::string_view section, std::string_view key, Position position)
{
    m_entries.emplace(entryName(section, key), position);
}

}  // namespace cofferon

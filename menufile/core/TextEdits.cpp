#include "menufile/core/TextEdits.h"

#include <algorithm>
#include <numeric>

namespace cofferon {

void TextEdits::replace(std::uint32_t begin, std::uint32_t end, std::string text)
{
    m_edits.push_back(TextEdit{begin, end, std::move(text)});
}

std::optional<std::vector<TextEdit>> TextEdits::sorted() const
{
    std::vector<std::size_t> order(m_edits.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(), [this](std::size_t a, std::size_t b) {
        const TextEdit& x = m_edits[a];
        const TextEdit& y = m_edits[b];
        // An insertion goes before a replacement that starts where it stands.
        return x.begin != y.begin ? x.begin < y.begin : (x.end == x.begin) > (y.end == y.begin);
    });
    std::vector<TextEdit> result;
    result.reserve(m_edits.size());
    std::uint32_t reached = 0;
    for (const std::size_t i : order) {
        const TextEdit& edit = m_edits[i];
        if (edit.begin < reached || edit.end < edit.begin)
            return std::nullopt;
        reached = edit.end;
        result.push_back(edit);
    }
    return result;
}

std::string applyEdits(std::string_view text, const std::vector<TextEdit>& edits)
{
    std::size_t size = text.size();
    for (const TextEdit& edit : edits)
        size += edit.text.size() - (edit.end - edit.begin);
    std::string out;
    out.reserve(size);
    std::uint32_t at = 0;
    for (const TextEdit& edit : edits) {
        out.append(text.substr(at, edit.begin - at));
        out.append(edit.text);
        at = edit.end;
    }
    out.append(text.substr(at));
    return out;
}

std::uint32_t Lines::startOf(std::uint32_t at) const
{
    while (at > 0 && m_text[at - 1] != '\n' && m_text[at - 1] != '\r')
        --at;
    return at;
}

std::uint32_t Lines::endOf(std::uint32_t at) const
{
    while (at < m_text.size() && m_text[at] != '\n' && m_text[at] != '\r')
        ++at;
    return at;
}

std::uint32_t Lines::nextStart(std::uint32_t at) const
{
    at = endOf(at);
    if (at < m_text.size() && m_text[at] == '\r')
        ++at;
    else if (at < m_text.size() && m_text[at] == '\n')
        return at + 1;
    if (at < m_text.size() && m_text[at] == '\n')
        ++at;
    return at;
}

std::uint32_t Lines::previousStart(std::uint32_t lineStart) const
{
    if (lineStart == 0)
        return 0;
    std::uint32_t at = lineStart - 1;
    if (at > 0 && m_text[at] == '\n' && m_text[at - 1] == '\r')
        --at;
    return startOf(at);
}

bool Lines::firstOnLine(std::uint32_t at) const
{
    for (std::uint32_t pos = startOf(at); pos < at; ++pos) {
        if (m_text[pos] != ' ' && m_text[pos] != '\t')
            return false;
    }
    return true;
}

bool Lines::blank(std::uint32_t lineStart) const
{
    return firstOnLine(endOf(lineStart));
}

bool Lines::comment(std::uint32_t lineStart) const
{
    std::uint32_t pos = lineStart;
    while (pos < m_text.size() && (m_text[pos] == ' ' || m_text[pos] == '\t'))
        ++pos;
    return pos < m_text.size() && m_text[pos] == '#';
}

std::string_view Lines::indentOf(std::uint32_t at) const
{
    const std::uint32_t start = startOf(at);
    std::uint32_t pos = start;
    while (pos < m_text.size() && m_text[pos] == ' ')
        ++pos;
    return m_text.substr(start, pos - start);
}

std::string Lines::lineBreak(std::string_view otherwise) const
{
    const std::size_t at = m_text.find_first_of("\r\n");
    if (at == std::string_view::npos)
        return std::string(otherwise);
    if (m_text[at] == '\r')
        return at + 1 < m_text.size() && m_text[at + 1] == '\n' ? "\r\n" : "\r";
    return "\n";
}

}  // namespace cofferon

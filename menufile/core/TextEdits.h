#pragma once

// Edits of a text that someone else wrote, each a range of the original text
// and what replaces it, computed against the original and applied at once,
// so that every byte no edit names stays as it was.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace cofferon {

struct TextEdit {
    std::uint32_t begin = 0;  // a byte offset of the original text
    std::uint32_t end = 0;  // past the last byte replaced; begin for an insertion
    std::string text;
};

class TextEdits {
public:
    void replace(std::uint32_t begin, std::uint32_t end, std::string text);
    void insert(std::uint32_t at, std::string text) { replace(at, at, std::move(text)); }

    bool empty() const { return m_edits.empty(); }
    const std::vector<TextEdit>& edits() const { return m_edits; }

    // The edits in the order of the text; insertions at one place keep the
    // order they were made in. nullopt when two of them overlap.
    std::optional<std::vector<TextEdit>> sorted() const;

private:
    std::vector<TextEdit> m_edits;
};

// The text with the edits applied (sorted, not overlapping).
std::string applyEdits(std::string_view text, const std::vector<TextEdit>& edits);

// Lines of a text whose lines end in CR LF, LF or CR alone.
class Lines {
public:
    explicit Lines(std::string_view text) : m_text(text) {}

    std::uint32_t startOf(std::uint32_t at) const;  // where the line holding `at` starts
    std::uint32_t endOf(std::uint32_t at) const;  // where its line break starts (or the text ends)
    std::uint32_t nextStart(std::uint32_t at) const;  // past its line break
    std::uint32_t previousStart(std::uint32_t lineStart) const;  // the line before, or lineStart itself at the top
    // Only blanks stand before `at` on its line.
    bool firstOnLine(std::uint32_t at) const;
    bool blank(std::uint32_t lineStart) const;
    bool comment(std::uint32_t lineStart) const;  // blanks, then "#"
    std::string_view indentOf(std::uint32_t at) const;  // the blanks before its line's first character
    // The first line break of the text: "\r\n", "\n" or "\r"; `otherwise` when there is none.
    std::string lineBreak(std::string_view otherwise) const;

private:
    std::string_view m_text;
};

}  // namespace cofferon

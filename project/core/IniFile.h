#pragma once

// INI text held in memory: sections in square brackets, "key=value" entries.
// Reading answers every key from an index built once; writing changes single
// lines and leaves everything else (comments, unknown lines, order) in place.
//
// Rules:
// - Section and key names match without regard to ASCII case; only
//   single-byte characters fold, so a double-byte character whose trail byte
//   happens to be a letter never matches a different character.
// - A value is everything after the first "=" of its line, trimmed of spaces
//   and tabs at both ends; a value wholly enclosed in one pair of matching
//   single or double quotation marks loses that pair. Values are never cut.
// - Lines end in LF, with or without CR before it; serialize() ends every line
//   with CR LF.
// - A section may appear more than once: its occurrences count as one section,
//   and for a key given more than once the first entry in the file wins.
// - A line whose first non-blank character is ";" is a comment. Comments, lines
//   without "=" and entries before the first section are kept but never read.

#include <cstddef>
#include <map>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace cofferon {

class IniFile {
public:
    static IniFile parse(std::string_view bytes);

    // A file that does not exist reads as empty, so every key gives its
    // default; any other failure to read comes back as the system's
    // description of it.
    static std::variant<IniFile, std::string> load(const std::string& path);

    std::string value(std::string_view section, std::string_view key, std::string_view defaultValue) const;

    // Replaces the value in place when the key exists, else appends the entry
    // after the last entry of its section, else appends the section at the
    // end. A line break cannot live inside one line: each CR LF, CR or LF in
    // the value is written as one space.
    void setValue(std::string_view section, std::string_view key, std::string_view value);

    std::string serialize() const;

private:
    struct Line {
        std::string text;  // without its line end
        bool isEntry = false;
        std::size_t valueStart = 0;  // offset just past the "=" of an entry
    };
    // The lines of one section occurrence, its header first; the block in
    // front of the first section has no header.
    struct Block {
        std::vector<Line> lines;
        std::size_t lastEntry = 0;  // index of the last entry, or of the header when there is none
    };
    struct Position {
        std::size_t block = 0;
        std::size_t line = 0;
    };

    static std::string entryName(std::string_view section, std::string_view key);
    void addEntry(std::string_view section, std::string_view key, Position position);

    std::vector<Block> m_blocks;
    std::map<std::string, std::size_t> m_sections;  // folded name -> first block
    std::map<std::string, Position> m_entries;  // folded section "\n" folded key -> first entry
};

}  // namespace cofferon

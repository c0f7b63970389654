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
//   setValue() puts a value that this would change, or that ends in CR,
//   inside one more pair of double quotes, so every value reads back as set.
// - Lines end in LF. Every CR right before the LF (or before the end of the
//   file) belongs to the line end, so lines that went through a CR LF
//   conversion twice still read as written; a CR anywhere else is text.
//   serialize() ends every line with CR LF.
// - A file that starts with the UTF-8 mark EF BB BF is UTF-8, one that starts
//   with FF FE is UTF-16LE (as Windows writes its own Unicode profile files):
//   both are converted to the document's GB18030 before anything else, bytes
//   that are not valid UTF-8 kept as they are. Any other file is GB18030
//   already; serialize() always writes GB18030, without a mark.
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

#include "document/core/AtomicFile.h"

namespace cofferon {

class IniFile {
public:
    static IniFile parse(std::string_view bytes);

    // A file that does not exist reads as empty, so every key gives its
    // default; any other failure to read comes back as the error.
    static std::variant<IniFile, FileError> load(const std::string& path);

    std::string value(std::string_view section, std::string_view key, std::string_view defaultValue) const;

    // Replaces the value in place when the key exists, else appends the entry
    // after the last entry of its section, else appends the section at the
    // end. A line break cannot live inside one line: each LF in the value,
    // together with a CR right before it, is written as one space.
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

#pragma once

// A YAML document read with libyaml into a tree, with what the plugin's
// reader (SnakeYAML 1.x) does on top of the parser: merge keys ("<<") folded
// into their mapping, the last of equal keys kept (in the place of the
// first), one document only, and its limits on nesting, aliases of lists and
// mappings, and the size of the text.

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace cofferon::yaml {

// Counted from 1.
struct Mark {
    int line = 1;
    int column = 1;
};

// Where something stands in the text read: byte offsets, `end` past its last byte.
struct Span {
    std::uint32_t begin = 0;
    std::uint32_t end = 0;
};

enum class NodeKind : std::uint8_t { Scalar, Sequence, Mapping };

enum class ScalarStyle : std::uint8_t { Plain, SingleQuoted, DoubleQuoted, Literal, Folded };

using NodeId = std::uint32_t;

// One key and value of a mapping as the text writes them, merge keys
// included; `valueSpan` is where this value stands, which for an alias is
// the alias itself ("*name") rather than the node it names.
struct Entry {
    NodeId key = 0;
    NodeId value = 0;
    Span valueSpan;
    bool alias = false;
};

struct Node {
    NodeKind kind = NodeKind::Scalar;
    bool plain = false;  // a scalar without quotes
    bool block = false;  // a literal ("|") or folded (">") scalar
    ScalarStyle style = ScalarStyle::Plain;
    bool flow = false;  // a collection in "[...]" or "{...}"
    bool anchored = false;  // carries an anchor ("&name")
    bool aliased = false;  // an alias or a merge key names it
    std::string_view tag;  // as the parser gives it: "", "!", "tag:yaml.org,2002:str", "!local"
    std::string_view text;  // a scalar's value (UTF-8), kept by its tree
    Mark mark;
    // From its first character (an anchor or a tag included) past its last:
    // a block collection ends with its last value, a block scalar after the
    // line breaks and blank lines that follow its text.
    Span span;
    // A sequence's items; a mapping's keys and values, alternating, merged.
    // An alias is the id of the node it names, so nodes may be shared.
    std::span<const NodeId> children;
    // A mapping's own entries, in the order of the text, before merging; a
    // sequence's items, each its own key. Only a tree read with its spans.
    std::span<const Entry> entries;
};

struct Tree {
    std::vector<Node> nodes;
    std::optional<NodeId> root;  // nullopt for a file of no document (empty, or comments only)
    // The scalars' texts and the collections' children and entries, one
    // after the other in blocks that never move, so the nodes' views of
    // them hold as the tree moves.
    std::vector<std::unique_ptr<char[]>> texts;
    std::vector<std::unique_ptr<NodeId[]>> childBlocks;
    std::vector<std::unique_ptr<Entry[]>> entryBlocks;

    const Node& operator[](NodeId id) const { return nodes[id]; }
};

// Why the text cannot be read, where (UTF-8 text in Chinese).
struct TreeError {
    Mark mark;
    std::string reason;
};

// The plugin's reader refuses more than this many characters, deeper nesting
// and more aliases of lists and mappings.
inline constexpr std::size_t kMostCharacters = 3 * 1024 * 1024;
inline constexpr int kDeepestNesting = 50;
inline constexpr int kMostCollectionAliases = 50;

// Without `spans`, the nodes carry no spans and mappings no own entries:
// what reading a menu needs, and no more.
std::variant<Tree, TreeError> parseYaml(std::string_view utf8, bool spans = true);

}  // namespace cofferon::yaml

#pragma once

// A YAML document read with libyaml into a tree, with what the plugin's
// reader (SnakeYAML 1.x) does on top of the parser: merge keys ("<<") folded
// into their mapping, the last of equal keys kept (in the place of the
// first), one document only, and its limits on nesting, aliases of lists and
// mappings, and the size of the text.

#include <cstdint>
#include <optional>
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

enum class NodeKind { Scalar, Sequence, Mapping };

using NodeId = std::uint32_t;

struct Node {
    NodeKind kind = NodeKind::Scalar;
    bool plain = false;  // a scalar without quotes
    bool block = false;  // a literal ("|") or folded (">") scalar
    std::string tag;  // as the parser gives it: "", "!", "tag:yaml.org,2002:str", "!local"
    std::string text;  // a scalar's value (UTF-8)
    Mark mark;
    // A sequence's items; a mapping's keys and values, alternating, merged.
    // An alias is the id of the node it names, so nodes may be shared.
    std::vector<NodeId> children;
};

struct Tree {
    std::vector<Node> nodes;
    std::optional<NodeId> root;  // nullopt for a file of no document (empty, or comments only)

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

std::variant<Tree, TreeError> parseYaml(std::string_view utf8);

}  // namespace cofferon::yaml

#include "menufile/core/YamlTree.h"

#include <yaml.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <unordered_map>
#include <utility>

#include "document/core/Text.h"
#include "menufile/core/YamlScalar.h"

namespace cofferon::yaml {

namespace {

Mark markOf(const yaml_mark_t& mark)
{
    return Mark{static_cast<int>(mark.line) + 1, static_cast<int>(mark.column) + 1};
}

// Line and column (in characters) of a byte offset; CR LF, LF and CR alone end a line.
Mark markAt(std::string_view utf8, std::size_t offset)
{
    Mark mark;
    for (std::size_t pos = 0; pos < offset && pos < utf8.size(); ++pos) {
        if (utf8[pos] == '\n' || (utf8[pos] == '\r' && utf8.substr(pos + 1, 1) != "\n")) {
            ++mark.line;
            mark.column = 1;
        } else if (utf8[pos] != '\r' && (static_cast<unsigned char>(utf8[pos]) & 0xC0) != 0x80) {
            ++mark.column;
        }
    }
    return mark;
}

// libyaml's own words for the usual mistakes, in the user's language.
std::string syntaxReason(const char* problem)
{
    static constexpr std::array<std::pair<std::string_view, std::string_view>, 18> kReasons = {{
        {"found character that cannot start any token", "这个字符不能开始一个值(如“@”“`”“%”,要加引号)"},
        {"mapping values are not allowed in this context", "这里不能写“键: 值”(值里的“: ”要加引号)"},
        {"did not find expected key", "这里应当是一个键,缩进可能不对"},
        {"did not find expected ',' or ']'", "“[”开始的列表缺少“,”或“]”"},
        {"did not find expected ',' or '}'", "“{”开始的映射缺少“,”或“}”"},
        {"found unexpected end of stream", "文件在引号或括号结束之前就结束了"},
        {"found undefined tag handle", "标签的前缀没有定义"},
        {"block sequence entries are not allowed in this context", "这里不能开始列表项“- ”"},
        {"did not find expected <document start>", "这里应当是新文档的开始“---”"},
        {"found unknown escape character", "双引号中有未知的转义“\\”"},
        {"did not find expected node content", "这里缺少值"},
        {"did not find expected '-' indicator", "这里应当是列表项“- ”,缩进可能不对"},
        {"found a tab character that violates indentation", "用了制表符缩进"},
        {"could not find expected ':'", "键后面缺少“:”"},
        {"found unexpected ':'", "多余的“:”"},
        {"control characters are not allowed", "文件含有不能出现在 YAML 中的控制字符"},
        {"found incompatible YAML document", "文件声明的 YAML 版本读不了"},
        {"found duplicate %YAML directive", "重复的 %YAML 声明"},
    }};
    const std::string_view text = problem ? problem : "";
    for (const auto& [english, chinese] : kReasons) {
        if (text == english)
            return "YAML 语法错误:" + std::string(chinese);
    }
    return "YAML 语法错误(" + std::string(text) + ")";
}

// Turns the parser's marks, counted in characters, into byte offsets of the
// text. Marks come in the order of the text, so one cursor walks it once.
class Offsets {
public:
    explicit Offsets(std::string_view utf8) : m_text(utf8) {}

    std::uint32_t at(std::size_t character)
    {
        // Eight characters of ASCII at a time, most of a menu.
        while (m_character + 8 <= character && m_byte + 8 <= m_text.size()) {
            std::uint64_t eight = 0;
            std::memcpy(&eight, m_text.data() + m_byte, 8);
            if ((eight & 0x8080808080808080u) != 0)
                break;
            m_byte += 8;
            m_character += 8;
        }
        while (m_character < character && m_byte < m_text.size()) {
            m_byte += characterBytes(static_cast<unsigned char>(m_text[m_byte]));
            ++m_character;
        }
        while (m_character > character) {
            do
                --m_byte;
            while (m_byte > 0 && (static_cast<unsigned char>(m_text[m_byte]) & 0xC0) == 0x80);
            --m_character;
        }
        return static_cast<std::uint32_t>(std::min(m_byte, m_text.size()));
    }

private:
    static std::size_t characterBytes(unsigned char lead)
    {
        return lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    }

    std::string_view m_text;
    std::size_t m_character = 0;
    std::size_t m_byte = 0;
};

class Builder {
public:
    Builder(std::string_view utf8, bool spans) : m_text(utf8), m_offsets(utf8), m_spans(spans) {}

    std::variant<Tree, TreeError> build(std::string_view utf8)
    {
        yaml_parser_t parser;
        if (!yaml_parser_initialize(&parser))
            return TreeError{{}, "内存不足"};
        yaml_parser_set_input_string(&parser, reinterpret_cast<const unsigned char*>(utf8.data()), utf8.size());
        yaml_parser_set_encoding(&parser, YAML_UTF8_ENCODING);
        // About one node for every line of a menu; growing the list moves them all.
        m_tree.nodes.reserve(utf8.size() / 48 + 16);
        bool done = false;
        while (!done && !m_error) {
            yaml_event_t event;
            if (!yaml_parser_parse(&parser, &event)) {
                // The reader stage reports a byte offset only.
                fail(parser.error == YAML_READER_ERROR ? markAt(utf8, parser.problem_offset)
                                                       : markOf(parser.problem_mark),
                     syntaxReason(parser.problem));
                break;
            }
            done = event.type == YAML_STREAM_END_EVENT;
            handle(event);
            yaml_event_delete(&event);
        }
        yaml_parser_delete(&parser);
        if (m_error)
            return std::move(*m_error);
        return std::move(m_tree);
    }

private:
    struct Open {
        NodeId id;
        bool mapping;
        std::optional<NodeId> pendingKey;  // a mapping's key whose value comes next
        std::uint32_t lastEnd = 0;  // where its last value so far ends
        std::vector<NodeId> children;  // until it closes
        std::vector<Entry> entries;
    };

    // Room for `count` items in the tree's blocks of them, which never move.
    template <typename T>
    std::span<const T> keepAll(std::vector<std::unique_ptr<T[]>>& blocks, T*& free, std::size_t& left,
                               const std::vector<T>& items)
    {
        constexpr std::size_t kBlock = 16 * 1024;
        if (items.empty())
            return {};
        if (items.size() > left) {
            const std::size_t size = std::max(kBlock, items.size());
            blocks.push_back(std::make_unique_for_overwrite<T[]>(size));
            free = blocks.back().get();
            left = size;
        }
        std::copy(items.begin(), items.end(), free);
        const std::span<const T> kept(free, items.size());
        free += items.size();
        left -= items.size();
        return kept;
    }

    void fail(Mark mark, std::string reason)
    {
        if (!m_error)
            m_error = TreeError{mark, std::move(reason)};
    }

    void handle(const yaml_event_t& event)
    {
        const Mark mark = markOf(event.start_mark);
        const Span span =
            m_spans ? Span{m_offsets.at(event.start_mark.index), m_offsets.at(event.end_mark.index)} : Span{};
        switch (event.type) {
        case YAML_DOCUMENT_START_EVENT:
            if (m_documents > 0)
                fail(mark, "文件里有不止一个文档(“---”),插件只读一个");
            break;
        case YAML_DOCUMENT_END_EVENT:
            ++m_documents;
            break;
        case YAML_SCALAR_EVENT: {
            const auto& scalar = event.data.scalar;
            Node node;
            node.kind = NodeKind::Scalar;
            node.plain = scalar.style == YAML_PLAIN_SCALAR_STYLE;
            node.block = scalar.style == YAML_LITERAL_SCALAR_STYLE || scalar.style == YAML_FOLDED_SCALAR_STYLE;
            node.style = styleOf(scalar.style);
            node.tag = scalar.tag ? keep(reinterpret_cast<const char*>(scalar.tag)) : std::string_view();
            node.text = keep(std::string_view(reinterpret_cast<const char*>(scalar.value), scalar.length));
            const Span own = node.block ? withoutTrailingBreaks(span) : span;
            add(std::move(node), mark, own, scalar.anchor);
            break;
        }
        case YAML_SEQUENCE_START_EVENT:
        case YAML_MAPPING_START_EVENT: {
            const bool mapping = event.type == YAML_MAPPING_START_EVENT;
            // As the reader counts: a mapping one level deeper than a list.
            if (static_cast<int>(m_open.size()) + (mapping ? 1 : 0) > kDeepestNesting) {
                fail(mark,
                     "嵌套太深(超过 " + numberToText(static_cast<long long>(kDeepestNesting)) +
                         " 层),插件的读取器不读");
                break;
            }
            const auto* tag = mapping ? event.data.mapping_start.tag : event.data.sequence_start.tag;
            Node node;
            node.kind = mapping ? NodeKind::Mapping : NodeKind::Sequence;
            node.flow = mapping ? event.data.mapping_start.style == YAML_FLOW_MAPPING_STYLE
                                : event.data.sequence_start.style == YAML_FLOW_SEQUENCE_STYLE;
            node.tag = tag ? keep(reinterpret_cast<const char*>(tag)) : std::string_view();
            const NodeId id = add(std::move(node), mark, span,
                                  mapping ? event.data.mapping_start.anchor : event.data.sequence_start.anchor);
            m_open.push_back({id, mapping, std::nullopt, span.end, {}, {}});
            break;
        }
        case YAML_SEQUENCE_END_EVENT:
        case YAML_MAPPING_END_EVENT:
            close(span);
            break;
        case YAML_ALIAS_EVENT:
            alias(reinterpret_cast<const char*>(event.data.alias.anchor), mark, span);
            break;
        default:
            break;
        }
    }

    // A copy of the text in the tree's own blocks, which a scalar of many
    // lines gets to itself.
    std::string_view keep(std::string_view text)
    {
        constexpr std::size_t kBlock = 256 * 1024;
        if (text.size() > m_left) {
            const std::size_t size = std::max(kBlock, text.size());
            m_tree.texts.push_back(std::make_unique_for_overwrite<char[]>(size));
            m_free = m_tree.texts.back().get();
            m_left = size;
        }
        std::copy(text.begin(), text.end(), m_free);
        const std::string_view kept(m_free, text.size());
        m_free += text.size();
        m_left -= text.size();
        return kept;
    }

    // A block scalar's own lines end with its last character of text (or its
    // header); the breaks and blank lines after it belong to what follows.
    Span withoutTrailingBreaks(Span span) const
    {
        while (span.end > span.begin &&
               std::string_view(" \t\r\n").find(m_text[span.end - 1]) != std::string_view::npos)
            --span.end;
        return span;
    }

    static ScalarStyle styleOf(yaml_scalar_style_t style)
    {
        switch (style) {
        case YAML_SINGLE_QUOTED_SCALAR_STYLE:
            return ScalarStyle::SingleQuoted;
        case YAML_DOUBLE_QUOTED_SCALAR_STYLE:
            return ScalarStyle::DoubleQuoted;
        case YAML_LITERAL_SCALAR_STYLE:
            return ScalarStyle::Literal;
        case YAML_FOLDED_SCALAR_STYLE:
            return ScalarStyle::Folded;
        default:
            return ScalarStyle::Plain;
        }
    }

    NodeId add(Node node, Mark mark, Span span, const unsigned char* anchor)
    {
        node.mark = mark;
        node.span = span;
        node.anchored = anchor != nullptr;
        const auto id = static_cast<NodeId>(m_tree.nodes.size());
        m_tree.nodes.push_back(std::move(node));
        if (anchor)
            m_anchors[reinterpret_cast<const char*>(anchor)] = id;
        attach(id, span, false);
        return id;
    }

    // A flow collection ends at its closing bracket, a block one with its last value.
    void close(Span end)
    {
        Open open = std::move(m_open.back());
        m_open.pop_back();
        Node& node = m_tree.nodes[open.id];
        node.span.end = node.flow ? end.end : std::max(open.lastEnd, node.span.end);
        if (open.mapping)
            finishMapping(open.children);
        m_tree.nodes[open.id].children = keepAll(m_tree.childBlocks, m_freeChildren, m_childrenLeft, open.children);
        m_tree.nodes[open.id].entries = keepAll(m_tree.entryBlocks, m_freeEntries, m_entriesLeft, open.entries);
        if (!m_open.empty())
            m_open.back().lastEnd = std::max(m_open.back().lastEnd, m_tree.nodes[open.id].span.end);
    }

    void attach(NodeId id, Span span, bool alias)
    {
        if (m_open.empty()) {
            m_tree.root = id;
            return;
        }
        Open& open = m_open.back();
        open.children.push_back(id);
        open.lastEnd = std::max(open.lastEnd, span.end);
        if (!m_spans)
            return;
        if (!open.mapping) {
            open.entries.push_back(Entry{id, id, span, alias});
            return;
        }
        if (!open.pendingKey) {
            open.pendingKey = id;
            return;
        }
        open.entries.push_back(Entry{*open.pendingKey, id, span, alias});
        open.pendingKey.reset();
    }

    void alias(const std::string& name, Mark mark, Span span)
    {
        const auto found = m_anchors.find(name);
        if (found == m_anchors.end()) {
            fail(mark, "别名“*" + name + "”前面没有对应的锚点“&" + name + "”");
            return;
        }
        const NodeId id = found->second;
        if (m_tree.nodes[id].kind != NodeKind::Scalar) {
            if (std::any_of(m_open.begin(), m_open.end(), [id](const Open& open) { return open.id == id; })) {
                fail(mark, "别名“*" + name + "”用在了它自己里面");
                return;
            }
            if (++m_collectionAliases > kMostCollectionAliases) {
                fail(mark,
                     "指向列表或映射的别名超过 " + numberToText(static_cast<long long>(kMostCollectionAliases)) +
                         " 个,插件的读取器不读");
                return;
            }
        }
        m_tree.nodes[id].aliased = true;
        attach(id, span, true);
    }

    // What makes two keys equal for the reader: the values they construct.
    std::optional<std::string> keyIdentity(NodeId id)
    {
        const Node& key = m_tree.nodes[id];
        if (key.kind != NodeKind::Scalar)
            return "#" + std::to_string(id);
        const auto scalar = resolveScalar(key.text, key.tag, key.plain);
        if (!scalar) {
            fail(key.mark, "读取器不认识这个值(标签“" + std::string(key.tag) + "”)");
            return std::nullopt;
        }
        switch (scalar->type) {
        case ScalarType::Null:
            return std::string("n");
        case ScalarType::Flag:
            return scalar->flag ? "b1" : "b0";
        case ScalarType::Integer:
            return "i" + scalar->integer;
        case ScalarType::Real:
            return "r" + javaText(*scalar);
        case ScalarType::Text:
            return "s" + scalar->text;
        case ScalarType::Other:
            return "o" + scalar->text;
        }
        return std::nullopt;
    }

    // Merge keys and equal keys, as the reader builds its map: the merged
    // entries first (the first of a key among them), then the mapping's own,
    // which replace a merged or earlier value in its place.
    void finishMapping(std::vector<NodeId>& children)
    {
        std::vector<NodeId> pairs = std::move(children);
        std::vector<NodeId> result;
        std::unordered_map<std::string, std::size_t> index;  // identity -> position of the value in `result`
        auto put = [&](NodeId key, NodeId value, bool replace) {
            auto identity = keyIdentity(key);
            if (!identity)
                return;
            const auto [at, added] = index.emplace(std::move(*identity), result.size() + 1);
            if (added) {
                result.push_back(key);
                result.push_back(value);
            } else if (replace) {
                result[at->second] = value;
            }
        };
        for (std::size_t i = 0; i + 1 < pairs.size(); i += 2) {
            const Node& key = m_tree.nodes[pairs[i]];
            if (key.kind != NodeKind::Scalar || !isMergeKey(key.text, key.tag, key.plain))
                continue;
            const Node& value = m_tree.nodes[pairs[i + 1]];
            std::vector<NodeId> sources;
            if (value.kind == NodeKind::Mapping)
                sources.push_back(pairs[i + 1]);
            else if (value.kind == NodeKind::Sequence)
                sources.assign(value.children.begin(), value.children.end());
            for (const NodeId source : sources) {
                if (m_tree.nodes[source].kind != NodeKind::Mapping) {
                    fail(value.mark, "合并键“<<”的值必须是映射或映射的列表");
                    return;
                }
                const std::span<const NodeId> merged = m_tree.nodes[source].children;
                for (std::size_t j = 0; j + 1 < merged.size(); j += 2)
                    put(merged[j], merged[j + 1], false);
            }
            if (value.kind == NodeKind::Scalar) {
                fail(value.mark, "合并键“<<”的值必须是映射或映射的列表");
                return;
            }
        }
        for (std::size_t i = 0; i + 1 < pairs.size(); i += 2) {
            const Node& key = m_tree.nodes[pairs[i]];
            if (key.kind != NodeKind::Scalar || !isMergeKey(key.text, key.tag, key.plain))
                put(pairs[i], pairs[i + 1], true);
        }
        children = std::move(result);
    }

    std::string_view m_text;
    Offsets m_offsets;
    bool m_spans;
    Tree m_tree;
    char* m_free = nullptr;
    std::size_t m_left = 0;
    NodeId* m_freeChildren = nullptr;
    std::size_t m_childrenLeft = 0;
    Entry* m_freeEntries = nullptr;
    std::size_t m_entriesLeft = 0;
    std::vector<Open> m_open;
    std::unordered_map<std::string, NodeId> m_anchors;
    int m_collectionAliases = 0;
    int m_documents = 0;
    std::optional<TreeError> m_error;
};

}  // namespace

std::variant<Tree, TreeError> parseYaml(std::string_view utf8, bool spans)
{
    // The reader counts characters before it parses; so does this. Most
    // texts are far below the limit in bytes already.
    if (utf8.size() > kMostCharacters) {
        std::size_t continuations = 0;
        for (const char c : utf8)
            continuations += (static_cast<unsigned char>(c) & 0xC0) == 0x80;
        if (utf8.size() - continuations > kMostCharacters) {
            std::size_t characters = 0;
            std::size_t pos = 0;
            for (; pos < utf8.size(); ++pos) {
                if ((static_cast<unsigned char>(utf8[pos]) & 0xC0) != 0x80 && ++characters > kMostCharacters)
                    break;
            }
            return TreeError{markAt(utf8, pos),
                             "文件超过 " + numberToText(static_cast<long long>(kMostCharacters)) +
                                 " 个字符,插件的 YAML 读取器不读这么长的文件"};
        }
    }
    return Builder(utf8, spans).build(utf8);
}

}  // namespace cofferon::yaml

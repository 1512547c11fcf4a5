// The grammar read: an XML declaration, comments, processing instructions and a DOCTYPE without internal
// subset (its declarations could define entities or hide markup) around one element, <plist> or a value;
// inside, the elements of a property list. Attributes are checked for form and otherwise ignored. Open
// containers live on a vector, so nesting costs heap bounded by the depth limit, never the machine stack.
#include "tools/plutil/XmlPlist.h"

#include "tools/plutil/XmlScalars.h"
#include "tools/plutil/XmlText.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace plutil {
namespace {

constexpr std::string_view kSpace = " \t\r\n";
// What the writer makes of one value, at most: two lines of its tags (a container's start and end), each
// indented by its level, holding a number or date of at most 24 characters, and five bytes for every
// byte of content ("&amp;" for an "&" in CDATA; Base64 with its line breaks takes less).
constexpr std::uint64_t kMostTagBytes = 24;
constexpr std::uint64_t kMostBytesPerByte = 5;
constexpr std::uint64_t kMostFrameBytes = 256; // the XML header, DOCTYPE and <plist> wrapper

struct Tag {
    std::string_view name;
    Kind kind;
};
constexpr Tag kTags[] = {{"dict", Kind::Dict},       {"array", Kind::Array}, {"key", Kind::String},
                         {"string", Kind::String},   {"data", Kind::Data},   {"date", Kind::Date},
                         {"integer", Kind::Integer}, {"real", Kind::Real},   {"true", Kind::Boolean},
                         {"false", Kind::Boolean}};

bool IsNameChar(char c) {
    return c != '>' && c != '/' && c != '=' && !IsXmlSpace(c);
}

} // namespace

class XmlPlist::Parser {
public:
    Parser(XmlPlist& plist, int maxDepth) : plist_(plist), text_(plist.text_), maxDepth_(maxDepth) {}

    bool Run(std::string& error) {
        const bool ok = Document();
        if (!ok) {
            const std::string_view read = text_.substr(0, std::min(at_, text_.size()));
            const auto line = std::count(read.begin(), read.end(), '\n') + 1;
            error = why_.empty() ? "not a property list, or a damaged one (" + problem_ + ", line " +
                                       std::to_string(line) + ")"
                                 : why_;
        }
        return ok;
    }

private:
    struct Open {
        std::uint32_t node; // kNoNode for the <plist> wrapper
        bool dict;
        bool wantKey;
        std::string_view name;
    };
    static constexpr std::uint32_t kNoNode = std::numeric_limits<std::uint32_t>::max();

    bool Fail(std::string problem) {
        problem_ = std::move(problem);
        return false;
    }

    void SkipSpace() {
        while (at_ < text_.size() && IsXmlSpace(text_[at_]))
            ++at_;
    }

    // Past the next `end`, the whole of a comment, processing instruction or CDATA section.
    bool SkipPast(std::string_view end) {
        const std::size_t found = text_.find(end, at_);
        if (found == std::string_view::npos)
            return Fail("an unterminated comment, processing instruction or section");
        at_ = found + end.size();
        return true;
    }

    // Comments and processing instructions, with the whitespace between them.
    bool Misc() {
        for (;;) {
            SkipSpace();
            const std::string_view rest = text_.substr(at_);
            if (rest.starts_with("<!--")) {
                at_ += 4;
                if (!SkipPast("-->"))
                    return false;
            } else if (rest.starts_with("<?")) {
                const bool declaration = rest.starts_with("<?xml ") || rest.starts_with("<?xml?");
                if (declaration && at_ != start_)
                    return Fail("an XML declaration after the start");
                if (!SkipPast("?>"))
                    return false;
            } else {
                return true;
            }
        }
    }

    // <!DOCTYPE name [PUBLIC "id" "uri" | SYSTEM "uri"]>
    bool Doctype() {
        at_ += 9;
        for (;;) {
            SkipSpace();
            if (at_ >= text_.size())
                return Fail("an unterminated DOCTYPE");
            const char c = text_[at_];
            if (c == '>') {
                ++at_;
                return true;
            }
            if (c == '[')
                return Fail("a DOCTYPE with declarations of its own");
            if (c == '"' || c == '\'') {
                const std::size_t end = text_.find(c, at_ + 1);
                if (end == std::string_view::npos)
                    return Fail("an unterminated DOCTYPE");
                at_ = end + 1;
            } else {
                const std::size_t from = at_;
                while (at_ < text_.size() && IsNameChar(text_[at_]) && text_[at_] != '[' &&
                       text_[at_] != '"' && text_[at_] != '\'')
                    ++at_;
                if (at_ == from)
                    return Fail("a damaged DOCTYPE");
            }
        }
    }

    bool Document() {
        if (text_.size() >= kNoNode)
            return Fail("too large");
        // Room for every value at once, so that the table never grows by copying: no value takes fewer than
        // six bytes ("<key/>"). Pages of it that no value fills are never touched, so they take no memory.
        plist_.nodes_.reserve(text_.size() / 6 + 1);
        SkipSpace(); // blanks before the XML declaration were accepted before
        start_ = at_;
        if (!Misc())
            return false;
        if (text_.substr(at_).starts_with("<!DOCTYPE") && !(Doctype() && Misc()))
            return false;
        if (!Elements())
            return false;
        if (plist_.nodes_.empty())
            return Fail("no value");
        if (!Misc())
            return false;
        return at_ == text_.size() || Fail("more after the property list");
    }

    // A start tag from its '<': its name, its attributes, and whether it closes itself.
    bool StartTag(std::string_view& name, bool& empty) {
        const std::size_t from = ++at_;
        while (at_ < text_.size() && IsNameChar(text_[at_]))
            ++at_;
        name = text_.substr(from, at_ - from);
        for (;;) {
            SkipSpace();
            if (at_ >= text_.size())
                return Fail("an unterminated tag");
            if (text_.substr(at_).starts_with("/>") || text_[at_] == '>') {
                empty = text_[at_] == '/';
                at_ += empty ? 2 : 1;
                return !name.empty() || Fail("a tag without a name");
            }
            // name = "value" or 'value'
            const std::size_t attribute = at_;
            while (at_ < text_.size() && IsNameChar(text_[at_]))
                ++at_;
            SkipSpace();
            if (at_ == attribute || at_ >= text_.size() || text_[at_] != '=')
                return Fail("a damaged attribute");
            ++at_;
            SkipSpace();
            const char quote = at_ < text_.size() ? text_[at_] : '\0';
            const std::size_t end =
                quote == '"' || quote == '\'' ? text_.find(quote, at_ + 1) : std::string_view::npos;
            if (end == std::string_view::npos ||
                text_.substr(at_, end - at_).find('<') != std::string_view::npos)
                return Fail("a damaged attribute");
            at_ = end + 1;
        }
    }

    // "</name>" at the current position.
    bool EndTag(std::string_view name) {
        if (!text_.substr(at_ + 2).starts_with(name))
            return Fail("an end tag that does not match its start tag");
        at_ += 2 + name.size();
        SkipSpace();
        if (at_ >= text_.size() || text_[at_] != '>')
            return Fail("an end tag that does not match its start tag");
        ++at_;
        return true;
    }

    // The content of a value element up to its end tag: text, references, comments, CDATA.
    bool ScalarContent(std::string_view name, Node& node) {
        node.begin = static_cast<std::uint32_t>(at_);
        node.plain = true;
        for (;;) {
            const std::size_t open = text_.find('<', at_);
            if (open == std::string_view::npos)
                return Fail("an unterminated value");
            at_ = open;
            const std::string_view rest = text_.substr(at_);
            if (rest.starts_with("</")) {
                node.end = static_cast<std::uint32_t>(at_);
                break;
            }
            at_ += 2;
            node.plain = false;
            if (!(rest.starts_with("<!--")        ? SkipPast("-->")
                  : rest.starts_with("<![CDATA[") ? SkipPast("]]>")
                  : rest.starts_with("<?")        ? SkipPast("?>")
                                                  : Fail("an element inside a value")))
                return false;
        }
        const std::string_view content = text_.substr(node.begin, node.end - node.begin);
        node.plain = node.plain && content.find('&') == std::string_view::npos;
        return EndTag(name);
    }

    // The value a node holds, decoded once to check it.
    bool CheckValue(const Node& node, std::string_view name) {
        if (node.Type() == Kind::String)
            return node.plain ||
                   DecodeContent(plist_.text_.substr(node.begin, node.end - node.begin), check_) ||
                   Fail("an undefined or damaged reference");
        if (node.Type() == Kind::Boolean)
            return plist_.Content(node).find_first_not_of(kSpace) == std::string_view::npos ||
                   Fail("text inside <true/> or <false/>");
        PlistValue value;
        value.kind = node.Type();
        if (!node.plain && !DecodeContent(plist_.text_.substr(node.begin, node.end - node.begin), check_))
            return Fail("an undefined or damaged reference");
        const std::string_view text = node.plain ? plist_.Content(node) : std::string_view(check_);
        if (ParseScalar(text, value, bytes_))
            return true;
        return Fail("a damaged <" + std::string(name) + ">");
    }

    // Whether an element of this name may stand here; a dictionary takes keys and values in turn.
    bool Placed(bool key) {
        if (stack_.empty())
            return !key && plist_.nodes_.empty();
        Open& parent = stack_.back();
        if (parent.node == kNoNode)
            return !key && plist_.nodes_.empty();
        if (!parent.dict)
            return !key;
        if (parent.wantKey != key)
            return false;
        parent.wantKey = !key;
        return true;
    }

    // Elements until the outermost one has ended.
    bool Elements() {
        do {
            if (!Misc())
                return false;
            if (at_ >= text_.size() || text_[at_] != '<')
                return Fail(at_ >= text_.size() ? "the text ends early"
                                                : "text outside the elements of a property list");
            if (!(text_.substr(at_).starts_with("</") ? Close() : Element()))
                return false;
        } while (!stack_.empty());
        return true;
    }

    bool Close() {
        if (stack_.empty())
            return Fail("an end tag without its start tag");
        const Open& open = stack_.back();
        if (open.dict && !open.wantKey)
            return Fail("a key without a value");
        if (!EndTag(open.name))
            return false;
        if (open.node != kNoNode)
            plist_.nodes_[open.node].next = static_cast<std::uint32_t>(plist_.nodes_.size());
        stack_.pop_back();
        return true;
    }

    bool Element() {
        std::string_view name;
        bool empty = false;
        if (text_.substr(at_).starts_with("<!"))
            return Fail("markup that is no element here");
        if (!StartTag(name, empty))
            return false;
        if (name == "plist" && stack_.empty() && plist_.nodes_.empty()) {
            if (empty)
                return Fail("no value");
            stack_.push_back({kNoNode, false, false, name});
            return true;
        }
        const auto* element =
            std::find_if(std::begin(kTags), std::end(kTags), [&](const Tag& e) { return e.name == name; });
        if (element == std::end(kTags))
            return Fail("an element that is no property list value");
        const bool key = name == "key";
        if (!Placed(key))
            return Fail(key ? "a key outside a dictionary, or two keys in a row"
                            : "a value without a key, or a second top value");
        Node node;
        node.kind = static_cast<std::uint8_t>(element->kind);
        node.truth = name == "true";
        node.plain = true;
        const auto index = static_cast<std::uint32_t>(plist_.nodes_.size());
        node.next = index + 1; // a container that is not empty learns its own at its end tag
        if (!key)
            CountInParent();
        plist_.mostXmlBytes_ += 2 * (ContainerDepth() + kMostTagBytes);
        if (element->kind == Kind::Array || element->kind == Kind::Dict) {
            if (!empty && static_cast<int>(ContainerDepth()) > maxDepth_ + 1) {
                why_ = "nested deeper than " + std::to_string(maxDepth_) + " levels";
                return false;
            }
            if (!empty)
                stack_.push_back({index, element->kind == Kind::Dict, true, name});
            plist_.nodes_.push_back(node);
            return true;
        }
        node.begin = node.end = static_cast<std::uint32_t>(at_);
        if ((!empty && !ScalarContent(name, node)) || !CheckValue(node, name))
            return false;
        plist_.mostXmlBytes_ += kMostBytesPerByte * (node.end - node.begin);
        plist_.nodes_.push_back(node);
        return true;
    }

    void CountInParent() {
        if (!stack_.empty() && stack_.back().node != kNoNode)
            ++plist_.nodes_[stack_.back().node].end;
    }

    std::size_t ContainerDepth() const {
        return stack_.size() - (!stack_.empty() && stack_.front().node == kNoNode ? 1 : 0) + 1;
    }

    XmlPlist& plist_;
    std::string_view text_;
    const int maxDepth_;
    std::size_t at_ = 0;
    std::size_t start_ = 0; // where the XML declaration may stand
    std::vector<Open> stack_;
    std::string check_;
    std::string bytes_;
    std::string problem_;
    std::string why_;
};

std::optional<XmlPlist> XmlPlist::Open(std::string_view text, int maxDepth, std::string& error) {
    XmlPlist plist(text);
    plist.mostXmlBytes_ = kMostFrameBytes;
    if (!Parser(plist, maxDepth).Run(error))
        return std::nullopt;
    return plist;
}

std::string_view XmlPlist::Content(const Node& node) const {
    const std::string_view raw = text_.substr(node.begin, node.end - node.begin);
    if (node.plain)
        return raw;
    DecodeContent(raw, scratch_); // checked when opened
    return scratch_;
}

std::optional<PlistValue> XmlPlist::At(Ref ref, std::string& error) const {
    const Node& node = nodes_[ref];
    PlistValue value;
    value.kind = node.Type();
    value.handle = ref;
    value.integer = node.truth;
    if (value.kind == Kind::Array || value.kind == Kind::Dict) {
        value.count = node.end;
        return value;
    }
    if (value.kind == Kind::String) {
        value.bytes = Content(node);
        return value;
    }
    if (value.kind == Kind::Boolean)
        return value;
    const std::string_view raw = text_.substr(node.begin, node.end - node.begin);
    std::string decoded;
    if (!node.plain)
        DecodeContent(raw, decoded);
    if (!ParseScalar(node.plain ? raw : std::string_view(decoded), value, scratch_)) {
        error = "damaged XML property list";
        return std::nullopt;
    }
    return value;
}

bool XmlPlist::Items(const Object& array, std::vector<Ref>& items, std::string&) const {
    items.clear();
    items.reserve(static_cast<std::size_t>(array.count));
    const Node& node = nodes_[array.handle];
    for (Ref child = static_cast<Ref>(array.handle) + 1; child < node.next; child = nodes_[child].next)
        items.push_back(child);
    return true;
}

bool XmlPlist::Entries(const Object& dict, std::vector<std::pair<std::string, Ref>>& entries,
                       std::string&) const {
    entries.clear();
    entries.reserve(static_cast<std::size_t>(dict.count));
    const Node& node = nodes_[dict.handle];
    for (Ref key = static_cast<Ref>(dict.handle) + 1; key < node.next; key = nodes_[nodes_[key].next].next)
        entries.emplace_back(std::string(Content(nodes_[key])), nodes_[key].next);
    return true;
}

} // namespace plutil

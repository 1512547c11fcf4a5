// An XML property list read in place: one pass checks the whole text and notes where each value lies, in a
// flat table of a few words per value, without recursion; values are decoded from the text when asked for.
#pragma once

#include "tools/plutil/BinaryPlist.h"

namespace plutil {

class XmlPlist {
public:
    using Ref = std::uint32_t;
    using Object = PlistValue;

    // Nothing, with the reason, when the UTF-8 text is no well-formed property list, or nests containers
    // deeper than maxDepth + 1 (the writer refuses the last level that holds anything).
    static std::optional<XmlPlist> Open(std::string_view text, int maxDepth, std::string& error);

    Ref Top() const { return 0; }
    // A bound on the length of the XML text the writer makes of this list.
    std::uint64_t MostXmlBytes() const { return mostXmlBytes_; }
    // A String's or Data's bytes stay valid until the next call.
    std::optional<Object> At(Ref ref, std::string& error) const;
    bool Items(const Object& array, std::vector<Ref>& items, std::string& error) const;
    // A Dict's keys with the references of their values, in file order.
    bool Entries(const Object& dict, std::vector<std::pair<std::string, Ref>>& entries,
                 std::string& error) const;

private:
    // Sixteen bytes: a file holds a value in about every 35 bytes.
    struct Node {
        std::uint32_t begin = 0; // a value's content, up to end
        std::uint32_t end = 0;   // of an Array or Dict, the count of its entries instead
        std::uint32_t next = 0;  // the node after this one's descendants
        std::uint8_t kind = 0;   // a Kind
        bool plain = false;      // content without references, comments or CDATA: its bytes are its text
        bool truth = false;
        Kind Type() const { return static_cast<Kind>(kind); }
    };
    class Parser;

    explicit XmlPlist(std::string_view text) : text_(text) {}
    // The content's text; a view of the file's bytes where they need no decoding.
    std::string_view Content(const Node& node) const;

    std::string_view text_;
    std::vector<Node> nodes_;
    std::uint64_t mostXmlBytes_ = 0;
    mutable std::string scratch_;
};

} // namespace plutil

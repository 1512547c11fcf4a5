// The Mac layout: one element per line, one TAB per level, keys sorted; only & < > are escaped. The walk
// keeps its own stack, so nesting costs heap, never the machine stack, and values shared by many
// references are written once per reference, which the measuring pass bounds with the work and memory.
#include "tools/plutil/PlistXmlWriter.h"

#include "framework/text/Text.h"
#include "tools/plutil/BinaryPlist.h"
#include "tools/plutil/XmlPlist.h"

#include <algorithm>
#include <cinttypes>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <utility>
#include <vector>

namespace plutil {
namespace {

constexpr std::string_view kHead = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                                   "<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" "
                                   "\"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n"
                                   "<plist version=\"1.0\">\n";
constexpr std::string_view kTail = "</plist>\n";
// Dates count from 2001-01-01 00:00:00 UTC.
constexpr std::int64_t kMacEpochOffset = 978307200;
// Far beyond the years the XML form can hold; keeps the seconds within a time_t's year.
constexpr double kMaxDateSeconds = 1e15;
constexpr int kLastYear = 9999;
// Base64 lines are 76 characters wide less 8 per level, indented at most 8 TABs, as the Mac tool lays them
// out.
constexpr int kBase64LineWidth = 76;
constexpr int kMaxBase64Indent = 8;
constexpr int kTabColumns = 8;
constexpr std::size_t kPieceSize = 1 << 20;
// The open containers of a binary list hold their entries and key texts at once. Containers are never
// shared, so those of a regular file hold parts of its bytes, a few times over in memory; more is a bomb.
constexpr std::uint64_t kHeldPerInputByte = 8;
constexpr std::uint64_t kHeldSlack = 1 << 20;

// A container being written: its entries in writing order, and how far it has come.
template <class Source>
struct Frame {
    bool dict = false;
    int level = 0;
    std::size_t next = 0;
    std::uint64_t held = 0; // the bytes its entries and keys take
    std::vector<typename Source::Ref> items;                      // an array's items
    std::vector<std::pair<std::string, typename Source::Ref>> keys; // a dictionary's keys and values
};

template <class Source>
class Writer {
public:
    using Ref = typename Source::Ref;

    // Without `out` the writer only measures.
    Writer(const Source& plist, const XmlLimits& limits, std::uint64_t maxHeld, const XmlOut* out)
        : plist_(plist), limits_(limits), maxHeld_(maxHeld), out_(out) {}

    bool Run(std::string& error) {
        if constexpr (kShared)
            opened_.assign(plist_.Positions(), false);
        Put(kHead);
        bool ok = Node(plist_.Top(), 0);
        while (ok && !stack_.empty())
            ok = Settled(false) && Step();
        if (ok)
            Put(kTail);
        if (ok && Settled(true))
            return true;
        error = why_;
        return false;
    }

private:
    // Within the size limit, with a full piece (at the end, the rest) handed on.
    bool Settled(bool last) {
        if (size_ > limits_.maxBytes)
            return Refuse("the XML text would be larger than " + std::to_string(limits_.maxBytes) + " bytes");
        if (out_ && (last || buffer_.size() >= kPieceSize) && !Flush())
            return Refuse("cannot write the XML text");
        return true;
    }

    // The next entry of the innermost open container, or its end.
    bool Step() {
        Frame<Source>& top = stack_.back();
        const std::size_t count = top.dict ? top.keys.size() : top.items.size();
        if (top.next == count) {
            Line(top.level, top.dict ? "</dict>" : "</array>");
            held_ -= top.held;
            stack_.pop_back();
            return true;
        }
        const std::size_t i = top.next++;
        const int level = top.level + 1;
        if (top.dict)
            Text(level, "key", top.keys[i].first);
        return Node(top.dict ? top.keys[i].second : top.items[i], level); // may grow the stack: last use of `top`
    }

    bool Refuse(std::string why) {
        why_ = std::move(why);
        return false;
    }

    bool Flush() {
        const bool written = (*out_)(buffer_);
        buffer_.clear();
        return written;
    }

    void Put(std::string_view text) {
        size_ += text.size();
        if (out_)
            buffer_ += text;
    }
    void Indent(int level) {
        size_ += static_cast<std::uint64_t>(level);
        if (out_)
            buffer_.append(static_cast<std::size_t>(level), '\t');
    }
    void Line(int level, std::string_view text) {
        Indent(level);
        Put(text);
        Put("\n");
    }
    void Text(int level, std::string_view tag, std::string_view value) {
        Indent(level);
        Put("<");
        Put(tag);
        Put(">");
        PutEscaped(value);
        Put("</");
        Put(tag);
        Put(">\n");
    }
    void PutEscaped(std::string_view value) {
        std::size_t run = 0;
        for (std::size_t i = 0; i < value.size(); ++i) {
            const char c = value[i];
            if (c != '&' && c != '<' && c != '>')
                continue;
            Put(value.substr(run, i - run));
            Put(c == '&' ? "&amp;" : c == '<' ? "&lt;" : "&gt;");
            run = i + 1;
        }
        Put(value.substr(run));
    }

    bool Node(Ref ref, int level) {
        const std::optional<PlistValue> object = plist_.At(ref, why_);
        if (!object)
            return false;
        switch (object->kind) {
        case Kind::Boolean:
            Line(level, object->integer ? "<true/>" : "<false/>");
            return true;
        case Kind::Integer:
            IntegerLine(level, object->integer, object->unsignedInteger);
            return true;
        case Kind::Real:
            Real(level, object->real);
            return true;
        case Kind::Date:
            return Date(level, object->real);
        case Kind::Data:
            Data(level, object->bytes);
            return true;
        case Kind::String:
        case Kind::Utf16String:
            if (!Utf8Text(*object, scratch_))
                return Refuse("a string " + std::string(kNoXmlText));
            Text(level, "string", scratch_);
            return true;
        case Kind::Uid: // the Mac tool writes a keyed-archive UID as a one-key dictionary
            Line(level, "<dict>");
            Text(level + 1, "key", "CF$UID");
            IntegerLine(level + 1, object->integer, true); // a UID is unsigned
            Line(level, "</dict>");
            return true;
        case Kind::Array:
        case Kind::Dict:
            return Container(*object, level);
        }
        return false;
    }

    bool Container(const PlistValue& object, int level) {
        const bool dict = object.kind == Kind::Dict;
        if (object.count == 0) {
            Line(level, dict ? "<dict/>" : "<array/>");
            return true;
        }
        if (level >= limits_.maxDepth)
            return Refuse("nested deeper than " + std::to_string(limits_.maxDepth) + " levels");
        if constexpr (kShared) {
            // Writers share strings, numbers, dates and data, never containers: a shared one could
            // expand a small file into an endless text, and one holding itself never ends.
            if (object.handle >= opened_.size() || opened_[object.handle])
                return Refuse("damaged binary property list (an array or dictionary is referenced twice)");
            opened_[object.handle] = true;
        }
        Frame<Source> frame{dict, level, 0, 0, {}, {}};
        // Every entry and key costs work, also one that is dropped or writes nothing, and memory while
        // its container is open: the entries are charged before they are read, the keys once they are.
        frame.held = object.count * (dict ? sizeof(frame.keys[0]) : sizeof(frame.items[0]));
        if (!Afford(object.count, frame.held))
            return false;
        if (!(dict ? SortedKeys(object, frame.keys) : plist_.Items(object, frame.items, why_)))
            return false;
        std::uint64_t keyBytes = 0;
        for (const auto& key : frame.keys)
            keyBytes += key.first.size();
        frame.held += keyBytes;
        if (!Afford(keyBytes, frame.held))
            return false;
        held_ += frame.held;
        Line(level, dict ? "<dict>" : "<array>");
        stack_.push_back(std::move(frame));
        return true;
    }

    // Charges `work`; true while the work and the memory the open containers and `held` take are allowed.
    bool Afford(std::uint64_t work, std::uint64_t held) {
        work_ += work;
        if (work_ > limits_.maxBytes || held_ + held > maxHeld_)
            return Refuse("its arrays and dictionaries hold more entries and keys than its size allows");
        return true;
    }

    // Keys in byte order (std::string compares as unsigned bytes, the order the Mac tool writes); of a key
    // given twice only the last stays, as a parser reading the file keeps it.
    bool SortedKeys(const PlistValue& dict, std::vector<std::pair<std::string, Ref>>& keys) {
        if (!plist_.Entries(dict, keys, why_))
            return false;
        std::stable_sort(keys.begin(), keys.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
        std::size_t kept = 0;
        for (std::size_t i = 0; i < keys.size(); ++i) {
            if (i + 1 < keys.size() && keys[i + 1].first == keys[i].first)
                continue;
            if (kept != i)
                keys[kept] = std::move(keys[i]);
            ++kept;
        }
        keys.resize(kept);
        return true;
    }

    void IntegerLine(int level, std::uint64_t pattern, bool isUnsigned) {
        char buf[32];
        if (isUnsigned)
            std::snprintf(buf, sizeof buf, "%" PRIu64, pattern);
        else
            std::snprintf(buf, sizeof buf, "%" PRId64, static_cast<std::int64_t>(pattern));
        Text(level, "integer", buf);
    }

    // 17 significant digits always read back to the same double, so XML -> XML stays stable.
    void Real(int level, double value) {
        char buf[40];
        if (std::isnan(value))
            std::snprintf(buf, sizeof buf, "nan");
        else if (std::isinf(value))
            std::snprintf(buf, sizeof buf, "%s", value < 0 ? "-infinity" : "+infinity");
        else
            std::snprintf(buf, sizeof buf, "%.17g", value);
        Text(level, "real", buf);
    }

    // Whole seconds, rounded down as the XML form is read, before 2001 too; its four-digit years only, so
    // that no date is written other than it was.
    bool Date(int level, double seconds) {
        const std::string outOfRange = "a date lies outside the years 1 to " + std::to_string(kLastYear) +
                                       ", which the XML form cannot hold";
        if (!(std::fabs(seconds) < kMaxDateSeconds)) // also not a number
            return Refuse(outOfRange);
        const auto whole = static_cast<std::int64_t>(std::floor(seconds));
        const auto t = static_cast<std::time_t>(whole + kMacEpochOffset);
        std::tm tm{};
        if (!gmtime_r(&t, &tm) || tm.tm_year + 1900 < 1 || tm.tm_year + 1900 > kLastYear)
            return Refuse(outOfRange);
        char buf[64];
        std::snprintf(buf, sizeof buf, "%04d-%02d-%02dT%02d:%02d:%02dZ", tm.tm_year + 1900, tm.tm_mon + 1,
                      tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec);
        Text(level, "date", buf);
        return true;
    }

    void Data(int level, std::string_view bytes) {
        Line(level, "<data>");
        const int indent = std::min(level, kMaxBase64Indent);
        const std::size_t width = static_cast<std::size_t>(kBase64LineWidth - kTabColumns * indent);
        const std::size_t encodedSize = (bytes.size() + 2) / 3 * 4;
        if (!out_) {
            const std::size_t lines = (encodedSize + width - 1) / width;
            size_ += encodedSize + lines * (static_cast<std::size_t>(indent) + 1);
        } else {
            const std::string encoded = fw::EncodeBase64(bytes, 0);
            for (std::size_t pos = 0; pos < encoded.size(); pos += width)
                Line(indent, std::string_view(encoded).substr(pos, width));
        }
        Line(level, "</data>");
    }

    // A source whose containers more than one reference could reach names the positions they start at.
    static constexpr bool kShared = requires(const Source& source) { source.Positions(); };

    const Source& plist_;
    const XmlLimits limits_;
    const std::uint64_t maxHeld_;
    const XmlOut* out_;
    std::vector<Frame<Source>> stack_;
    std::vector<bool> opened_; // the containers begun, by position
    std::uint64_t size_ = 0;
    std::uint64_t work_ = 0;
    std::uint64_t held_ = 0;
    std::string buffer_;
    std::string scratch_;
    std::string why_;
};

template <class Source>
bool SourceToXml(const Source& source, const XmlLimits& limits, std::uint64_t maxHeld, const XmlOut& out,
                 std::string& error) {
    // One statement each, so that the measuring pass's memory is gone before the writing pass begins.
    if (!Writer<Source>(source, limits, maxHeld, nullptr).Run(error))
        return false;
    return Writer<Source>(source, limits, maxHeld, &out).Run(error);
}

} // namespace

bool BinaryToXml(std::string_view binary, const XmlLimits& limits, const XmlOut& out, std::string& error) {
    const std::optional<BinaryPlist> plist = BinaryPlist::Open(binary, error);
    return plist && SourceToXml(*plist, limits, kHeldPerInputByte * binary.size() + kHeldSlack, out, error);
}

bool XmlToXml(std::string_view xml, const XmlLimits& limits, const XmlOut& out, std::string& error) {
    const std::optional<XmlPlist> plist = XmlPlist::Open(xml, limits.maxDepth, error);
    if (!plist)
        return false;
    const std::uint64_t held = kHeldPerInputByte * xml.size() + kHeldSlack;
    // The text was checked whole, and where it cannot outgrow the limit, measuring would only walk it twice.
    if (plist->MostXmlBytes() <= limits.maxBytes)
        return Writer<XmlPlist>(*plist, limits, held, &out).Run(error);
    return SourceToXml(*plist, limits, held, out, error);
}

} // namespace plutil

// The Mac layout: one element per line, one TAB per level, keys sorted; only & < > are escaped.
#include "tools/plutil/PlistXmlWriter.h"

#include <algorithm>
#include <cinttypes>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <memory>
#include <string_view>
#include <utility>
#include <vector>

namespace plutil {
namespace {

// libplist dates count from 2001-01-01 00:00:00 UTC.
constexpr std::int64_t kMacEpochOffset = 978307200;
// Base64 lines are 76 characters wide less 8 per level, indented at most 8 TABs, as the Mac tool lays them
// out.
constexpr int kBase64LineWidth = 76;
constexpr int kMaxBase64Indent = 8;
constexpr int kTabColumns = 8;

struct FreeDeleter {
    void operator()(char* p) const { std::free(p); }
};

class Writer {
public:
    std::string Take() { return std::move(out_); }

    void Node(plist_t node, int level) {
        switch (plist_get_node_type(node)) {
        case PLIST_DICT:
            Dict(node, level);
            break;
        case PLIST_ARRAY:
            Array(node, level);
            break;
        case PLIST_STRING:
            Text(level, "string", StringValue(node));
            break;
        case PLIST_BOOLEAN:
            Line(level, plist_bool_val_is_true(node) ? "<true/>" : "<false/>");
            break;
        case PLIST_UINT:
            Integer(node, level);
            break;
        case PLIST_REAL:
            Real(node, level);
            break;
        case PLIST_DATE:
            Date(node, level);
            break;
        case PLIST_DATA:
            Data(node, level);
            break;
        case PLIST_UID:
            Uid(node, level);
            break;
        case PLIST_KEY: // written by Dict, beside its value
        case PLIST_NONE:
            break;
        }
    }

private:
    void Indent(int level) { out_.append(static_cast<std::size_t>(level), '\t'); }

    void Line(int level, std::string_view text) {
        Indent(level);
        out_ += text;
        out_ += '\n';
    }

    void Text(int level, std::string_view tag, std::string_view value) {
        Indent(level);
        out_ += '<';
        out_ += tag;
        out_ += '>';
        AppendEscaped(value);
        out_ += "</";
        out_ += tag;
        out_ += ">\n";
    }

    void AppendEscaped(std::string_view value) {
        for (char c : value) {
            switch (c) {
            case '&':
                out_ += "&amp;";
                break;
            case '<':
                out_ += "&lt;";
                break;
            case '>':
                out_ += "&gt;";
                break;
            default:
                out_ += c;
            }
        }
    }

    static std::string_view StringValue(plist_t node) {
        std::uint64_t length = 0;
        const char* p = plist_get_string_ptr(node, &length);
        return p ? std::string_view(p, length) : std::string_view();
    }

    void Dict(plist_t node, int level) {
        std::vector<std::pair<std::string, plist_t>> items;
        plist_dict_iter iter = nullptr;
        plist_dict_new_iter(node, &iter);
        for (;;) {
            char* rawKey = nullptr;
            plist_t value = nullptr;
            plist_dict_next_item(node, iter, &rawKey, &value);
            std::unique_ptr<char, FreeDeleter> key(rawKey);
            if (!value)
                break;
            items.emplace_back(key ? key.get() : "", value);
        }
        std::free(iter);
        if (items.empty()) {
            Line(level, "<dict/>");
            return;
        }
        // std::string compares as unsigned bytes, which is the order the Mac tool writes.
        std::sort(items.begin(), items.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
        Line(level, "<dict>");
        for (const auto& [key, value] : items) {
            Text(level + 1, "key", key);
            Node(value, level + 1);
        }
        Line(level, "</dict>");
    }

    void Array(plist_t node, int level) {
        const std::uint32_t size = plist_array_get_size(node);
        if (size == 0) {
            Line(level, "<array/>");
            return;
        }
        Line(level, "<array>");
        for (std::uint32_t i = 0; i < size; ++i)
            Node(plist_array_get_item(node, i), level + 1);
        Line(level, "</array>");
    }

    // libplist keeps integers as 64-bit patterns; the Mac tool writes them signed.
    void Integer(plist_t node, int level) {
        std::uint64_t value = 0;
        plist_get_uint_val(node, &value);
        IntegerLine(level, static_cast<std::int64_t>(value));
    }

    void IntegerLine(int level, std::int64_t value) {
        char buf[32];
        std::snprintf(buf, sizeof buf, "%" PRId64, value);
        Text(level, "integer", buf);
    }

    // 17 significant digits always read back to the same double, so XML -> XML stays stable.
    void Real(plist_t node, int level) {
        double value = 0;
        plist_get_real_val(node, &value);
        char buf[40];
        if (std::isnan(value))
            std::snprintf(buf, sizeof buf, "nan");
        else if (std::isinf(value))
            std::snprintf(buf, sizeof buf, "%s", value < 0 ? "-infinity" : "+infinity");
        else
            std::snprintf(buf, sizeof buf, "%.17g", value);
        Text(level, "real", buf);
    }

    // Whole seconds: the fraction is dropped. libplist 2.2 keeps the microseconds unsigned, so a
    // fraction before 2001 has lost its sign and could not be rounded as the Mac tool rounds it.
    void Date(plist_t node, int level) {
        std::int32_t sec = 0;
        std::int32_t usec = 0;
        plist_get_date_val(node, &sec, &usec);
        const auto t = static_cast<std::time_t>(std::int64_t{sec} + kMacEpochOffset);
        std::tm tm{};
        gmtime_r(&t, &tm);
        char buf[64];
        std::snprintf(buf, sizeof buf, "%04d-%02d-%02dT%02d:%02d:%02dZ", tm.tm_year + 1900, tm.tm_mon + 1,
                      tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec);
        Text(level, "date", buf);
    }

    void Data(plist_t node, int level) {
        std::uint64_t length = 0;
        const char* bytes = plist_get_data_ptr(node, &length);
        Line(level, "<data>");
        const int indent = std::min(level, kMaxBase64Indent);
        const std::size_t width = static_cast<std::size_t>(kBase64LineWidth - kTabColumns * indent);
        const std::string encoded = Base64(reinterpret_cast<const unsigned char*>(bytes), length);
        for (std::size_t pos = 0; pos < encoded.size(); pos += width)
            Line(indent, std::string_view(encoded).substr(pos, width));
        Line(level, "</data>");
    }

    static std::string Base64(const unsigned char* bytes, std::uint64_t length) {
        static constexpr char kTable[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
        std::string out;
        out.reserve(static_cast<std::size_t>((length + 2) / 3 * 4));
        for (std::uint64_t i = 0; i < length; i += 3) {
            const std::uint64_t left = length - i;
            const std::uint32_t chunk = (std::uint32_t{bytes[i]} << 16) |
                                        (left > 1 ? std::uint32_t{bytes[i + 1]} << 8 : 0) |
                                        (left > 2 ? std::uint32_t{bytes[i + 2]} : 0);
            out += kTable[(chunk >> 18) & 0x3f];
            out += kTable[(chunk >> 12) & 0x3f];
            out += left > 1 ? kTable[(chunk >> 6) & 0x3f] : '=';
            out += left > 2 ? kTable[chunk & 0x3f] : '=';
        }
        return out;
    }

    // The Mac tool writes a keyed-archive UID as a one-key dictionary.
    void Uid(plist_t node, int level) {
        std::uint64_t value = 0;
        plist_get_uid_val(node, &value);
        Line(level, "<dict>");
        Text(level + 1, "key", "CF$UID");
        IntegerLine(level + 1, static_cast<std::int64_t>(value));
        Line(level, "</dict>");
    }

    std::string out_;
};

} // namespace

std::string PlistToXml(plist_t root) {
    Writer writer;
    std::string head = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                       "<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" "
                       "\"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n"
                       "<plist version=\"1.0\">\n";
    writer.Node(root, 0);
    return head + writer.Take() + "</plist>\n";
}

} // namespace plutil

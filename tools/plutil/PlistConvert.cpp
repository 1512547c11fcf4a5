// Read, measure, write beside, replace: the file changes only after all of that succeeded. Binary files
// are written straight from their bytes; XML files are parsed by libplist; one writer serves both.
#include "tools/plutil/PlistConvert.h"

#include "framework/files/AtomicFile.h"
#include "framework/files/FolderItem.h"
#include "tools/plutil/PlistXmlWriter.h"

#include <plist/plist.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>
#include <optional>
#include <system_error>

namespace plutil {
namespace {

struct PlistFree {
    void operator()(void* node) const { plist_free(node); }
};
using PlistPtr = std::unique_ptr<void, PlistFree>;

// The deepest nesting of <array> and <dict> in an XML text, counted before libplist parses it, since its
// parser and its tree recurse. Comments and CDATA sections are passed over; anything else that could
// hide a tag only makes the count higher, so the count never understates the depth.
int XmlNesting(std::string_view text) {
    int depth = 0;
    int deepest = 0;
    for (std::size_t at = text.find('<'); at != std::string_view::npos; at = text.find('<', at + 1)) {
        const std::string_view rest = text.substr(at + 1);
        const auto skipTo = [&](std::string_view end) {
            const std::size_t found = text.find(end, at);
            at = found == std::string_view::npos ? text.size() : found;
        };
        if (rest.starts_with("!--")) {
            skipTo("-->");
        } else if (rest.starts_with("![CDATA[")) {
            skipTo("]]>");
        } else if (rest.starts_with("/array") || rest.starts_with("/dict")) {
            depth = std::max(depth - 1, 0);
        } else if (rest.starts_with("array") || rest.starts_with("dict")) {
            const std::size_t close = rest.find('>');
            if (close == std::string_view::npos || close == 0 || rest[close - 1] != '/')
                deepest = std::max(deepest, ++depth);
        }
        if (at >= text.size())
            break;
    }
    return deepest;
}

// The XML text goes to a temporary file beside the target only from its first byte that differs from the
// file: a file already in this form is left as it is (its folder may well be read-only).
class ReplacingOutput {
public:
    ReplacingOutput(const std::string& path, std::string_view original) : path_(path), original_(original) {}

    bool Write(std::string_view piece) {
        if (!writer_) {
            if (piece.size() <= original_.size() - same_ && original_.substr(same_, piece.size()) == piece) {
                same_ += piece.size();
                return true;
            }
            if (!StartWriting())
                return false;
        }
        return writer_->Write(piece);
    }

    bool Finish(std::string& error) {
        if (!writer_ && same_ == original_.size())
            return true;
        const bool done = (writer_ || StartWriting()) && writer_->Commit();
        if (!done)
            error = writer_->Error();
        return done;
    }

    std::string Error() const { return writer_ ? writer_->Error() : std::string(); }

private:
    bool StartWriting() {
        writer_.emplace(fw::FolderItem(path_));
        return writer_->Write(original_.substr(0, same_));
    }

    std::string path_;
    std::string_view original_;
    std::size_t same_ = 0;
    std::optional<fw::AtomicWriter> writer_;
};

std::string ReadError(int code) {
    switch (code) {
    case EINVAL:
        return "not a regular file";
    case EFBIG:
        return "larger than " + std::to_string(kMaxInputBytes) + " bytes";
    default:
        return "cannot read the file: " + std::generic_category().message(code);
    }
}

// An XML property list parsed by libplist; nothing, with the reason, when it cannot be parsed.
PlistPtr ParseXml(const std::string& text, std::string& error) {
    if (XmlNesting(text) > kMaxDepth) {
        error = "nested deeper than " + std::to_string(kMaxDepth) + " levels";
        return nullptr;
    }
    plist_t raw = nullptr;
    plist_from_xml(text.data(), static_cast<std::uint32_t>(text.size()), &raw);
    if (!raw)
        error = "not a property list, or a damaged one";
    return PlistPtr(raw);
}

ConvertResult Failure(const std::string& path, const std::string& why) {
    return {false, path + ": " + why};
}

} // namespace

ConvertResult ConvertToXml(const std::string& path) {
    const fw::FolderItem file(path);
    const std::optional<std::string> bytes = file.ReadAll(kMaxInputBytes);
    if (!bytes)
        return Failure(path, ReadError(file.LastErrorCode()));

    std::string error;
    PlistPtr tree;
    const bool binary = std::string_view(*bytes).starts_with("bplist");
    if (!binary && !(tree = ParseXml(*bytes, error)))
        return Failure(path, error);

    const XmlLimits limits{std::min(kMaxExpansion * bytes->size(), kMaxOutputBytes), kMaxDepth};
    ReplacingOutput output(path, *bytes);
    const XmlOut out = [&output](std::string_view piece) { return output.Write(piece); };
    if (!(binary ? BinaryToXml(*bytes, limits, out, error) : TreeToXml(tree.get(), limits, out, error)))
        return Failure(path, output.Error().empty() ? error : output.Error());
    if (!output.Finish(error))
        return Failure(path, error);
    return {true, {}};
}

} // namespace plutil

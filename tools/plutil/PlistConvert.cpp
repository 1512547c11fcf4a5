// Read, measure, write beside, replace: the file changes only after all of that succeeded. Binary files
// are written straight from their bytes, XML files from their text in UTF-8; one writer serves both.
#include "tools/plutil/PlistConvert.h"

#include "framework/files/AtomicFile.h"
#include "framework/files/FolderItem.h"
#include "tools/plutil/PlistXmlWriter.h"
#include "tools/plutil/XmlText.h"

#include <algorithm>
#include <cerrno>
#include <optional>
#include <system_error>

namespace plutil {
namespace {

// The XML text goes to a temporary file beside the target only from its first byte that differs from the
// file: a file already in this form is left as it is (its folder may well be read-only).
class ReplacingOutput {
public:
    ReplacingOutput(const std::string& path, std::string_view original, const fw::FileStamp& read)
        : path_(path), original_(original), read_(read) {}

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
            error = writer_->TargetChanged() ? "changed by another program meanwhile; left as it was saved"
                                             : writer_->Error();
        return done;
    }

    std::string Error() const { return writer_ ? writer_->Error() : std::string(); }

private:
    bool StartWriting() {
        writer_.emplace(fw::FolderItem(path_));
        // A browser saves by renaming a new file over this one: such a save during the conversion wins.
        writer_->ReplaceOnlyIf(read_);
        return writer_->Write(original_.substr(0, same_));
    }

    std::string path_;
    std::string_view original_;
    fw::FileStamp read_;
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

ConvertResult Failure(const std::string& path, const std::string& why) {
    return {false, path + ": " + why};
}

} // namespace

ConvertResult ConvertToXml(const std::string& path) {
    const fw::FolderItem file(path);
    fw::FileStamp read;
    const std::optional<std::string> bytes = file.ReadAll(kMaxInputBytes, &read);
    if (!bytes)
        return Failure(path, ReadError(file.LastErrorCode()));

    std::string error;
    std::string converted;
    std::string_view xml;
    const bool binary = std::string_view(*bytes).starts_with("bplist");
    if (!binary && !XmlUtf8Text(*bytes, converted, xml, error))
        return Failure(path, error);

    const XmlLimits limits{std::min(kMaxExpansion * bytes->size(), kMaxOutputBytes), kMaxDepth};
    ReplacingOutput output(path, *bytes, read);
    const XmlOut out = [&output](std::string_view piece) { return output.Write(piece); };
    if (!(binary ? BinaryToXml(*bytes, limits, out, error) : XmlToXml(xml, limits, out, error)))
        return Failure(path, output.Error().empty() ? error : output.Error());
    if (!output.Finish(error))
        return Failure(path, error);
    return {true, {}};
}

} // namespace plutil

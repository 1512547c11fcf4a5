// Replacing a file's content so that it is never seen empty, partial or missing: the new bytes go to a
// temporary file beside it, which is renamed over it only when complete. A symbolic link is followed
// (its target is replaced, the link stays), and the replaced file keeps its mode and owner. A file its
// owner made read-only is not replaced, and temporary files that a killed writer left are removed.
#pragma once

#include "framework/files/FolderItem.h"

#include <optional>
#include <string>
#include <string_view>
#include <sys/types.h>

namespace fw {

class AtomicWriter {
public:
    // newFileMode applies when the target does not exist yet (less the umask).
    explicit AtomicWriter(const FolderItem& target, mode_t newFileMode = 0666);
    // Removes the temporary file unless Commit succeeded.
    ~AtomicWriter();
    AtomicWriter(const AtomicWriter&) = delete;
    AtomicWriter& operator=(const AtomicWriter&) = delete;

    // Gives the new file exactly this mode, whatever the replaced file's was.
    bool SetMode(mode_t mode);
    bool Write(std::string_view bytes);
    // Commit then replaces the target only while it is still the version `read` describes, so that
    // another program's save since the read is never written over.
    void ReplaceOnlyIf(const FileStamp& read) { expected_ = read; }
    // Syncs the temporary file and renames it over the target.
    bool Commit();
    // True when Commit failed because the target was no longer the version read.
    bool TargetChanged() const { return changed_; }
    // Why the last step failed, and its errno; empty and 0 while all went well.
    const std::string& Error() const { return error_; }
    int ErrorCode() const { return errorCode_; }

private:
    bool Fail(const std::string& what, int code = errno);
    void Discard();

    std::string target_;
    std::string temp_;
    int fd_ = -1;
    std::optional<FileStamp> expected_;
    bool changed_ = false;
    std::string error_;
    int errorCode_ = 0;
};

bool WriteFileAtomically(const FolderItem& target, std::string_view bytes, std::string* error);

} // namespace fw

#include "framework/files/FileIdentity.h"

#include <sys/stat.h>

namespace fw {

bool SameFile(const FolderItem& a, const FolderItem& b) {
    struct stat first {}, second {};
    return ::stat(a.PosixPath().c_str(), &first) == 0 && ::stat(b.PosixPath().c_str(), &second) == 0 &&
           first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

bool IsRegularFile(const FolderItem& item) {
    struct stat info {};
    return ::stat(item.PosixPath().c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

} // namespace fw

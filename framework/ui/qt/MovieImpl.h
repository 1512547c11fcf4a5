// Inside the framework only: a movie's sound and the file a player program reads it from.
#pragma once

#include "framework/ui/graphics/Movie.h"

#include <QByteArray>
#include <QTemporaryFile>
#include <memory>

namespace fw {

struct Movie::Impl {
    QByteArray sound; // WAV bytes
    // Written on the first play that needs a file, kept while the movie lives.
    std::unique_ptr<QTemporaryFile> file;
};

} // namespace fw

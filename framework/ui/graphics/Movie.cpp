#include "framework/ui/graphics/Movie.h"

#include "framework/ui/qt/MovieImpl.h"

#include <QFile>

namespace fw {

Movie::Movie() : impl_(std::make_unique<Impl>()) {}

Movie::~Movie() = default;

std::unique_ptr<Movie> Movie::FromResource(int id) {
    QFile resource(QStringLiteral(":/movies/%1.wav").arg(id));
    if (!resource.open(QIODevice::ReadOnly))
        return nullptr;
    std::unique_ptr<Movie> movie(new Movie());
    movie->impl_->sound = resource.readAll();
    return movie;
}

} // namespace fw

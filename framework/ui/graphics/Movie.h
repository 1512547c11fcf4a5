// A movie: a short sound loaded from the program's resources by id.
#pragma once

#include <memory>

namespace fw {

class Movie {
public:
    ~Movie();
    Movie(const Movie&) = delete;
    Movie& operator=(const Movie&) = delete;

    // The movie resource `id`, or nullptr when the program has none.
    static std::unique_ptr<Movie> FromResource(int id);

    struct Impl;
    Impl& impl() const { return *impl_; }

private:
    Movie();
    std::unique_ptr<Impl> impl_;
};

} // namespace fw

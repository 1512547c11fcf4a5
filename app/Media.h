// The project's pictures and movie, loaded once each on first use and kept for the run.
#pragma once

namespace quillfen::Media {
// Releases every cached picture and the movie (shut-down).
void Release();
} // namespace quillfen::Media

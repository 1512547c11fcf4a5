// The project's pictures and movie, loaded once each on first use and kept for the run.
#pragma once

namespace fw {
class Movie;
class Picture;
} // namespace fw

namespace quillfen {

// Each returns its cached picture, loading it on the first call; nullptr when the program lacks it.
fw::Picture* deletepic();
fw::Picture* flamesp();
fw::Picture* tervaskloggatransp75px();
fw::Picture* junk2();
fw::Picture* magnifyer();
fw::Picture* flamespAlphaChannel();
fw::Picture* quillfen1();
fw::Picture* logomask75();
fw::Picture* logo75();
// The chime played when a scan, a delete or an apply ends.
fw::Movie* Glass();

namespace Media {
// Releases every cached picture and the movie (shut-down).
void Release();
} // namespace Media

} // namespace quillfen

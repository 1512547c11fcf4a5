#include "app/Media.h"

#include "framework/ui/graphics/Movie.h"
#include "framework/ui/graphics/Picture.h"

#include <functional>
#include <map>
#include <memory>

namespace quillfen {
namespace {

std::map<int, std::unique_ptr<fw::Picture>> g_pictures;
std::unique_ptr<fw::Movie> g_glass;

// The picture of `id`, loaded and given its first-load treatment only when the cache is empty.
fw::Picture* Cached(int id, const std::function<void(fw::Picture&)>& firstLoad = {}) {
    std::unique_ptr<fw::Picture>& cache = g_pictures[id];
    if (!cache) {
        cache = fw::Picture::FromResource(id);
        if (cache && firstLoad)
            firstLoad(*cache);
    }
    return cache.get();
}

void SeeThrough(fw::Picture& picture) { picture.SetTransparent(1); }

} // namespace

fw::Picture* deletepic() { return Cached(168); }

fw::Picture* flamesp() {
    return Cached(170, [](fw::Picture& picture) {
        if (fw::Picture* alpha = flamespAlphaChannel())
            picture.Mask().DrawPicture(*alpha, 0, 0);
    });
}

fw::Picture* tervaskloggatransp75px() { return Cached(172); }
fw::Picture* junk2() { return Cached(173, SeeThrough); }
fw::Picture* magnifyer() { return Cached(174, SeeThrough); }
fw::Picture* flamespAlphaChannel() { return Cached(175); }
fw::Picture* quillfen1() { return Cached(176, SeeThrough); }
fw::Picture* logomask75() { return Cached(180); }
fw::Picture* logo75() { return Cached(181); }

fw::Movie* Glass() {
    if (!g_glass)
        g_glass = fw::Movie::FromResource(168);
    return g_glass.get();
}

void Media::Release() {
    g_pictures.clear();
    g_glass.reset();
}

} // namespace quillfen

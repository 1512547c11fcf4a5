// A movie player: plays its movie's sound once per Play, never waiting for it and never failing.
#pragma once

#include "framework/ui/VisualControl.h"

namespace fw {

class Movie;

class MoviePlayer : public VisualControl {
public:
    MoviePlayer(const ControlLayout& layout, void* parent);

    // The player does not own the movie; it must outlive the player's plays.
    void SetMovie(Movie* movie) { movie_ = movie; }
    // Starts the sound and returns at once. Where the machine has no way to play sound, nothing is heard.
    void Play();
    // How many times Play was called with a movie set.
    int PlayCount() const { return playCount_; }

private:
    Movie* movie_ = nullptr;
    int playCount_ = 0;
};

} // namespace fw

// The short sound played when a friend arrives.
#pragma once

class Chime {
public:
    virtual ~Chime() = default;
    // Starts the sound and returns at once; plays nothing where there is no audio.
    virtual void play() = 0;
};

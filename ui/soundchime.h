// The chime from the program's resources, played through Qt Multimedia.
#pragma once

#include "presence/chime.h"

#include <memory>

class QSoundEffect;

class SoundChime : public Chime {
public:
    SoundChime();
    ~SoundChime() override;
    void play() override;

private:
    // Made at the first arrival, so start-up does not wait for the audio system.
    std::unique_ptr<QSoundEffect> effect_;
};

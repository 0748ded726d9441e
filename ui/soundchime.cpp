#include "ui/soundchime.h"

#include <QSoundEffect>
#include <QUrl>

using namespace Qt::StringLiterals;

SoundChime::SoundChime() = default;
SoundChime::~SoundChime() = default;

void SoundChime::play() {
    if (!effect_) {
        effect_ = std::make_unique<QSoundEffect>();
        effect_->setSource(QUrl(u"qrc:/chime.wav"_s));
    }
    // A sound still loading plays as soon as it is ready.
    effect_->play();
}

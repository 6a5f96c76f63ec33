#pragma once
// Sound device check over Qt Multimedia's list of audio outputs.

#include "core/Services.h"

class QtSoundDevice : public SoundDeviceService
{
public:
    bool hasAudioOutput() override;
};

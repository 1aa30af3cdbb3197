// Playing sounds from the engine and above by name: sound events of "sound.ini" (effects,
// gameplay) and sound files (the menus' click and hover sounds). Both go through the
// process-wide audio manager (COggManager) and play nothing when the name is unknown, the
// file does not load or the application has no sound.
#pragma once

#include <string>

// Plays the sound event once: the event's file chosen at random, at the event's volume.
// False when nothing was played (unknown event - which logs a warning - or unloadable file).
bool PlaySoundEventOnce(const std::string& eventName);
// Plays a sound file by its registered name (for example "Sound\click.ogg"), registering it on
// first use. False when nothing was played.
bool PlaySoundFileOnce(const std::string& fileName);

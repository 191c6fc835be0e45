#ifndef ORVALLE_MIDI_PATCHES_H
#define ORVALLE_MIDI_PATCHES_H

// Points Allegro's DIGMID synthesizer at the patch index shipped beside the game's data (made by
// tools/setup-sound.sh for Debian's freepats patches), so the music sounds without any set-up.
// The player's own Allegro configuration wins: when it names a patch set, the index is not used.
// Nor is it when the patches it lists are not installed. The setting is kept in memory, so no
// configuration file is ever written. Call it after allegro_init() and before install_sound().
// Returns whether the index is used.
bool useShippedPatches(const char* index);

#endif

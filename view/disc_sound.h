// The click of a disc: the sound file beside the executable, played
// asynchronously; a missing or unplayable file stays silent. Windows code.
#pragma once

// The sound file's path, set once by the shell at start-up before the first
// move is played; the text is copied.
void SetDiscSoundFile(const wchar_t* path);
void PlayDiscSound();
// Stops any sound this program is playing.
void StopDiscSound();

// The click of a disc: the sound file beside the executable, played
// asynchronously; a missing or unplayable file stays silent. Windows code.
#pragma once

void PlayDiscSound();
// Stops any sound this program is playing.
void StopDiscSound();

#include "view/disc_sound.h"

#include <windows.h>
#include <mmsystem.h>

#include "app/main_window.h"

void PlayDiscSound() { PlaySoundW(ShellFiles().sound, nullptr, SND_ASYNC | SND_NODEFAULT | SND_FILENAME); }

void StopDiscSound() { PlaySoundW(nullptr, nullptr, 0); }

#include "view/disc_sound.h"

#include <windows.h>
#include <mmsystem.h>

#include <cwchar>

namespace {

wchar_t soundFile[MAX_PATH] = L"";

}  // namespace

void SetDiscSoundFile(const wchar_t* path) { std::wcsncpy(soundFile, path, MAX_PATH - 1); }

void PlayDiscSound() { PlaySoundW(soundFile, nullptr, SND_ASYNC | SND_NODEFAULT | SND_FILENAME); }

void StopDiscSound() { PlaySoundW(nullptr, nullptr, 0); }

#include "app/later_parts.h"

void StartBookMoveSearch(HWND) {}

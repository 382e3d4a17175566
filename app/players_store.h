// The players kept in the registry for later runs. Windows code.
#pragma once

// Start-up: each colour's kind in the session from the "Player" key; a value
// that is missing or unusable reads as a person and -1 is written back.
void ReadPlayers();
// The Players dialog's save button: both kinds of the session, for later runs.
void StorePlayers();

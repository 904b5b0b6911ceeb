#pragma once

#include "store/EngineSettings.h"

// Opens the register on the server Kelto.ini names. While the server cannot be reached (or refuses
// the database), a box names it with the reason and offers to try again or to exit; the program
// never falls back to the local file, which would split the register. True once open.
bool openServerAtStart(const EngineSettings::Choice &server);

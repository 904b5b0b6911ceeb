#pragma once

#include <functional>

// Runs the action from inside the application's event loop, as a click of the user's runs, and
// tells whether it ended the program: whether the loop was told to return before the action
// returned. Modal boxes the action opens must be answered (ModalDriver); after the bound the
// loop is ended anyway and the answer is false.
bool endsProgram(const std::function<void()> &action, int boundMs = 60000);

#pragma once

#include <functional>

// Ends the program at once, running no close handling of other windows. Tests may replace it.
void EndProgram();
void SetEndProgramHandler(std::function<void()> handler);

// True once EndProgram ran: a start-up that ends during the load shows no window.
bool ProgramEndRequested();

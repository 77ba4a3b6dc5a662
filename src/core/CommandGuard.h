#pragma once

#include <functional>

class Prompter;

// Runs one command; an error it raises ends the command and is shown in the standard
// error box (the program's title as caption). Returns false when the command failed.
bool runGuarded(Prompter& prompter, const std::function<void()>& command);

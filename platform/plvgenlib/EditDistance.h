#pragma once
// How far a typed name is from a known one, for the "did you mean" of forms and commands.
#include <string>

// Edits (insert, delete, change a character) from one text to the other, letters in any case.
size_t EditDistance(std::string a, std::string b);

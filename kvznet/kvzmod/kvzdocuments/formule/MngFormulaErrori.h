#pragma once
// What the formula engine's files share about errors.
#include <exception>

// Shows a database error of the engine (any other exception is asserted and shown alike).
void MostraErroreSql(const std::exception& e, const char* method, const char* file = "MngFormula");

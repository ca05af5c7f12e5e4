#pragma once
// Rounding as the framework does it: decimal, robust to binary representation
// (1.005 at 2 decimals is 1.01, not 1.00).

namespace FormatHelpers {

enum RoundingMode
{
	ROUND_DOWN = 0,       // toward zero, to the quantum below
	ROUND_NEAREST = 1,    // to the nearest quantum, halves away from zero
	ROUND_UP = 2,         // away from zero, to the quantum above
	ROUND_HALF_EVEN = 3,  // to the nearest quantum, halves to the even one
};

// Rounds to a multiple of the quantum (0.01 cents, 1 units, 100 hundreds) with the mode.
double Round(double value, double quantum, int mode = ROUND_NEAREST);

// Rounds half away from zero at the given number of decimals; negative decimals round
// to tens, hundreds, ...
double RoundDecimals(double value, int decimals);

}  // namespace FormatHelpers

#pragma once
// General functions of the components library: the level of a grouped-account code in the
// segment layout of the module parameters, the text of a sum (or average) over the codes of a
// symbol's range, and the rounding of money values.
#include "kvznet/kvzmod/kvzdbl/Kvz_TParametri.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TSimboliCodiciExtracont.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TSimboliCodiciRiclass.h"
#include "platform/plvgeneric/FunctionWrappers.h"
#include "platform/plvgenlib/LibraryEntry.h"

// The framework's rounding enumeration: item 0 no rounding, 1 half to even, 2 up (away from
// zero), 3 to the nearest, 4 down (toward zero).
enum : WORD
{
	E_TIPOARROTONDAMENTO = 12,
};

// The level of a code: 0 when empty, else 1 to 8 by the cumulated segment ends the code's
// length reaches. The first end compared is LenMastro + LenSeg1; a segment of length 0 or less
// restarts the running sum at 0.
int Kvz_LivelloConto(const DataStr& aCodice, const Kvz_TParametri& aParametri);

// The level of a code with the layout of the parameters row on the default session; an empty
// code (or none) reads nothing.
DataInt Kvz_GetNrLivelloConto(DataStr* pCodice);

// "(C1)+(C2)+..." over the reclassified codes of the symbol's model and year between
// ValoreCodice and ValoreCodiceA (an empty end takes the other's value, written back into the
// symbol); for the average "((C1)+(C2)) / 2". No code in the range gives "".
DataStr ComponiMacroDelSimbolo(Kvz_TSimboliCodiciRiclass& aSimbolo);
// The same over the extra-accounting codes of the symbol's year.
DataStr ComponiMacroDelSimbolo(Kvz_TSimboliCodiciExtracont& aSimbolo);

// Rounds the absolute value to the decimals (negative: tens, hundreds ...) with the mode
// (tag E_TIPOARROTONDAMENTO) and gives the sign back; an empty value or mode item 0 gives the
// value unchanged.
DataMon ArrotondaValore(const DataMon& aValore, const DataInt& aDecimali, const DataEnum& aTipoArrotondamento);

// Exported to reports: the level of the code, computed on the thread that owns the window. The
// caller's string is freed and replaced by a new one with the same text.
PLV_EXPORT int __Kvz_GetNrLivelloConto(HWND hWnd, BSTR* pCodice);

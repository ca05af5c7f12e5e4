#pragma once
// One line of the fixed-width file of extra-accounting codes. Columns are characters (not
// bytes) counted from 0; a field past the end of a short line is empty or cut short:
//   0-3 year, 4-29 code, 30-93 description, 94-95 month, 96-145 formula, 146-147 formula slot
// (0 the main formula, 1 to 10 the further ones; empty reads 0).
#include "platform/mfc/CString.h"

namespace kvzbatch {

struct RigaCodExtracont
{
	int esercizio = 0;
	CString codice;
	CString descrizione;
	int mese = 0;
	CString formula;  // empty clears the slot
	int colonna = 0;
};

// The longest line read: the fields end at character 148.
inline constexpr unsigned kMaxCaratteriRiga = 1023;

// Reads a line into riga; empty when it is sound, else why it is refused (an empty code, a
// control character in a field, a non-numeric year, month or slot, a month outside 1..12, a
// slot outside 0..10).
CString LeggiRigaCodExtracont(const CString& line, RigaCodExtracont& riga);
// A line of blanks only: nothing to import and nothing to refuse.
bool RigaVuota(const CString& line);

}  // namespace kvzbatch

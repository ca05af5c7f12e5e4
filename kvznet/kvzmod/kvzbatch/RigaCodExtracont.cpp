#include "kvznet/kvzmod/kvzbatch/RigaCodExtracont.h"

#include <optional>

#include "platform/plvgeneric/TypedInput.h"

namespace kvzbatch {
namespace {

CString Campo(const CString& line, int first, int count)
{
	CString s = line.MidChars(first, count);
	s.Trim();
	return s;
}

// An optional sign and digits only; nullopt for anything else. Bounded, so that a long run of
// digits cannot overflow: it reads as a value out of every range.
std::optional<int> Numero(const CString& text)
{
	const std::string& s = text.str();
	size_t i = 0;
	bool bNeg = false;
	if (!s.empty() && (s[0] == '-' || s[0] == '+'))
		bNeg = s[i++] == '-';
	if (i == s.size())
		return std::nullopt;
	int n = 0;
	for (; i < s.size(); ++i)
	{
		if (s[i] < '0' || s[i] > '9')
			return std::nullopt;
		n = n > 99999 ? n : n * 10 + (s[i] - '0');
	}
	return bNeg ? -n : n;
}

}  // namespace

bool RigaVuota(const CString& line)
{
	CString s = line;
	return s.Trim().IsEmpty();
}

CString LeggiRigaCodExtracont(const CString& line, RigaCodExtracont& riga)
{
	const CString anno = Campo(line, 0, 4);
	riga.codice = Campo(line, 4, 26);
	riga.descrizione = Campo(line, 30, 64);
	const CString mese = Campo(line, 94, 2);
	riga.formula = Campo(line, 96, 50);
	const CString colonna = Campo(line, 146, 2);

	if (riga.codice.IsEmpty())
		return "codice vuoto";
	// A control character is no part of a code, and only a tab may stand in a description.
	if (typed_input::HasControlChars(riga.codice.str(), false))
		return "codice con caratteri di controllo";
	if (typed_input::HasControlChars(riga.descrizione.str(), true))
		return "descrizione con caratteri di controllo";
	if (typed_input::HasControlChars(riga.formula.str(), false))
		return "formula con caratteri di controllo";
	const std::optional<int> nAnno = Numero(anno);
	if (!nAnno)
		return CString::Formatted("esercizio \"%s\" non numerico", anno.GetString());
	// Years a company's books can have.
	if (*nAnno < 1900 || *nAnno > 9999)
		return CString::Formatted("esercizio %d non valido", *nAnno);
	riga.esercizio = *nAnno;
	const std::optional<int> nMese = Numero(mese);
	if (!nMese)
		return CString::Formatted("mese \"%s\" non numerico", mese.GetString());
	if (*nMese < 1 || *nMese > 12)
		return CString::Formatted("mese %d fuori dall'intervallo 1..12", *nMese);
	riga.mese = *nMese;
	const std::optional<int> nColonna = colonna.IsEmpty() ? std::optional<int>(0) : Numero(colonna);
	if (!nColonna)
		return CString::Formatted("colonna della formula \"%s\" non numerica", colonna.GetString());
	if (*nColonna < 0 || *nColonna > 10)
		return CString::Formatted("colonna della formula %d fuori dall'intervallo 0..10", *nColonna);
	riga.colonna = *nColonna;
	return CString();
}

}  // namespace kvzbatch

#pragma once
// A reclassified code with a progressive (a dividend and a divisor combined by a sign): its
// value over a range is computed from its operands' values over that same range, never the sum
// of its own months (twelve monthly ratios do not add up to the year's ratio). Each report
// computes it for its own months, kind of data and column; nothing is stored.
#include <functional>
#include <map>
#include <set>

#include "platform/mfc/CString.h"
#include "platform/plvgeneric/DataObj.h"

namespace kvzdocuments {

struct ProgressivoCodice
{
	CString segno, dividendo, divisore;

	bool IsDefinito() const { return !dividendo.IsEmpty() && !divisore.IsEmpty(); }
	// Its figures are quotients: any sign other than "+", "-", "*" divides.
	bool IsRapporto() const { return IsDefinito() && segno != "+" && segno != "-" && segno != "*"; }
};

class ProgressiviCalcolati
{
public:
	// valore: a code's own value over the range, as the report shows it without a progressive.
	ProgressiviCalcolati(const std::map<CString, ProgressivoCodice>& codici, std::function<double(const CString&)> valore)
		: m_Codici(codici), m_Valore(std::move(valore))
	{
	}

	// The code's progressive: zero when it has none or when either operand is zero. An operand
	// that has a progressive of its own takes it.
	double Progressivo(const CString& codice)
	{
		if (auto it = m_Fatti.find(codice); it != m_Fatti.end())
			return it->second;
		auto it = m_Codici.find(codice);
		if (it == m_Codici.end() || !it->second.IsDefinito() || !m_InCorso.insert(codice).second)
			return 0;
		const ProgressivoCodice& p = it->second;
		const double d = Valore(p.dividendo);
		const double s = Valore(p.divisore);
		m_InCorso.erase(codice);
		double r = 0;
		if (!IsZero(d) && !IsZero(s))
			r = p.segno == "+" ? d + s : p.segno == "-" ? d - s : p.segno == "*" ? d * s : d / s;
		return m_Fatti[codice] = r;
	}

	// What the code stands for over the range: its progressive when not zero, else its own value.
	double Valore(const CString& codice)
	{
		if (codice.IsEmpty())
			return 0;
		const double p = Progressivo(codice);
		return IsZero(p) ? m_Valore(codice) : p;
	}

	bool IsRapporto(const CString& codice) const
	{
		auto it = m_Codici.find(codice);
		return it != m_Codici.end() && it->second.IsRapporto();
	}

	static bool IsZero(double v) { return v < GetMonEpsilon() && v > -GetMonEpsilon(); }

private:
	const std::map<CString, ProgressivoCodice>& m_Codici;
	std::function<double(const CString&)> m_Valore;
	std::map<CString, double> m_Fatti;
	std::set<CString> m_InCorso;
};

}  // namespace kvzdocuments

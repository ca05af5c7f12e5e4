#pragma once
// The engine's prepared queries (shared by the engine's files).
#include <functional>
#include <memory>

#include "kvznet/kvzmod/kvzdocuments/formule/MngFormula.h"
#include "platform/plvoledb/SqlTable.h"

// One prepared query: the row record it is defined on and the values it reads.
struct Kvz_New_Cursore
{
	std::unique_ptr<SqlRecord> pRec;
	std::unique_ptr<SqlTable> pTable;
	DataInt mese;
	DataDbl valori[3];
	DataLng mastro;
	bool bMastro = false;
};

// Rows read in month order and aggregated per month here (another company's rows): the
// running amount, the rows counted and the month being gathered; each month's result goes
// to the flush when the month changes and at the end.
class Kvz_New_AggregatoMese
{
public:
	// aggreg: 0 sum, 1 average, 2 count, 3 maximum, 4 minimum, 5 the month's last row.
	Kvz_New_AggregatoMese(int aggreg, std::function<void(int mese, double valore)> flush)
		: m_Aggreg(aggreg), m_Flush(std::move(flush))
	{
	}
	void Riga(int mese, double v)
	{
		if (mese != m_Mese)
		{
			Chiudi();
			m_Mese = mese;
		}
		switch (m_Aggreg)
		{
		case 0:
		case 1: m_Valore += v; break;
		// Maximum and minimum start from the month's first row, as the database's do.
		case 3: m_Valore = m_Righe == 0 || v > m_Valore ? v : m_Valore; break;
		case 4: m_Valore = m_Righe == 0 || v < m_Valore ? v : m_Valore; break;
		case 5: m_Valore = v; break;
		default: break;
		}
		++m_Righe;
	}
	void Chiudi()
	{
		if (m_Righe > 0 && m_Mese >= 1 && m_Mese <= 12)
			m_Flush(m_Mese, m_Aggreg == 1 ? m_Valore / m_Righe : m_Aggreg == 2 ? m_Righe : m_Valore);
		m_Valore = 0;
		m_Righe = 0;
	}

private:
	int m_Aggreg;
	std::function<void(int, double)> m_Flush;
	double m_Valore = 0;
	int m_Righe = 0;
	int m_Mese = -1;
};

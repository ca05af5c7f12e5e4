#include "kvznet/kvzdrivers/kvzdriversdbl/TKvzDriversIncrementi.h"

#include "kvznet/kvzdrivers/kvzdriversdbl/MonthColumns.h"

namespace {
const char* const kSource = "TKvzDriversIncrementi";
}

TKvzDriversIncrementi::TKvzDriversIncrementi(BOOL bCallInit) : SqlRecord(GetStaticName(), nullptr, TABLE_TYPE, FALSE)
{
	f_ModelloDrivers.SetUpperCase(TRUE);
	f_ModelloRiclassificInter.SetUpperCase(TRUE);
	f_CodRiclassificCosto.SetUpperCase(TRUE);
	BindRecord();
	if (bCallInit)
		Init();
}

void TKvzDriversIncrementi::BindRecord()
{
	RecordBinder b(*this);
	b.Key("Esercizio", f_Esercizio);
	b.Key("ModelloDrivers", f_ModelloDrivers);
	b.Key("Ditta", f_Ditta);
	b.Key("ModelloRiclassificInter", f_ModelloRiclassificInter);
	b.Key("CodRiclassificCosto", f_CodRiclassificCosto);
	kvzdrivers::BindMonths(b, "Incr", f_Incr);
	const CString local = CString::Formatted("l_%s", "Descrizione");
	BIND_LOCAL_STR(b, local, l_DescrizioneModello, 64);
	BIND_LOCAL_STR(b, local, l_DescrizioneCosto, 64);
	b.End();
}

// ---- reader ------------------------------------------------------------------------------------

Kvz_TRDriversIncrementi::Kvz_TRDriversIncrementi(CBaseDocument* pDocument)
	: KeyedReader(TKvzDriversIncrementi::GetThisClass(), pDocument)
{
	m_Keys.Add(_T("p5"), _T("Esercizio"), m_Esercizio, false);
	m_Keys.Add(_T("p2"), _T("Ditta"), m_Ditta, false);
	m_Keys.Add(_T("p1"), _T("ModelloDrivers"), m_ModelloDrivers, false);
	m_Keys.Add(_T("p3"), _T("ModelloRiclassificInter"), m_ModelloRiclassificInter);
	m_Keys.Add(_T("p4"), _T("CodRiclassificCosto"), m_CodRiclassificCosto);
}

TableReader::FindResult Kvz_TRDriversIncrementi::FindRecord(const DataInt& aEsercizio, const DataStr& aDitta,
															const DataStr& aModelloDrivers,
															const DataStr& aModelloRiclassificInter,
															const DataStr& aCodRiclassificCosto)
{
	m_Esercizio = aEsercizio;
	m_Ditta = aDitta;
	m_ModelloDrivers = aModelloDrivers;
	m_ModelloRiclassificInter = aModelloRiclassificInter;
	m_CodRiclassificCosto = aCodRiclassificCosto;
	return TableReader::FindRecord();
}

TKvzDriversIncrementi* Kvz_TRDriversIncrementi::GetRecord() const
{
	return TypedRecord<TKvzDriversIncrementi>("m_pRecord->IsKindOf((TKvzDriversIncrementi::GetThisClass()))",
											  "Kvz_TRDriversIncrementi::GetRecord", kSource);
}

#include "kvznet/kvzmod/kvzdbl/Kvz_TRiclassificato.h"

namespace {
const char* const kSource = "Kvz_TRiclassificato";

// The first 37 columns, common to both records of the table.
template <class Rec>
void BindCommonColumns(RecordBinder& b, Rec& r)
{
	b.Col("Esercizio", r.f_Esercizio);
	b.Col("Mese", r.f_Mese);
	b.Col("ModelloRiclassific", r.f_ModelloRiclassific);
	b.Col("CodRiclassificato", r.f_CodRiclassificato);
	b.Col("TipoDatoPianoBase", r.f_TipoDatoPianoBase);
	b.Col("Posizione", r.f_Posizione);
	b.Col("Descrizione", r.f_Descrizione);
	b.Col("Valore", r.f_Valore);
	b.Col("ValoreBudgetA", r.f_ValoreBudgetA);
	b.Col("ValoreBudgetB", r.f_ValoreBudgetB);
	b.Col("ValoreBudgetC", r.f_ValoreBudgetC);
	b.Col("TotaleRiportato", r.f_TotaleRiportato);
	b.Col("TipoRiga", r.f_TipoRiga);
	b.Col("Valore1", r.f_Valore1);
	b.Col("Valore2", r.f_Valore2);
	b.Col("Valore3", r.f_Valore3);
	b.Col("Valore4", r.f_Valore4);
	b.Col("Valore5", r.f_Valore5);
	b.Col("Valore6", r.f_Valore6);
	b.Col("Valore7", r.f_Valore7);
	b.Col("Valore8", r.f_Valore8);
	b.Col("Valore9", r.f_Valore9);
	b.Col("Valore10", r.f_Valore10);
	b.Col("TotaleRiportatoBudgetA", r.f_TotaleRiportatoBudgetA);
	b.Col("TotaleRiportatoBudgetB", r.f_TotaleRiportatoBudgetB);
	b.Col("TotaleRiportatoBudgetC", r.f_TotaleRiportatoBudgetC);
	b.Col("TotaleRiportato1", r.f_TotaleRiportato1);
	b.Col("TotaleRiportato2", r.f_TotaleRiportato2);
	b.Col("TotaleRiportato3", r.f_TotaleRiportato3);
	b.Col("TotaleRiportato4", r.f_TotaleRiportato4);
	b.Col("TotaleRiportato5", r.f_TotaleRiportato5);
	b.Col("TotaleRiportato6", r.f_TotaleRiportato6);
	b.Col("TotaleRiportato7", r.f_TotaleRiportato7);
	b.Col("TotaleRiportato8", r.f_TotaleRiportato8);
	b.Col("TotaleRiportato9", r.f_TotaleRiportato9);
	b.Col("TotaleRiportato10", r.f_TotaleRiportato10);
	b.Col("Temp", r.f_Temp);
}

// The rows are read by model, year, data kind, code and month (a model's rows of a year and
// kind are replaced at each run): the key in that order is the one index the table needs.
template <class Rec>
void SetKey(Rec& r)
{
	r.SetPrimaryKey({"ModelloRiclassific", "Esercizio", "TipoDatoPianoBase", "CodRiclassificato", "Mese"});
}
}  // namespace

// ---- records ---------------------------------------------------------------------------------

Kvz_TRiclassificato::Kvz_TRiclassificato(BOOL bCallInit) : SqlRecord(GetStaticName(), nullptr, TABLE_TYPE, FALSE)
{
	// Unlike the model rows, the dividend and divisor codes keep their case here.
	f_ModelloRiclassific.SetUpperCase(TRUE);
	f_CodRiclassificato.SetUpperCase(TRUE);
	BindRecord();
	if (bCallInit)
		Init();
}

void Kvz_TRiclassificato::BindRecord()
{
	RecordBinder b(*this);
	BindCommonColumns(b, *this);
	b.Col("CodRiclDividendoProgr", f_CodRiclDividendoProgr);
	b.Col("CodRiclDivisoreProgr", f_CodRiclDivisoreProgr);
	b.Col("SegnoDaApplicare", f_SegnoDaApplicare);
	b.End();
	SetKey(*this);
}

Kvz_TRiclassificato_Ext::Kvz_TRiclassificato_Ext(BOOL bCallInit) : Kvz_TRiclassificato_Ext(nullptr, bCallInit) {}

Kvz_TRiclassificato_Ext::Kvz_TRiclassificato_Ext(SqlConnection* pConnection, BOOL bCallInit)
	: SqlRecord(GetStaticName(), pConnection, TABLE_TYPE, FALSE)
{
	f_ModelloRiclassific.SetUpperCase(TRUE);
	f_CodRiclassificato.SetUpperCase(TRUE);
	BindRecord();
	if (bCallInit)
		Init();
}

void Kvz_TRiclassificato_Ext::BindRecord()
{
	RecordBinder b(*this);
	BindCommonColumns(b, *this);
	b.End();
	SetKey(*this);
}

// ---- readers -----------------------------------------------------------------------------------

Kvz_TRRiclassificato::Kvz_TRRiclassificato(CBaseDocument* pDocument)
	: KeyedReader(Kvz_TRiclassificato::GetThisClass(), pDocument)
{
	m_Keys.Add("p1", "Esercizio", m_Esercizio);
	m_Keys.Add("p2", "ModelloRiclassific", m_Modello);
	m_Keys.Add("p3", "CodRiclassificato", m_Codice, false);
}

TableReader::FindResult Kvz_TRRiclassificato::FindRecord(const DataInt& aEsercizio, const DataStr& aModello,
														  const DataStr& aCodice)
{
	m_Esercizio = aEsercizio;
	m_Modello = aModello;
	m_Codice = aCodice;
	return TableReader::FindRecord();
}

Kvz_TRiclassificato* Kvz_TRRiclassificato::GetRecord() const
{
	return TypedRecord<Kvz_TRiclassificato>("m_pRecord->IsKindOf((Kvz_TRiclassificato::GetThisClass()))",
											"Kvz_TRRiclassificato::GetRecord", kSource);
}

Kvz_TRRiclassificatoMesi::Kvz_TRRiclassificatoMesi(CBaseDocument* pDocument)
	: KeyedReader(Kvz_TRiclassificato::GetThisClass(), pDocument)
{
	m_Keys.Add("p1", "Esercizio", m_Esercizio);
	m_Keys.Add("p2", "ModelloRiclassific", m_Modello);
	m_Keys.Add("p3", "CodRiclassificato", m_Codice, false);
	m_Keys.Add("p4", "Mese", m_Mese, false);
}

TableReader::FindResult Kvz_TRRiclassificatoMesi::FindRecord(const DataInt& aEsercizio, const DataStr& aModello,
															  const DataStr& aCodice, const DataInt& aMese)
{
	m_Esercizio = aEsercizio;
	m_Modello = aModello;
	m_Codice = aCodice;
	m_Mese = aMese;
	return TableReader::FindRecord();
}

Kvz_TRiclassificato* Kvz_TRRiclassificatoMesi::GetRecord() const
{
	return TypedRecord<Kvz_TRiclassificato>("m_pRecord->IsKindOf((Kvz_TRiclassificato::GetThisClass()))",
											"Kvz_TRRiclassificatoMesi::GetRecord", kSource);
}

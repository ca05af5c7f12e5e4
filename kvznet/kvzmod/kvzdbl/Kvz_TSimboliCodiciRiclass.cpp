#include "kvznet/kvzmod/kvzdbl/Kvz_TSimboliCodiciRiclass.h"

namespace {
const char* const kSource = "Kvz_TSimboliCodiciRiclass";

// Only the name stops the query: year 0 and an empty model are searched as they are.
void AddSymbolKeys(KeyedQuery& keys, DataInt& aEsercizio, DataStr& aNome, DataStr& aModello)
{
	keys.Add("p2", "Esercizio", aEsercizio, false);
	keys.Add("p1", "NomeSimbolo", aNome);
	keys.Add("p3", "ModelloRiclassific", aModello, false);
}
}  // namespace

Kvz_TSimboliCodiciRiclass::Kvz_TSimboliCodiciRiclass(BOOL bCallInit)
	: SqlRecord(GetStaticName(), nullptr, TABLE_TYPE, FALSE)
{
	f_ModelloRiclassific.SetUpperCase(TRUE);
	f_NomeSimbolo.SetUpperCase(TRUE);
	f_ValoreCodice.SetUpperCase(TRUE);
	f_ValoreCodiceA.SetUpperCase(TRUE);
	BindRecord();
	if (bCallInit)
		Init();
}

void Kvz_TSimboliCodiciRiclass::BindRecord()
{
	RecordBinder b(*this);
	b.Key("Esercizio", f_Esercizio);
	b.Key("ModelloRiclassific", f_ModelloRiclassific);
	b.Key("NomeSimbolo", f_NomeSimbolo);
	b.Col("Annotazioni", f_Annotazioni);
	b.Col("ValoreEsConst", f_ValoreEsConst);
	b.Col("ValoreEsSymb", f_ValoreEsSymb);
	b.Col("ValoreEs", f_ValoreEs);
	b.Col("ValoreModelloConst", f_ValoreModelloConst);
	b.Col("ValoreModelloSymb", f_ValoreModelloSymb);
	b.Col("ValoreModello", f_ValoreModello);
	b.Col("ValoreCodice", f_ValoreCodice);
	b.Col("ValoreCodiceA", f_ValoreCodiceA);
	b.Col("AggregFunction", f_AggregFunction);
	b.Col("FormulaDaUsare", f_FormulaDaUsare);
	b.Col("ValoreDalBudget", f_ValoreDalBudget);
	b.Col("TipoBudget", f_TipoBudget);
	b.End();
}

// ---- reader and updater ------------------------------------------------------------------------

Kvz_TRSimboliCodiciRiclass::Kvz_TRSimboliCodiciRiclass(CBaseDocument* pDocument)
	: KeyedReader(Kvz_TSimboliCodiciRiclass::GetThisClass(), pDocument)
{
	AddSymbolKeys(m_Keys, m_Esercizio, m_NomeSimbolo, m_ModelloRiclassific);
}

TableReader::FindResult Kvz_TRSimboliCodiciRiclass::FindRecord(const DataInt& aEsercizio,
																  const DataStr& aNomeSimbolo,
																  const DataStr& aModelloRiclassific)
{
	m_Esercizio = aEsercizio;
	m_NomeSimbolo = aNomeSimbolo;
	m_ModelloRiclassific = aModelloRiclassific;
	return TableReader::FindRecord();
}

Kvz_TSimboliCodiciRiclass* Kvz_TRSimboliCodiciRiclass::GetRecord() const
{
	return TypedRecord<Kvz_TSimboliCodiciRiclass>(
		"m_pRecord->IsKindOf((Kvz_TSimboliCodiciRiclass::GetThisClass()))", "Kvz_TRSimboliCodiciRiclass::GetRecord",
		kSource);
}

Kvz_TUSimboliCodiciRiclass::Kvz_TUSimboliCodiciRiclass(CBaseDocument* pDocument, CMessages* pMessages)
	: KeyedUpdater(Kvz_TSimboliCodiciRiclass::GetThisClass(), pDocument, pMessages)
{
	AddSymbolKeys(m_Keys, m_Esercizio, m_NomeSimbolo, m_ModelloRiclassific);
}

TableReader::FindResult Kvz_TUSimboliCodiciRiclass::FindRecord(const DataInt& aEsercizio,
																  const DataStr& aNomeSimbolo,
																  const DataStr& aModelloRiclassific, BOOL bLock)
{
	m_Esercizio = aEsercizio;
	m_NomeSimbolo = aNomeSimbolo;
	m_ModelloRiclassific = aModelloRiclassific;
	return TableUpdater::FindRecord(bLock, nullptr);
}

Kvz_TSimboliCodiciRiclass* Kvz_TUSimboliCodiciRiclass::GetRecord() const
{
	return TypedRecord<Kvz_TSimboliCodiciRiclass>(
		"m_pRecord->IsKindOf((Kvz_TSimboliCodiciRiclass::GetThisClass()))", "Kvz_TUSimboliCodiciRiclass::GetRecord",
		kSource);
}

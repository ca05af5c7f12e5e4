#include "kvznet/kvzmod/kvzdbl/Kvz_TSimboliCodiciExtracont.h"

namespace {
const char* const kSource = "Kvz_TSimboliCodiciExtracont";

// Only the name stops the query: year 0 and an empty model are searched as they are.
void AddSymbolKeys(KeyedQuery& keys, DataInt& aEsercizio, DataStr& aNome, DataStr& aModello)
{
	keys.Add("p2", "Esercizio", aEsercizio, false);
	keys.Add("p1", "NomeSimbolo", aNome);
	keys.Add("p3", "ModelloRiclassific", aModello, false);
}
}  // namespace

Kvz_TSimboliCodiciExtracont::Kvz_TSimboliCodiciExtracont(BOOL bCallInit)
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

void Kvz_TSimboliCodiciExtracont::BindRecord()
{
	RecordBinder b(*this);
	b.Key("Esercizio", f_Esercizio);
	b.Key("ModelloRiclassific", f_ModelloRiclassific);
	b.Key("NomeSimbolo", f_NomeSimbolo);
	b.Col("Annotazioni", f_Annotazioni);
	b.Col("ValoreEsConst", f_ValoreEsConst);
	b.Col("ValoreEsSymb", f_ValoreEsSymb);
	b.Col("ValoreEs", f_ValoreEs);
	b.Col("ValoreMeseConst", f_ValoreMeseConst);
	b.Col("ValoreMeseSymb", f_ValoreMeseSymb);
	b.Col("ValoreMese", f_ValoreMese);
	b.Col("ValoreCodice", f_ValoreCodice);
	b.Col("ValoreCodiceA", f_ValoreCodiceA);
	b.Col("AggregFunction", f_AggregFunction);
	b.Col("FormulaDaUsare", f_FormulaDaUsare);
	b.End();
}

// ---- reader and updater ------------------------------------------------------------------------

Kvz_TRSimboliCodiciExtracont::Kvz_TRSimboliCodiciExtracont(CBaseDocument* pDocument)
	: KeyedReader(Kvz_TSimboliCodiciExtracont::GetThisClass(), pDocument)
{
	AddSymbolKeys(m_Keys, m_Esercizio, m_NomeSimbolo, m_ModelloRiclassific);
}

TableReader::FindResult Kvz_TRSimboliCodiciExtracont::FindRecord(const DataInt& aEsercizio,
																  const DataStr& aNomeSimbolo,
																  const DataStr& aModelloRiclassific)
{
	m_Esercizio = aEsercizio;
	m_NomeSimbolo = aNomeSimbolo;
	m_ModelloRiclassific = aModelloRiclassific;
	return TableReader::FindRecord();
}

Kvz_TSimboliCodiciExtracont* Kvz_TRSimboliCodiciExtracont::GetRecord() const
{
	return TypedRecord<Kvz_TSimboliCodiciExtracont>(
		"m_pRecord->IsKindOf((Kvz_TSimboliCodiciExtracont::GetThisClass()))", "Kvz_TRSimboliCodiciExtracont::GetRecord",
		kSource);
}

Kvz_TUSimboliCodiciExtracont::Kvz_TUSimboliCodiciExtracont(CBaseDocument* pDocument, CMessages* pMessages)
	: KeyedUpdater(Kvz_TSimboliCodiciExtracont::GetThisClass(), pDocument, pMessages)
{
	AddSymbolKeys(m_Keys, m_Esercizio, m_NomeSimbolo, m_ModelloRiclassific);
}

TableReader::FindResult Kvz_TUSimboliCodiciExtracont::FindRecord(const DataInt& aEsercizio,
																  const DataStr& aNomeSimbolo,
																  const DataStr& aModelloRiclassific, BOOL bLock)
{
	m_Esercizio = aEsercizio;
	m_NomeSimbolo = aNomeSimbolo;
	m_ModelloRiclassific = aModelloRiclassific;
	return TableUpdater::FindRecord(bLock, nullptr);
}

Kvz_TSimboliCodiciExtracont* Kvz_TUSimboliCodiciExtracont::GetRecord() const
{
	return TypedRecord<Kvz_TSimboliCodiciExtracont>(
		"m_pRecord->IsKindOf((Kvz_TSimboliCodiciExtracont::GetThisClass()))", "Kvz_TUSimboliCodiciExtracont::GetRecord",
		kSource);
}

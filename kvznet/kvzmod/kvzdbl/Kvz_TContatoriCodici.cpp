#include "kvznet/kvzmod/kvzdbl/Kvz_TContatoriCodici.h"

namespace {
const char* const kSource = "Kvz_TContatoriCodici";

// The reader's and the updater's query: only the code stops it. The parameter names start at
// "p3" on the year and go on with "p1", "p2".
void AddKeys(KeyedQuery& keys, DataInt& aEsercizio, DataEnum& aTipoCodice, DataStr& aCodice)
{
	keys.Add("p3", "Esercizio", aEsercizio, false);
	keys.Add("p1", "TipoCodice", aTipoCodice, false);
	keys.Add("p2", "Codice", aCodice);
}
}  // namespace

Kvz_TContatoriCodici::Kvz_TContatoriCodici(BOOL bCallInit) : SqlRecord(GetStaticName(), nullptr, TABLE_TYPE, FALSE)
{
	f_Codice.SetUpperCase(TRUE);
	BindRecord();
	if (bCallInit)
		Init();
}

void Kvz_TContatoriCodici::BindRecord()
{
	RecordBinder b(*this);
	b.Key("Esercizio", f_Esercizio);
	b.Key("TipoCodice", f_TipoCodice);
	b.Key("Codice", f_Codice);
	b.Col("ContatoreUtilizzi", f_ContatoreUtilizzi);
	b.End();
}

Kvz_TEnhContatoriCodici::Kvz_TEnhContatoriCodici(BOOL bCallInit) : Kvz_TContatoriCodici(FALSE)
{
	Kvz_TEnhContatoriCodici::BindRecord();
	if (bCallInit)
		Init();
}

void Kvz_TEnhContatoriCodici::BindRecord()
{
	RecordBinder b(*this);
	BIND_LOCAL_STR(b, "Descri", l_Descrizione, 32);
	b.End();
}

// ---- reader and updater ------------------------------------------------------------------------

Kvz_TRContatoriCodici::Kvz_TRContatoriCodici(CBaseDocument* pDocument)
	: KeyedReader(Kvz_TEnhContatoriCodici::GetThisClass(), pDocument)
{
	AddKeys(m_Keys, m_Esercizio, m_TipoCodice, m_Codice);
}

TableReader::FindResult Kvz_TRContatoriCodici::FindRecord(const DataInt& aEsercizio, const DataEnum& aTipoCodice,
														  const DataStr& aCodice)
{
	m_Esercizio = aEsercizio;
	m_TipoCodice = aTipoCodice;
	m_Codice = aCodice;
	return TableReader::FindRecord();
}

Kvz_TEnhContatoriCodici* Kvz_TRContatoriCodici::GetRecord() const
{
	return TypedRecord<Kvz_TEnhContatoriCodici>("m_pRecord->IsKindOf((Kvz_TEnhContatoriCodici::GetThisClass()))",
												"Kvz_TRContatoriCodici::GetRecord", kSource);
}

Kvz_TUContatoriCodici::Kvz_TUContatoriCodici(CBaseDocument* pDocument, CMessages* pMessages)
	: KeyedUpdater(Kvz_TEnhContatoriCodici::GetThisClass(), pDocument, pMessages)
{
	AddKeys(m_Keys, m_Esercizio, m_TipoCodice, m_Codice);
}

TableReader::FindResult Kvz_TUContatoriCodici::FindRecord(const DataInt& aEsercizio, const DataEnum& aTipoCodice,
														  const DataStr& aCodice, BOOL bLock)
{
	m_Esercizio = aEsercizio;
	m_TipoCodice = aTipoCodice;
	m_Codice = aCodice;
	return TableUpdater::FindRecord(bLock, nullptr);
}

Kvz_TEnhContatoriCodici* Kvz_TUContatoriCodici::GetRecord() const
{
	return TypedRecord<Kvz_TEnhContatoriCodici>("m_pRecord->IsKindOf((Kvz_TEnhContatoriCodici::GetThisClass()))",
												"Kvz_TUContatoriCodici::GetRecord", kSource);
}

#include "kvznet/kvzmod/kvzdbl/Kvz_TRiclassificazioneRighe.h"

#include "kvznet/kvzmod/kvzdbl/KvzDblLunghezze.h"

namespace {
const char* const kSource = "Kvz_TRiclassificazioneRighe";

// The 26 columns, the same in both records of the table.
template <class Rec>
void BindColumns(RecordBinder& b, Rec& r)
{
	b.Key("Esercizio", r.f_Esercizio).Year();
	b.Key("ModelloRiclassific", r.f_ModelloRiclassific).Code(kKvzLenCodice, true);
	b.Key("CodRiclassificato", r.f_CodRiclassificato).Code(kKvzLenCodice, true);
	b.Col("Posizione", r.f_Posizione);
	b.Col("Descrizione", r.f_Descrizione).Text(kKvzLenDescrizione);
	b.Col("Formula", r.f_Formula);
	b.Col("TipoRiga", r.f_TipoRiga);
	b.Col("TipoDatoRitorno", r.f_TipoDatoRitorno);
	b.Col("Dividendo", r.f_Dividendo).Code(kKvzLenCodice);
	b.Col("FormulaBudgetA", r.f_FormulaBudgetA);
	b.Col("FormulaBudgetB", r.f_FormulaBudgetB);
	b.Col("FormulaBudgetC", r.f_FormulaBudgetC);
	b.Col("Formula1", r.f_Formula1);
	b.Col("Formula2", r.f_Formula2);
	b.Col("Formula3", r.f_Formula3);
	b.Col("Formula4", r.f_Formula4);
	b.Col("Formula5", r.f_Formula5);
	b.Col("Formula6", r.f_Formula6);
	b.Col("Formula7", r.f_Formula7);
	b.Col("Formula8", r.f_Formula8);
	b.Col("Formula9", r.f_Formula9);
	b.Col("Formula10", r.f_Formula10);
	b.Col("TipoCalcolo", r.f_TipoCalcolo);
	b.Col("CodRiclDividendoProgr", r.f_CodRiclDividendoProgr).Code(kKvzLenCodice);
	b.Col("CodRiclDivisoreProgr", r.f_CodRiclDivisoreProgr).Code(kKvzLenCodice);
	b.Col("SegnoDaApplicare", r.f_SegnoDaApplicare);
}

// Codes are upper case; formulas keep the case they were typed in.
template <class Rec>
void SetCodesUpperCase(Rec& r)
{
	r.f_ModelloRiclassific.SetUpperCase(TRUE);
	r.f_CodRiclassificato.SetUpperCase(TRUE);
	r.f_CodRiclDividendoProgr.SetUpperCase(TRUE);
	r.f_CodRiclDivisoreProgr.SetUpperCase(TRUE);
}
}  // namespace

// ---- records ---------------------------------------------------------------------------------

Kvz_TRiclassificazioneRighe::Kvz_TRiclassificazioneRighe(BOOL bCallInit)
	: SqlRecord(GetStaticName(), nullptr, TABLE_TYPE, FALSE)
{
	SetCodesUpperCase(*this);
	BindRecord();
	if (bCallInit)
		Init();
}

void Kvz_TRiclassificazioneRighe::BindRecord()
{
	RecordBinder b(*this);
	BindColumns(b, *this);
	BIND_LOCAL(b, "Selezionata", l_Selezionata, 0);
	BIND_LOCAL_STR(b, "DescrBreve", l_DescrizioneBreve, 16);
	b.End();
	// A code's row in a model, whatever the year (the short descriptions look it up per code).
	AddIndex({"ModelloRiclassific", "CodRiclassificato"});
}

Kvz_TEnhRiclassificazioneRighe::Kvz_TEnhRiclassificazioneRighe(BOOL bCallInit) : Kvz_TRiclassificazioneRighe(FALSE)
{
	Kvz_TEnhRiclassificazioneRighe::BindRecord();
	if (bCallInit)
		Init();
}

void Kvz_TEnhRiclassificazioneRighe::BindRecord()
{
	RecordBinder b(*this);
	BIND_LOCAL(b, "Valore", l_Valore, 0);
	BIND_LOCAL(b, "ValoreBdgA", l_ValoreBudgetA, 0);
	BIND_LOCAL(b, "ValoreBdgB", l_ValoreBudgetB, 0);
	BIND_LOCAL(b, "ValoreBdgC", l_ValoreBudgetC, 0);
	BIND_LOCAL(b, "Valore1", l_Valore1, 0);
	BIND_LOCAL(b, "Valore2", l_Valore2, 0);
	BIND_LOCAL(b, "Valore3", l_Valore3, 0);
	BIND_LOCAL(b, "Valore4", l_Valore4, 0);
	BIND_LOCAL(b, "Valore5", l_Valore5, 0);
	BIND_LOCAL(b, "Valore6", l_Valore6, 0);
	BIND_LOCAL(b, "Valore7", l_Valore7, 0);
	BIND_LOCAL(b, "Valore8", l_Valore8, 0);
	BIND_LOCAL(b, "Valore9", l_Valore9, 0);
	BIND_LOCAL(b, "Valore10", l_Valore10, 0);
	BIND_LOCAL(b, "Mese", l_Mese, 0);
	BIND_LOCAL(b, "TotRiportato", l_TotRiportato, 0);
	BIND_LOCAL(b, "TotRiportatoBudgetA", l_TotRiportatoBudgetA, 0);
	BIND_LOCAL(b, "TotRiportatoBudgetB", l_TotRiportatoBudgetB, 0);
	BIND_LOCAL(b, "TotRiportatoBudgetC", l_TotRiportatoBudgetC, 0);
	BIND_LOCAL(b, "TotRiportato1", l_TotRiportato1, 0);
	BIND_LOCAL(b, "TotRiportato2", l_TotRiportato2, 0);
	BIND_LOCAL(b, "TotRiportato3", l_TotRiportato3, 0);
	BIND_LOCAL(b, "TotRiportato4", l_TotRiportato4, 0);
	BIND_LOCAL(b, "TotRiportato5", l_TotRiportato5, 0);
	BIND_LOCAL(b, "TotRiportato6", l_TotRiportato6, 0);
	BIND_LOCAL(b, "TotRiportato7", l_TotRiportato7, 0);
	BIND_LOCAL(b, "TotRiportato8", l_TotRiportato8, 0);
	BIND_LOCAL(b, "TotRiportato9", l_TotRiportato9, 0);
	BIND_LOCAL(b, "TotRiportato10", l_TotRiportato10, 0);
	b.End();
}

Kvz_TModRiclassRighe_Ext::Kvz_TModRiclassRighe_Ext(BOOL bCallInit) : Kvz_TModRiclassRighe_Ext(nullptr, bCallInit) {}

Kvz_TModRiclassRighe_Ext::Kvz_TModRiclassRighe_Ext(SqlConnection* pConnection, BOOL bCallInit)
	: SqlRecord(GetStaticName(), pConnection, TABLE_TYPE, FALSE)
{
	SetCodesUpperCase(*this);
	BindRecord();
	if (bCallInit)
		Init();
}

void Kvz_TModRiclassRighe_Ext::BindRecord()
{
	RecordBinder b(*this);
	BindColumns(b, *this);
	b.End();
}

// ---- reader ------------------------------------------------------------------------------------

Kvz_TRRiclassificazioneRighe::Kvz_TRRiclassificazioneRighe(CBaseDocument* pDocument)
	: KeyedReader(Kvz_TRiclassificazioneRighe::GetThisClass(), pDocument)
{
	m_Keys.Add("p1", "Esercizio", m_Esercizio);
	m_Keys.Add("p2", "ModelloRiclassific", m_Modello);
	m_Keys.Add("p3", "CodRiclassificato", m_Codice, false);
}

TableReader::FindResult Kvz_TRRiclassificazioneRighe::FindRecord(const DataInt& aEsercizio, const DataStr& aModello,
																  const DataStr& aCodice)
{
	m_Esercizio = aEsercizio;
	m_Modello = aModello;
	m_Codice = aCodice;
	return TableReader::FindRecord();
}

Kvz_TRiclassificazioneRighe* Kvz_TRRiclassificazioneRighe::GetRecord() const
{
	return TypedRecord<Kvz_TRiclassificazioneRighe>(
		"m_pRecord->IsKindOf((Kvz_TRiclassificazioneRighe::GetThisClass()))", "Kvz_TRRiclassificazioneRighe::GetRecord",
		kSource);
}

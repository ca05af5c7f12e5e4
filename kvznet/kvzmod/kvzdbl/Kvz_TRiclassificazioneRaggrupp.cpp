#include "kvznet/kvzmod/kvzdbl/Kvz_TRiclassificazioneRaggrupp.h"

#include "kvznet/kvzmod/kvzdbl/KvzDblLunghezze.h"

namespace {
const char* const kSource = "Kvz_TRiclassificazioneRaggrupp";
}

Kvz_TRiclassificazioneRaggrupp::Kvz_TRiclassificazioneRaggrupp(BOOL bCallInit)
	: SqlRecord(GetStaticName(), nullptr, TABLE_TYPE, FALSE)
{
	f_ModelloRiclassific.SetUpperCase(TRUE);
	f_CodRaggrupp.SetUpperCase(TRUE);
	BindRecord();
	if (bCallInit)
		Init();
}

void Kvz_TRiclassificazioneRaggrupp::BindRecord()
{
	RecordBinder b(*this);
	b.Key("Esercizio", f_Esercizio).Year();
	b.Key("ModelloRiclassific", f_ModelloRiclassific).Code(kKvzLenCodice, true);
	b.Key("CodRaggrupp", f_CodRaggrupp).Code(kKvzLenCodice, true);
	b.End();
}

Kvz_TEnhRiclassificazioneRaggrupp::Kvz_TEnhRiclassificazioneRaggrupp(BOOL bCallInit)
	: Kvz_TRiclassificazioneRaggrupp(FALSE)
{
	Kvz_TEnhRiclassificazioneRaggrupp::BindRecord();
	if (bCallInit)
		Init();
}

void Kvz_TEnhRiclassificazioneRaggrupp::BindRecord()
{
	RecordBinder b(*this);
	BIND_LOCAL_STR(b, "Descrizione", l_Descrizione, 64);
	b.End();
}

Kvz_TRRiclassificazioneRaggrupp::Kvz_TRRiclassificazioneRaggrupp(CBaseDocument* pDocument)
	: KeyedReader(Kvz_TRiclassificazioneRaggrupp::GetThisClass(), pDocument)
{
	m_Keys.Add("p1", "Esercizio", m_Esercizio);
	m_Keys.Add("p2", "ModelloRiclassific", m_Modello);
	m_Keys.Add("p3", "CodRaggrupp", m_CodRaggrupp, false);
}

TableReader::FindResult Kvz_TRRiclassificazioneRaggrupp::FindRecord(const DataInt& aEsercizio,
																	 const DataStr& aModello,
																	 const DataStr& aCodRaggrupp)
{
	m_Esercizio = aEsercizio;
	m_Modello = aModello;
	m_CodRaggrupp = aCodRaggrupp;
	return TableReader::FindRecord();
}

Kvz_TRiclassificazioneRaggrupp* Kvz_TRRiclassificazioneRaggrupp::GetRecord() const
{
	return TypedRecord<Kvz_TRiclassificazioneRaggrupp>(
		"m_pRecord->IsKindOf((Kvz_TRiclassificazioneRaggrupp::GetThisClass()))",
		"Kvz_TRRiclassificazioneRaggrupp::GetRecord", kSource);
}

#include "kvznet/kvzmod/kvzdbl/Kvz_TDescrizioniBrevi.h"

namespace {
const char* const kSource = "Kvz_TDescrizioniBrevi";
}

Kvz_TDescrizioniBrevi::Kvz_TDescrizioniBrevi(BOOL bCallInit) : SqlRecord(GetStaticName(), nullptr, TABLE_TYPE, FALSE)
{
	f_CodRiclassificato.SetUpperCase(TRUE);
	BindRecord();
	if (bCallInit)
		Init();
}

void Kvz_TDescrizioniBrevi::BindRecord()
{
	RecordBinder b(*this);
	b.Key("CodRiclassificato", f_CodRiclassificato);
	b.Col("DescrizioneBreve", f_DescrizioneBreve);
	b.Col("Selezionata", f_Selezionata);
	b.Col("ModelloPerVisDescr", f_ModelloPerVisDescr);
	BIND_LOCAL_STR(b, "DescrizioneModello", l_DescrizioneModello, 64);
	b.End();
}

Kvz_TRDescrizioniBrevi::Kvz_TRDescrizioniBrevi(CBaseDocument* pDocument)
	: KeyedReader(Kvz_TDescrizioniBrevi::GetThisClass(), pDocument)
{
	m_Keys.Add("p3", "CodRiclassificato", m_Codice);
}

TableReader::FindResult Kvz_TRDescrizioniBrevi::FindRecord(const DataStr& aCodice)
{
	m_Codice = aCodice;
	return TableReader::FindRecord();
}

Kvz_TDescrizioniBrevi* Kvz_TRDescrizioniBrevi::GetRecord() const
{
	return TypedRecord<Kvz_TDescrizioniBrevi>("m_pRecord->IsKindOf((Kvz_TDescrizioniBrevi::GetThisClass()))",
											  "Kvz_TRDescrizioniBrevi::GetRecord", kSource);
}

Kvz_TUDescrizioniBrevi::Kvz_TUDescrizioniBrevi(CBaseDocument* pDocument, CMessages* pMessages)
	: KeyedUpdater(Kvz_TDescrizioniBrevi::GetThisClass(), pDocument, pMessages)
{
	m_Keys.Add("p3", "CodRiclassificato", m_Codice);
}

TableReader::FindResult Kvz_TUDescrizioniBrevi::FindRecord(const DataStr& aCodice, BOOL bLock)
{
	m_Codice = aCodice;
	return TableUpdater::FindRecord(bLock, nullptr);
}

Kvz_TDescrizioniBrevi* Kvz_TUDescrizioniBrevi::GetRecord() const
{
	return TypedRecord<Kvz_TDescrizioniBrevi>("m_pRecord->IsKindOf((Kvz_TDescrizioniBrevi::GetThisClass()))",
											  "Kvz_TUDescrizioniBrevi::GetRecord", kSource);
}

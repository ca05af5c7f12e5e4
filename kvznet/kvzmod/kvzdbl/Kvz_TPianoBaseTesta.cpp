#include "kvznet/kvzmod/kvzdbl/Kvz_TPianoBaseTesta.h"

namespace {
const char* const kSource = "Kvz_TPianoBaseTesta";
}

Kvz_TPianoBaseTesta::Kvz_TPianoBaseTesta(BOOL bCallInit) : SqlRecord(GetStaticName(), nullptr, TABLE_TYPE, FALSE)
{
	f_CodPianoBase.SetUpperCase(TRUE);
	f_ContoKvz.SetUpperCase(TRUE);
	f_CentroCommessa.SetUpperCase(TRUE);
	BindRecord();
	if (bCallInit)
		Init();
}

void Kvz_TPianoBaseTesta::BindRecord()
{
	RecordBinder b(*this);
	b.Key("IDPianoBase", f_IDPianoBase);
	b.Col("CodPianoBase", f_CodPianoBase);
	b.Col("Descrizione", f_Descrizione);
	b.Col("InseritoAMano", f_InseritoAMano);
	b.Col("DataCreazione", f_DataCreazione);
	b.Col("DataUltModifica", f_DataUltModifica);
	b.Col("ContoKvz", f_ContoKvz);
	b.Col("CentroCommessa", f_CentroCommessa);
	b.Col("TipoCentroComm", f_TipoCentroComm);
	b.Col("Esercizio", f_Esercizio);
	b.Col("TipoBudget", f_TipoBudget);
	b.Col("TipoRipartizAssestamenti", f_TipoRipartizAssestamenti);
	b.Col("AssestPerTotale", f_AssestPerTotale);
	b.Col("TotGeneraleRatei", f_TotGeneraleRatei);
	b.Col("TotRateiTrimestre1", f_TotRateiTrimestre1);
	b.Col("TotRateiTrimestre2", f_TotRateiTrimestre2);
	b.Col("TotRateiTrimestre3", f_TotRateiTrimestre3);
	b.Col("TotRateiTrimestre4", f_TotRateiTrimestre4);
	b.Col("TotGeneraleAssestati", f_TotGeneraleAssestati);
	b.Col("TotAssestatiTrimestre1", f_TotAssestatiTrimestre1);
	b.Col("TotAssestatiTrimestre2", f_TotAssestatiTrimestre2);
	b.Col("TotAssestatiTrimestre3", f_TotAssestatiTrimestre3);
	b.Col("TotAssestatiTrimestre4", f_TotAssestatiTrimestre4);
	b.Col("AssestPerTotalePerc", f_AssestPerTotalePerc);
	b.End();
	// Headers are looked up by year, account and cost centre/job (then kind and budget type).
	AddIndex({"Esercizio", "ContoKvz", "CentroCommessa"});
	// The rebuild of a year looks each one up by the kind too.
	AddIndex({"Esercizio", "ContoKvz", "TipoCentroComm", "CentroCommessa"});
}

Kvz_TEnhPianoBaseTesta::Kvz_TEnhPianoBaseTesta(BOOL bCallInit) : Kvz_TPianoBaseTesta(FALSE)
{
	Kvz_TEnhPianoBaseTesta::BindRecord();
	if (bCallInit)
		Init();
}

void Kvz_TEnhPianoBaseTesta::BindRecord()
{
	RecordBinder b(*this);
	BIND_LOCAL(b, "TotGenerale", l_TotGenerale, 0);
	BIND_LOCAL(b, "TotTrimestre1", l_TotTrimestre1, 0);
	BIND_LOCAL(b, "TotTrimestre2", l_TotTrimestre2, 0);
	BIND_LOCAL(b, "TotTrimestre3", l_TotTrimestre3, 0);
	BIND_LOCAL(b, "TotTrimestre4", l_TotTrimestre4, 0);
	b.End();
}

Jex_TRPianoBaseTesta::Jex_TRPianoBaseTesta(CBaseDocument* pDocument)
	: KeyedReader(Kvz_TEnhPianoBaseTesta::GetThisClass(), pDocument)
{
	m_Keys.Add("p1", "IDPianoBase", m_IDPianoBase);
}

TableReader::FindResult Jex_TRPianoBaseTesta::FindRecord(const DataLng& aIDPianoBase)
{
	m_IDPianoBase = aIDPianoBase;
	return TableReader::FindRecord();
}

Kvz_TEnhPianoBaseTesta* Jex_TRPianoBaseTesta::GetRecord() const
{
	return TypedRecord<Kvz_TEnhPianoBaseTesta>("m_pRecord->IsKindOf((Kvz_TEnhPianoBaseTesta::GetThisClass()))",
											   "Jex_TRPianoBaseTesta::GetRecord", kSource);
}

Jex_TUPianoBaseTesta::Jex_TUPianoBaseTesta(CBaseDocument* pDocument, CMessages* pMessages)
	: KeyedUpdater(Kvz_TEnhPianoBaseTesta::GetThisClass(), pDocument, pMessages)
{
	m_Keys.Add("p1", "IDPianoBase", m_IDPianoBase);
}

TableReader::FindResult Jex_TUPianoBaseTesta::FindRecord(const DataLng& aIDPianoBase, BOOL bLock)
{
	m_IDPianoBase = aIDPianoBase;
	return TableUpdater::FindRecord(bLock, nullptr);
}

Kvz_TEnhPianoBaseTesta* Jex_TUPianoBaseTesta::GetRecord() const
{
	return TypedRecord<Kvz_TEnhPianoBaseTesta>("m_pRecord->IsKindOf((Kvz_TEnhPianoBaseTesta::GetThisClass()))",
											   "Jex_TUPianoBaseTesta::GetRecord", kSource);
}

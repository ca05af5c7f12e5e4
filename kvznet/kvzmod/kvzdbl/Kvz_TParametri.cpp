#include "kvznet/kvzmod/kvzdbl/Kvz_TParametri.h"

namespace {
const char* const kSource = "Kvz_TParametri";

// The one row the module reads and writes.
void DefineParamQuery(SqlTable& table, Kvz_TParametri& rec)
{
	table.SelectAll();
	table.AddParam("p1", rec.f_IDParam);
	table.AddFilterColumn(rec.f_IDParam);
}

void PrepareParamQuery(SqlTable& table)
{
	table.SetParamValue("p1", DataLng(1));
}
}  // namespace

Kvz_TParametri::Kvz_TParametri(BOOL bCallInit) : SqlRecord(GetStaticName(), nullptr, TABLE_TYPE, FALSE)
{
	BindRecord();
	if (bCallInit)
		Init();
	// The time of the last import matters, not only its day.
	f_DataUltimaImportazSaldi.SetFullDate(TRUE);
}

void Kvz_TParametri::BindRecord()
{
	RecordBinder b(*this);
	b.Key("IDParam", f_IDParam);
	b.Col("BaseDiLettura", f_BaseDiLettura);
	b.Col("PagamentoIVA", f_PagamentoIVA);
	b.Col("LenMastro", f_LenMastro);
	b.Col("NrSegmenti", f_NrSegmenti);
	b.Col("NomeSeg1", f_NomeSeg1);
	b.Col("LenSeg1", f_LenSeg1);
	b.Col("NomeSeg2", f_NomeSeg2);
	b.Col("LenSeg2", f_LenSeg2);
	b.Col("NomeSeg3", f_NomeSeg3);
	b.Col("LenSeg3", f_LenSeg3);
	b.Col("NomeSeg4", f_NomeSeg4);
	b.Col("LenSeg4", f_LenSeg4);
	b.Col("NomeSeg5", f_NomeSeg5);
	b.Col("LenSeg5", f_LenSeg5);
	b.Col("NomeSeg6", f_NomeSeg6);
	b.Col("LenSeg6", f_LenSeg6);
	b.Col("NomeSeg7", f_NomeSeg7);
	b.Col("LenSeg7", f_LenSeg7);
	b.Col("DataUltimaImportazSaldi", f_DataUltimaImportazSaldi);
	b.Col("DNI_ContoCollegato", f_DNI_ContoCollegato);
	b.Col("DNI_ProponiInFiltroAssest", f_DNI_ProponiInFiltroAssest);
	b.Col("DNI_ModificaInAssestamento", f_DNI_ModificaInAssestamento);
	b.Col("DNI_InversioneSegno", f_DNI_InversioneSegno);
	b.Col("DNI_AggiungiCdcCommAuto", f_DNI_AggiungiCdcCommAuto);
	b.End();
}

// ---- reader and updater ------------------------------------------------------------------------

Kvz_TRParametri::Kvz_TRParametri(CBaseDocument* pDocument) : KeyedReader(Kvz_TParametri::GetThisClass(), pDocument) {}

TableReader::FindResult Kvz_TRParametri::FindRecord()
{
	// Other sessions change the parameters: never answer from the row read before.
	SetForceQuery(TRUE);
	return TableReader::FindRecord();
}

Kvz_TParametri* Kvz_TRParametri::GetRecord() const
{
	return TypedRecord<Kvz_TParametri>("m_pRecord->IsKindOf((Kvz_TParametri::GetThisClass()))",
									   "Kvz_TRParametri::GetRecord", kSource);
}

void Kvz_TRParametri::OnDefineQuery()
{
	DefineParamQuery(*m_pTable, *GetRecord());
}

void Kvz_TRParametri::OnPrepareQuery()
{
	PrepareParamQuery(*m_pTable);
}

Kvz_TUParametri::Kvz_TUParametri(CBaseDocument* pDocument, CMessages* pMessages)
	: KeyedUpdater(Kvz_TParametri::GetThisClass(), pDocument, pMessages)
{
}

Kvz_TParametri* Kvz_TUParametri::GetRecord() const
{
	return TypedRecord<Kvz_TParametri>("m_pRecord->IsKindOf((Kvz_TParametri::GetThisClass()))",
									   "Kvz_TUParametri::GetRecord", kSource);
}

void Kvz_TUParametri::OnDefineQuery()
{
	DefineParamQuery(*m_pTable, *GetRecord());
}

void Kvz_TUParametri::OnPrepareQuery()
{
	PrepareParamQuery(*m_pTable);
}

#include "kvznet/kvzmod/kvzdbl/Kvz_TRaggruppPdC.h"

namespace {
const char* const kSource = "Kvz_TRaggruppPdC";
}

Kvz_TRaggruppPdC::Kvz_TRaggruppPdC(BOOL bCallInit) : SqlRecord(GetStaticName(), nullptr, TABLE_TYPE, FALSE)
{
	f_Conto.SetUpperCase(TRUE);
	f_ContoPatrimoniale.SetUpperCase(TRUE);
	f_CodiceBudget.SetUpperCase(TRUE);
	BindRecord();
	if (bCallInit)
		Init();
}

void Kvz_TRaggruppPdC::BindRecord()
{
	RecordBinder b(*this);
	b.Key("Conto", f_Conto);
	b.Col("PrimoLivello", f_PrimoLivello);
	b.Col("SecondoLivello", f_SecondoLivello);
	b.Col("TerzoLivello", f_TerzoLivello);
	b.Col("QuartoLivello", f_QuartoLivello);
	b.Col("QuintoLivello", f_QuintoLivello);
	b.Col("SestoLivello", f_SestoLivello);
	b.Col("SettimoLivello", f_SettimoLivello);
	b.Col("OttavoLivello", f_OttavoLivello);
	b.Col("ProponiInAssestamento", f_ProponiInAssestamento);
	b.Col("ModificaInAssestamento", f_ModificaInAssestamento);
	b.Col("EsplodiInAnalitica", f_EsplodiInAnalitica);
	b.Col("TipoDettaglio", f_TipoDettaglio);
	b.Col("ContoPatrimoniale", f_ContoPatrimoniale);
	b.Col("InversioneSegno", f_InversioneSegno);
	b.Col("EscludiDaImportazione", f_EscludiDaImportazione);
	b.Col("CodiceBudget", f_CodiceBudget);
	b.Col("EscludereContoDaImportazione", f_EscludereContoDaImportazione);
	b.End();
}

Kvz_TEnhRaggruppPdC::Kvz_TEnhRaggruppPdC(BOOL bCallInit) : Kvz_TRaggruppPdC(FALSE)
{
	Kvz_TEnhRaggruppPdC::BindRecord();
	if (bCallInit)
		Init();
}

void Kvz_TEnhRaggruppPdC::BindRecord()
{
	RecordBinder b(*this);
	BIND_LOCAL_STR(b, "DalConto", l_DalConto, 26);
	BIND_LOCAL_STR(b, "DesDalConto", l_DescrDalConto, 32);
	BIND_LOCAL_STR(b, "AlConto", l_AlConto, 26);
	BIND_LOCAL_STR(b, "DesAlConto", l_DescrAlConto, 32);
	BIND_LOCAL_STR(b, "DesContoPa", l_DescrContoPatrim, 32);
	b.End();
}

Kvz_TRRaggruppPdC::Kvz_TRRaggruppPdC(CBaseDocument* pDocument)
	: KeyedReader(Kvz_TRaggruppPdC::GetThisClass(), pDocument)
{
	m_Keys.Add("p1", "Conto", m_Conto);
}

TableReader::FindResult Kvz_TRRaggruppPdC::FindRecord(const DataStr& aConto)
{
	m_Conto = aConto;
	return TableReader::FindRecord();
}

Kvz_TRaggruppPdC* Kvz_TRRaggruppPdC::GetRecord() const
{
	return TypedRecord<Kvz_TRaggruppPdC>("m_pRecord->IsKindOf((Kvz_TRaggruppPdC::GetThisClass()))",
										 "Kvz_TRRaggruppPdC::GetRecord", kSource);
}

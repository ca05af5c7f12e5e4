#include "kvznet/kvzmod/kvzdbl/Kvz_TOperatoriStampe.h"

namespace {
const char* const kSource = "Kvz_TOperatoriStampe";
}

Kvz_TOperatoriStampe::Kvz_TOperatoriStampe(BOOL bCallInit) : SqlRecord(GetStaticName(), nullptr, TABLE_TYPE, FALSE)
{
	f_ModelloRiclassific.SetUpperCase(TRUE);  // the operator, a user name, keeps its case
	BindRecord();
	if (bCallInit)
		Init();
}

void Kvz_TOperatoriStampe::BindRecord()
{
	RecordBinder b(*this);
	b.Key("Esercizio", f_Esercizio);
	b.Key("ModelloRiclassific", f_ModelloRiclassific);
	b.Key("OperatoreStampa", f_OperatoreStampa);
	b.End();
}

Kvz_TROperatoriStampe::Kvz_TROperatoriStampe(CBaseDocument* pDocument)
	: KeyedReader(Kvz_TOperatoriStampe::GetThisClass(), pDocument)
{
	m_Keys.Add("p1", "Esercizio", m_Esercizio);
	m_Keys.Add("p2", "ModelloRiclassific", m_Modello);
	m_Keys.Add("p3", "OperatoreStampa", m_Operatore, false);
}

TableReader::FindResult Kvz_TROperatoriStampe::FindRecord(const DataInt& aEsercizio, const DataStr& aModello,
														  const DataStr& aOperatore)
{
	m_Esercizio = aEsercizio;
	m_Modello = aModello;
	m_Operatore = aOperatore;
	return TableReader::FindRecord();
}

Kvz_TOperatoriStampe* Kvz_TROperatoriStampe::GetRecord() const
{
	return TypedRecord<Kvz_TOperatoriStampe>("m_pRecord->IsKindOf((Kvz_TOperatoriStampe::GetThisClass()))",
											 "Kvz_TROperatoriStampe::GetRecord", kSource);
}

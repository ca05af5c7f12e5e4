#include "kvznet/kvzmod/kvzdbl/Kvz_TCodExtracontabili.h"

#include "kvznet/kvzmod/kvzdbl/KvzDblLunghezze.h"
#include <iterator>

namespace {
const char* const kSource = "Kvz_TCodExtracontabili";

// The columns of both records, in bind order.
template <class Rec>
void BindMonthColumns(RecordBinder& b, Rec& r)
{
	b.Key("Esercizio", r.f_Esercizio).Year();
	b.Key("CodExtracont", r.f_CodExtracont).Code(kKvzLenCodice, true);
	b.Key("Mese", r.f_Mese);
	b.Col("Formula", r.f_Formula);
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
}
}  // namespace

Kvz_TCodExtracontabili::Kvz_TCodExtracontabili(BOOL bCallInit) : SqlRecord(GetStaticName(), nullptr, TABLE_TYPE, FALSE)
{
	f_CodExtracont.SetUpperCase(TRUE);
	f_Formula.SetUpperCase(TRUE);
	BindRecord();
	if (bCallInit)
		Init();
}

DataStr* Kvz_TCodExtracontabili::GetFormula(int nSlot)
{
	DataStr* formule[] = {&f_Formula,  &f_Formula1, &f_Formula2, &f_Formula3, &f_Formula4, &f_Formula5,
						  &f_Formula6, &f_Formula7, &f_Formula8, &f_Formula9, &f_Formula10};
	return nSlot >= 0 && nSlot < int(std::size(formule)) ? formule[nSlot] : nullptr;
}

void Kvz_TCodExtracontabili::BindRecord()
{
	RecordBinder b(*this);
	BindMonthColumns(b, *this);
	b.End();
}

Kvz_TEnhCodExtracontabili::Kvz_TEnhCodExtracontabili(BOOL bCallInit) : Kvz_TCodExtracontabili(FALSE)
{
	Kvz_TEnhCodExtracontabili::BindRecord();
	if (bCallInit)
		Init();
}

void Kvz_TEnhCodExtracontabili::BindRecord()
{
	RecordBinder b(*this);
	BIND_LOCAL_STR(b, "Descrizione", l_Descrizione, 64);
	b.End();
}

Kvz_TCodExtracont_Ext::Kvz_TCodExtracont_Ext(BOOL bCallInit) : Kvz_TCodExtracont_Ext(nullptr, bCallInit) {}

Kvz_TCodExtracont_Ext::Kvz_TCodExtracont_Ext(SqlConnection* pConnection, BOOL bCallInit)
	: SqlRecord(GetStaticName(), pConnection, TABLE_TYPE, FALSE)
{
	f_CodExtracont.SetUpperCase(TRUE);
	f_Formula.SetUpperCase(TRUE);
	BindRecord();
	if (bCallInit)
		Init();
}

void Kvz_TCodExtracont_Ext::BindRecord()
{
	RecordBinder b(*this);
	BindMonthColumns(b, *this);
	b.End();
}

// ---- reader ------------------------------------------------------------------------------------

Kvz_TRCodExtracontabili::Kvz_TRCodExtracontabili(CBaseDocument* pDocument)
	: KeyedReader(Kvz_TCodExtracontabili::GetThisClass(), pDocument)
{
	m_Keys.Add("p1", "Esercizio", m_Esercizio);
	m_Keys.Add("p2", "CodExtracont", m_CodExtracont);
	m_Keys.Add("p3", "Mese", m_Mese);
}

TableReader::FindResult Kvz_TRCodExtracontabili::FindRecord(const DataInt& aEsercizio, const DataStr& aCodExtracont,
															 const DataInt& aMese)
{
	m_Esercizio = aEsercizio;
	m_CodExtracont = aCodExtracont;
	m_Mese = aMese;
	return TableReader::FindRecord();
}

Kvz_TCodExtracontabili* Kvz_TRCodExtracontabili::GetRecord() const
{
	return TypedRecord<Kvz_TCodExtracontabili>("m_pRecord->IsKindOf((Kvz_TCodExtracontabili::GetThisClass()))",
											   "Kvz_TRCodExtracontabili::GetRecord", kSource);
}

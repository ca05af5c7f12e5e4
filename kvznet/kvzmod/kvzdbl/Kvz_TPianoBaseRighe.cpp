#include "kvznet/kvzmod/kvzdbl/Kvz_TPianoBaseRighe.h"

namespace {
const char* const kSource = "Kvz_TPianoBaseRighe";

// The record and the record on a given connection share the table's columns.
template <class Rec>
void SetUpperCaseColumns(Rec& r)
{
	r.f_ContoKvz.SetUpperCase(TRUE);
	r.f_CentroCommessa.SetUpperCase(TRUE);
}

template <class Rec>
void BindColumns(Rec& r, RecordBinder& b)
{
	b.Key("IDPianoBase", r.f_IDPianoBase);
	b.Key("Mese", r.f_Mese);
	b.Col("ContoKvz", r.f_ContoKvz);
	b.Col("CentroCommessa", r.f_CentroCommessa);
	b.Col("TipoCentroComm", r.f_TipoCentroComm);
	b.Col("TipoMastro", r.f_TipoMastro);
	b.Col("Esercizio", r.f_Esercizio);
	b.Col("SaldoContabile", r.f_SaldoContabile);
	b.Col("SaldoPrecedente", r.f_SaldoPrecedente);
	b.Col("SaldoDiffAccettato", r.f_SaldoDiffAccettato);
	b.Col("ImportoRateo", r.f_ImportoRateo);
	b.Col("RateoDaPrevisionale", r.f_RateoDaPrevisionale);
	b.Col("TotaleAssestato", r.f_TotaleAssestato);
	b.Col("GiaImportato", r.f_GiaImportato);
	b.Col("BkpSaldoContabile", r.f_BkpSaldoContabile);
	b.Col("BkpImportoRateo", r.f_BkpImportoRateo);
	b.Col("BkpTotaleAssestato", r.f_BkpTotaleAssestato);
}
}  // namespace

Kvz_TPianoBaseRighe::Kvz_TPianoBaseRighe(BOOL bCallInit) : SqlRecord(GetStaticName(), nullptr, TABLE_TYPE, FALSE)
{
	SetUpperCaseColumns(*this);
	BindRecord();
	if (bCallInit)
		Init();
}

void Kvz_TPianoBaseRighe::BindRecord()
{
	RecordBinder b(*this);
	BindColumns(*this, b);
	b.End();
	// The valuation filters on year, account (equal, range or pattern), cost centre/job and
	// a month range; the adjustment tools on year and account.
	AddIndex({"Esercizio", "ContoKvz", "CentroCommessa", "Mese"});
}

Kvz_TEnhPianoBaseRighe::Kvz_TEnhPianoBaseRighe(BOOL bCallInit) : Kvz_TPianoBaseRighe(FALSE)
{
	Kvz_TEnhPianoBaseRighe::BindRecord();
	if (bCallInit)
		Init();
}

void Kvz_TEnhPianoBaseRighe::BindRecord()
{
	RecordBinder b(*this);
	BIND_LOCAL(b, "StatuzBmp", l_StatusBmp, 0);
	BIND_LOCAL(b, "ProgSaldo", l_ProgSaldoContabile, 0);
	BIND_LOCAL(b, "ProgRateo", l_ProgImportoRateo, 0);
	BIND_LOCAL(b, "ProgTotaleAss", l_ProgTotaleAssestato, 0);
	BIND_LOCAL(b, "OldProgRateo", l_OldProgImportoRateo, 0);
	BIND_LOCAL(b, "ConsuntAnnoPrec", l_ConsuntAnnoPrec, 0);
	BIND_LOCAL(b, "BudgetAnnoCorr", l_BudgetAnnoCorr, 0);
	BIND_LOCAL(b, "ProgConsuntAnnoPrec", l_ProgConsuntAnnoPrec, 0);
	BIND_LOCAL(b, "ProgBudgetAnnoCorr", l_ProgBudgetAnnoCorr, 0);
	BIND_LOCAL(b, "ConDettaglio", l_ConDettaglio, 0);
	BIND_LOCAL(b, "OldImp", l_OldImportoRateo, 0);
	BIND_LOCAL(b, "OldTot", l_OldTotaleAssestato, 0);
	b.End();
}

Kvz_TPBaseR_Ext::Kvz_TPBaseR_Ext(BOOL bCallInit) : Kvz_TPBaseR_Ext(nullptr, bCallInit) {}

Kvz_TPBaseR_Ext::Kvz_TPBaseR_Ext(SqlConnection* pConnection, BOOL bCallInit)
	: SqlRecord(GetStaticName(), pConnection, TABLE_TYPE, FALSE)
{
	SetUpperCaseColumns(*this);
	BindRecord();
	if (bCallInit)
		Init();
}

void Kvz_TPBaseR_Ext::BindRecord()
{
	RecordBinder b(*this);
	BindColumns(*this, b);
	b.End();
}

Jex_TRPianoBaseRighe::Jex_TRPianoBaseRighe(CBaseDocument* pDocument)
	: KeyedReader(Kvz_TEnhPianoBaseRighe::GetThisClass(), pDocument)
{
	m_Keys.Add("p1", "IDPianoBase", m_IDPianoBase);
	m_Keys.Add("p2", "Mese", m_Mese, false);
}

TableReader::FindResult Jex_TRPianoBaseRighe::FindRecord(const DataLng& aIDPianoBase, const DataInt& aMese)
{
	m_IDPianoBase = aIDPianoBase;
	m_Mese = aMese;
	return TableReader::FindRecord();
}

Kvz_TEnhPianoBaseRighe* Jex_TRPianoBaseRighe::GetRecord() const
{
	return TypedRecord<Kvz_TEnhPianoBaseRighe>("m_pRecord->IsKindOf((Kvz_TEnhPianoBaseRighe::GetThisClass()))",
											   "Jex_TRPianoBaseRighe::GetRecord", kSource);
}

Jex_TUPianoBaseRighe::Jex_TUPianoBaseRighe(CBaseDocument* pDocument, CMessages* pMessages)
	: KeyedUpdater(Kvz_TEnhPianoBaseRighe::GetThisClass(), pDocument, pMessages)
{
	m_Keys.Add("p1", "IDPianoBase", m_IDPianoBase);
	m_Keys.Add("p2", "Mese", m_Mese, false);
}

TableReader::FindResult Jex_TUPianoBaseRighe::FindRecord(const DataLng& aIDPianoBase, const DataInt& aMese, BOOL bLock)
{
	m_IDPianoBase = aIDPianoBase;
	m_Mese = aMese;
	return TableUpdater::FindRecord(bLock, nullptr);
}

Kvz_TEnhPianoBaseRighe* Jex_TUPianoBaseRighe::GetRecord() const
{
	return TypedRecord<Kvz_TEnhPianoBaseRighe>("m_pRecord->IsKindOf((Kvz_TEnhPianoBaseRighe::GetThisClass()))",
											   "Jex_TUPianoBaseRighe::GetRecord", kSource);
}

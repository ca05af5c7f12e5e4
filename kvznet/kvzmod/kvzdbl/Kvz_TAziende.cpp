#include "kvznet/kvzmod/kvzdbl/Kvz_TAziende.h"

#include "platform/plvges/CodeLookup.h"

namespace {
const char* const kSource = "Kvz_TAziende";
}

Kvz_TAziende::Kvz_TAziende(BOOL bCallInit) : SqlRecord(GetStaticName(), nullptr, TABLE_TYPE, FALSE)
{
	f_Azienda.SetUpperCase(TRUE);
	BindRecord();
	if (bCallInit)
		Init();
}

void Kvz_TAziende::BindRecord()
{
	RecordBinder b(*this);
	b.Key("Azienda", f_Azienda);
	b.Col("Descrizione", f_Descrizione);
	b.Col("DataSource", f_DataSource);
	b.Col("Server", f_Server);
	b.Col("UserID", f_UserID);
	b.Col("Password", f_Password);
	b.Col("ConnectionString", f_ConnectionString);
	b.End();
}

Kvz_EnhAziende::Kvz_EnhAziende(BOOL bCallInit) : Kvz_TAziende(FALSE)
{
	Kvz_EnhAziende::BindRecord();
	if (bCallInit)
		Init();
}

void Kvz_EnhAziende::BindRecord()
{
	RecordBinder b(*this);
	BIND_LOCAL(b, "Sel", l_Selected, 0);
	b.End();
}

// ---- reader ------------------------------------------------------------------------------------

Kvz_TRAziende::Kvz_TRAziende(CBaseDocument* pDocument) : KeyedReader(Kvz_TAziende::GetThisClass(), pDocument)
{
	m_Keys.Add("p1", "Azienda", m_Azienda);
}

TableReader::FindResult Kvz_TRAziende::FindRecord(const DataStr& aAzienda)
{
	m_Azienda = aAzienda;
	return TableReader::FindRecord();
}

Kvz_TAziende* Kvz_TRAziende::GetRecord() const
{
	return TypedRecord<Kvz_TAziende>("m_pRecord->IsKindOf((Kvz_TAziende::GetThisClass()))", "Kvz_TRAziende::GetRecord",
									 kSource);
}

// ---- hotlink -----------------------------------------------------------------------------------

Kvz_HKLAziende::Kvz_HKLAziende() : HotKeyLink(Kvz_TAziende::GetThisClass(), CString(), nullptr) {}

BOOL Kvz_HKLAziende::Customize(const DataObjArray&)
{
	return TRUE;
}

Kvz_TAziende* Kvz_HKLAziende::GetRecord() const
{
	SqlRecord* p = HotKeyLink::GetRecord();
	ASSERT_RELEASE_TRACE(p && p->IsKindOf((Kvz_TAziende::GetThisClass())), "Kvz_HKLAziende::GetRecord", kSource);
	return static_cast<Kvz_TAziende*>(p);
}

DataObj* Kvz_HKLAziende::GetDataObj() const
{
	return &GetRecord()->f_Azienda;
}

void Kvz_HKLAziende::OnDefineQuery(int nSelectionType)
{
	Kvz_TAziende* pRec = GetRecord();
	m_pTable->SelectAll();
	DefineCodeLookup(*m_pTable, nSelectionType, "p1", pRec->f_Azienda, pRec->f_Descrizione);
}

void Kvz_HKLAziende::OnPrepareQuery(DataObj* pValue, int nSelectionType)
{
	ASSERT_RELEASE_TRACE(pValue && pValue->IsKindOf((DataStr::GetThisClass())), "Kvz_HKLAziende::OnPrepareQuery",
						 kSource);
	PrepareCodeLookup(*m_pTable, nSelectionType, "p1", *pValue);
}

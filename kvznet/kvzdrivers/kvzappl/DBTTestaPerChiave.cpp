#include "kvznet/kvzdrivers/kvzappl/DBTTestaPerChiave.h"

#include <memory>

#include "platform/plvges/CAbstractFormDoc.h"
#include "platform/plvoledb/SqlTable.h"

namespace {
DataObj& Colonna(const SqlRecord& rec, const CString& strNome)
{
	return *rec.GetDataObjFromColumnName(strNome);
}
}  // namespace

bool EsisteChiave(CAbstractFormDoc* pDoc, const SqlRecord& rec)
{
	std::unique_ptr<SqlRecord> pLetto(rec.Create());
	if (!pLetto)
		return false;
	SqlTable table(pLetto.get(), pDoc->GetReadOnlySqlSession(), pDoc);
	table.Open(FALSE, FALSE, TRUE);
	table.SelectAll();
	for (const CString& k : rec.GetPrimaryKey())
	{
		table.AddParam(k, Colonna(*pLetto, k));
		table.AddFilterColumn(Colonna(*pLetto, k));
	}
	for (const CString& k : rec.GetPrimaryKey())
		table.SetParamValue(k, Colonna(rec, k));
	table.Query();
	const bool bTrovato = !table.IsEOF();
	table.Close();
	return bTrovato;
}

// ---- head --------------------------------------------------------------------------------------

void DBTTestaPerChiave::OnDisableControlsForEdit()
{
	for (const CString& k : GetRecord()->GetPrimaryKey())
		Colonna(*GetRecord(), k).SetReadOnly(TRUE);
}

void DBTTestaPerChiave::OnDefineQuery()
{
	m_pTable->SelectAll();
	for (const CString& k : GetRecord()->GetPrimaryKey())
	{
		m_pTable->AddParam(k, Colonna(*GetRecord(), k));
		m_pTable->AddFilterColumn(Colonna(*GetRecord(), k));
	}
}

void DBTTestaPerChiave::OnPrepareQuery()
{
	for (const CString& k : GetRecord()->GetPrimaryKey())
		m_pTable->SetParamValue(k, Colonna(*GetRecord(), k));
}

// ---- rows --------------------------------------------------------------------------------------

SqlRecord* DBTRigheDellaTesta::GetRecordTesta() const
{
	return GetDocument()->GetMaster()->GetRecord();
}

void DBTRigheDellaTesta::CopiaChiaveTesta(SqlRecord* pRec) const
{
	const SqlRecord* pTesta = GetRecordTesta();
	for (const CString& k : pTesta->GetPrimaryKey())
		Colonna(*pRec, k).Assign(Colonna(*pTesta, k));
}

void DBTRigheDellaTesta::OnDefineQuery()
{
	SqlRecord* pRec = GetRecord();
	const std::vector<CString>& chiave = GetRecordTesta()->GetPrimaryKey();
	m_pTable->SelectAll();
	for (const CString& k : chiave)
	{
		m_pTable->AddParam(k, Colonna(*pRec, k));
		m_pTable->AddFilterColumn(Colonna(*pRec, k));
	}
	for (const CString& k : chiave)
		m_pTable->AddSortColumn(Colonna(*pRec, k));
	AddOrder(pRec);
}

void DBTRigheDellaTesta::OnPrepareQuery()
{
	const SqlRecord* pTesta = GetRecordTesta();
	for (const CString& k : pTesta->GetPrimaryKey())
		m_pTable->SetParamValue(k, Colonna(*pTesta, k));
}

void DBTRigheDellaTesta::OnPreparePrimaryKey(int, SqlRecord* pRec)
{
	CopiaChiaveTesta(pRec);
}

#include "kvznet/kvzdrivers/kvzappl/DKvzDriversMagazzini.h"

#include "kvznet/kvzdrivers/kvzappl/DBTTestaPerChiave.h"
#include "platform/plvgeneric/Application.h"
#include "platform/plvgeneric/Interaction.h"

namespace {
const char* const kSource = "DKvzDriversMagazzini";

CString Testo(LPCTSTR sz)
{
	return AfxLoadSourceString(sz, kSource);
}
}  // namespace

DBTKvzDriversMagazzini::DBTKvzDriversMagazzini(CAbstractFormDoc* pDocument)
	: DBTMaster(TKvzDriversMagazzini::GetThisClass(), pDocument, _T("KvzDriversMagazzini"))
{
}

TKvzDriversMagazzini* DBTKvzDriversMagazzini::GetKvzDriversMagazzini() const
{
	return static_cast<TKvzDriversMagazzini*>(GetRecord());
}

void DBTKvzDriversMagazzini::OnEnableControlsForFind()
{
	GetKvzDriversMagazzini()->f_CodMagazzino.SetFindable(TRUE);
	GetKvzDriversMagazzini()->f_Descrizione.SetFindable(TRUE);
}

void DBTKvzDriversMagazzini::OnDisableControlsForEdit()
{
	GetKvzDriversMagazzini()->f_CodMagazzino.SetReadOnly(TRUE);
}

void DBTKvzDriversMagazzini::OnDefineQuery()
{
	TKvzDriversMagazzini* pRec = GetKvzDriversMagazzini();
	m_pTable->SelectAll();
	m_pTable->AddParam(_T("CodMagazzino"), pRec->f_CodMagazzino);
	m_pTable->AddFilterColumn(pRec->f_CodMagazzino);
}

void DBTKvzDriversMagazzini::OnPrepareQuery()
{
	m_pTable->SetParamValue(_T("CodMagazzino"), GetKvzDriversMagazzini()->f_CodMagazzino);
}

BOOL DBTKvzDriversMagazzini::OnCheckPrimaryKey()
{
	return !(GetKvzDriversMagazzini()->f_CodMagazzino.IsEmpty() && SetError(Testo(szEmptyPrimaryKeySegment)));
}

void DBTKvzDriversMagazzini::OnPrepareBrowser(SqlTable* pTable)
{
	pTable->SelectAll();
	pTable->AddSortColumn(GetKvzDriversMagazzini()->f_CodMagazzino);
}

DBTKvzDriversMagazzini* DKvzDriversMagazzini::GetDBTKvzDriversMagazzini() const
{
	return static_cast<DBTKvzDriversMagazzini*>(GetMaster());
}

BOOL DKvzDriversMagazzini::OnAttachData()
{
	SetFormTitle(Testo(_T("Magazzini")));
	return Attach(new DBTKvzDriversMagazzini(this));
}

// A new warehouse under a code that exists: the reason, before the database's key refuses it.
BOOL DKvzDriversMagazzini::OnOkTransaction()
{
	const TKvzDriversMagazzini* pRec = GetDBTKvzDriversMagazzini()->GetKvzDriversMagazzini();
	if (GetFormMode() != NEW || !EsisteChiave(this, *pRec))
		return TRUE;
	AfxMessageBox(CString::Formatted(Testo(_T("Il magazzino %s esiste gia'.")), pRec->f_CodMagazzino.GetString().GetString()),
				  MB_OK | MB_ICONWARNING);
	SetCtrlFocus(IDC_KVZMAGAZZINI_CODICE);
	return FALSE;
}

void DKvzDriversMagazziniView::BuildDataControlLinks()
{
	auto* pDoc = static_cast<DKvzDriversMagazzini*>(GetDocument());
	TKvzDriversMagazzini* pRec = pDoc->GetDBTKvzDriversMagazzini()->GetKvzDriversMagazzini();
	AddLink(IDC_KVZMAGAZZINI_CODICE, Testo(_T("Codice")), RUNTIME_CLASS(CStrEdit), &pRec->f_CodMagazzino);
	AddLink(IDC_KVZMAGAZZINI_DESCRIZIONE, Testo(_T("Descrizione")), RUNTIME_CLASS(CStrEdit), &pRec->f_Descrizione);
	DataStr* note[] = {&pRec->f_Nota1, &pRec->f_Nota2, &pRec->f_Nota3, &pRec->f_Nota4};
	for (UINT i = 0; i < 4; ++i)
		AddLink(IDC_KVZMAGAZZINI_NOTA1 + i, CString::Formatted("Nota%u", i + 1), RUNTIME_CLASS(CStrEdit), note[i]);
}

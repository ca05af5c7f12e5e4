#include "kvznet/kvzmod/kvzcomponents/Kvz_ADMBudgetObj.h"

#include "kvznet/kvzmod/kvzdbl/Kvz_TBudgetTesta.h"
#include "platform/plvges/CAbstractFormDoc.h"
#include "platform/plvgenlib/LibraryEntry.h"

const LPCTSTR Kvz_ADMBudgetObj::admKvz_ADMBudgetObj = _T("Kvz_ADMBudgetObj");

Kvz_ADMBudgetObj::Kvz_ADMBudgetObj() = default;

Kvz_ADMBudgetObj::Kvz_ADMBudgetObj(const Kvz_ADMBudgetObj& other) = default;

Kvz_ADMBudgetObj& Kvz_ADMBudgetObj::operator=(const Kvz_ADMBudgetObj& other) = default;

Kvz_ADMBudgetObj::~Kvz_ADMBudgetObj() = default;

const LPCTSTR* Kvz_ADMBudgetObj::GetADMClass() const
{
	return &admKvz_ADMBudgetObj;
}

Kvz_ADMBudgetObj* Kvz_ADMBudgetObj::ApriDocumentoBudget(LPCTSTR lpszNamespace, CBaseDocument* pCallerDocument)
{
	CPlvCommandInterface* pCmd = AfxGetPlvCmdManager();
	if (!pCmd)
		return nullptr;
	ADMObj* pADM = pCmd->RunADMDocument(admKvz_ADMBudgetObj, _T("Default"), lpszNamespace, nullptr, pCallerDocument);
	return dynamic_cast<Kvz_ADMBudgetObj*>(pADM);
}

BOOL Kvz_ADMBudgetObj::MostraBudget(const DataLng& aIDBudget)
{
	auto* pTesta = dynamic_cast<Kvz_TBudgetTesta*>(GetBudgetTesta());
	CAbstractFormDoc* pDoc = GetDocument();
	if (!pTesta || !pDoc)
		return FALSE;
	pTesta->f_IDBudget = aIDBudget;
	return pDoc->BrowseRecord(TRUE, 0);
}

#include "kvznet/kvzmod/kvzdocuments/registri/Kvz_CDeCodBudgetDoc.h"

#include <new>

#include "platform/plvgeneric/Application.h"

namespace {
const char* const kSource = "Kvz_CDeCodBudgetDoc";
}

Kvz_DBTCodiciBudget::Kvz_DBTCodiciBudget(CAbstractFormDoc* pDocument)
	: Kvz_DBTCodeList(Kvz_TCodiciBudget::GetThisClass(), pDocument, _T("DBTCodiciBudget"),
					  {{_T("CodiceBudget"), _TB("Indicare il codice budget.")}}, {_T("CodiceBudget"), _T("Descrizione")})
{
}

BOOL Kvz_CDeCodBudgetDoc::OnAttachData()
{
	SetFormTitle(AfxLoadSourceString(_TB("Codici budget"), kSource));
	return Attach(new (std::nothrow) Kvz_DBTCodiciBudget(this));
}

void Kvz_CDeCodBudgetView::BuildDataControlLinks()
{
	Kvz_TCodiciBudget* pRec = static_cast<Kvz_CDeCodBudgetDoc*>(GetDocument())->GetCodiciBudget();
	AddLink(IDC_CODBUDGET_CODICE, _T("Codice budget"), RUNTIME_CLASS(CStrEdit), &pRec->f_CodiceBudget);
	AddLink(IDC_CODBUDGET_DESCRIZIONE, _T("Descrizione"), RUNTIME_CLASS(CStrEdit), &pRec->f_Descrizione);
}

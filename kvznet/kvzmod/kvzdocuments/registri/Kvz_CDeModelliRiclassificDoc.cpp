#include "kvznet/kvzmod/kvzdocuments/registri/Kvz_CDeModelliRiclassificDoc.h"

#include <new>

#include "platform/plvgeneric/Application.h"

namespace {
const char* const kSource = "Kvz_CDeModelliRiclassificDoc";
}

Kvz_DBTModelliRiclass::Kvz_DBTModelliRiclass(CAbstractFormDoc* pDocument)
	: Kvz_DBTCodeList(Kvz_TModelliRiclassificazione::GetThisClass(), pDocument, _T("DBTModelliRiclass"),
					  {{_T("ModelloRiclassific"), _TB("Indicare il modello.")}}, {_T("ModelloRiclassific"), _T("Descrizione")})
{
}

BOOL Kvz_CDeModelliRiclassificDoc::OnAttachData()
{
	SetFormTitle(AfxLoadSourceString(_TB("Modelli di riclassificazione"), kSource));
	return Attach(new (std::nothrow) Kvz_DBTModelliRiclass(this));
}

void Kvz_CDeModelliRiclassificView::BuildDataControlLinks()
{
	Kvz_TModelliRiclassificazione* pRec = static_cast<Kvz_CDeModelliRiclassificDoc*>(GetDocument())->GetModelliRiclassificazione();
	AddLink(IDC_MODELLI_CODICE, _T("Modello"), RUNTIME_CLASS(CStrEdit), &pRec->f_ModelloRiclassific);
	AddLink(IDC_MODELLI_DESCRIZIONE, _T("Descrizione"), RUNTIME_CLASS(CStrEdit), &pRec->f_Descrizione);
}

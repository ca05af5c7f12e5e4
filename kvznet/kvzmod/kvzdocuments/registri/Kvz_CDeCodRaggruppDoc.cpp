#include "kvznet/kvzmod/kvzdocuments/registri/Kvz_CDeCodRaggruppDoc.h"

#include <new>

#include "platform/plvgeneric/Application.h"

namespace {
const char* const kSource = "Kvz_CDeCodRaggruppDoc";
}

Kvz_DBTCodRaggrupp::Kvz_DBTCodRaggrupp(CAbstractFormDoc* pDocument)
	: Kvz_DBTCodeList(Kvz_TCodRaggrupp::GetThisClass(), pDocument, _T("DBTCodRaggrupp"),
					  {{_T("CodRaggrupp"), _TB("Indicare il codice del raggruppamento.")}}, {_T("CodRaggrupp"), _T("Descrizione")})
{
}

BOOL Kvz_CDeCodRaggruppDoc::OnAttachData()
{
	SetFormTitle(AfxLoadSourceString(_TB("Codici di raggruppamento"), kSource));
	return Attach(new (std::nothrow) Kvz_DBTCodRaggrupp(this));
}

void Kvz_CDeCodRaggruppView::BuildDataControlLinks()
{
	Kvz_TCodRaggrupp* pRec = static_cast<Kvz_CDeCodRaggruppDoc*>(GetDocument())->GetCodRaggrupp();
	AddLink(IDC_CODRAGGR_CODICE, _T("Codice raggruppamento"), RUNTIME_CLASS(CStrEdit), &pRec->f_CodRaggrupp);
	AddLink(IDC_CODRAGGR_DESCRIZIONE, _T("Descrizione"), RUNTIME_CLASS(CStrEdit), &pRec->f_Descrizione);
}

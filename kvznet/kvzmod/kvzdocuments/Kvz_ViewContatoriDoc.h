#pragma once
// Where each code is used in formulas. Template "BDViewContatori".
#include "platform/plvges/FormViews.h"

// Opens the counters view on the calling document (the extra-accounting codes register, the
// monthly formulas, the models document or the adjustment selection), which fixes its
// selection; null when it did not open (another caller, no command manager).
CBaseDocument* Kvz_ApriContatori(CAbstractFormDoc* pCaller);

class Kvz_ViewContatoriDoc : public CAbstractFormDoc
{
	DECLARE_DYNCREATE(Kvz_ViewContatoriDoc, CAbstractFormDoc)
};

class Kvz_ViewContatoriView : public CAbstractFormView
{
	DECLARE_DYNCREATE(Kvz_ViewContatoriView, CAbstractFormView)
public:
	Kvz_ViewContatoriView() : CAbstractFormView(_T("Kvz_ViewContatoriView")) {}
};

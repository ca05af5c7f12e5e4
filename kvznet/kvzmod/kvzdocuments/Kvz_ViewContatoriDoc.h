#pragma once
// Where each code is used in formulas. Template "BDViewContatori".
#include "platform/plvges/FormViews.h"

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

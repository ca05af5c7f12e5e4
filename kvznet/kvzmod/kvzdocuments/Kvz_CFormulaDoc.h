#pragma once
// The formula editor. Template "BDFormula".
#include "platform/plvges/FormViews.h"

class Kvz_CFormulaDoc : public CAbstractFormDoc
{
	DECLARE_DYNCREATE(Kvz_CFormulaDoc, CAbstractFormDoc)
};

class Kvz_CFormulaView : public CAbstractFormView
{
	DECLARE_DYNCREATE(Kvz_CFormulaView, CAbstractFormView)
public:
	Kvz_CFormulaView() : CAbstractFormView(_T("Kvz_CFormulaView")) {}
};

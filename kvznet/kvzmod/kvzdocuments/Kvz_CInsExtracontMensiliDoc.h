#pragma once
// Monthly formulas of an extra-accounting code. Template "BDInsExtracontMensili".
#include "platform/plvges/FormViews.h"

class Kvz_CInsExtracontMensiliDoc : public CAbstractFormDoc
{
	DECLARE_DYNCREATE(Kvz_CInsExtracontMensiliDoc, CAbstractFormDoc)
};

class Kvz_CInsExtracontMensiliView : public CAbstractFormView
{
	DECLARE_DYNCREATE(Kvz_CInsExtracontMensiliView, CAbstractFormView)
public:
	Kvz_CInsExtracontMensiliView() : CAbstractFormView(_T("Kvz_CInsExtracontMensiliView")) {}
};

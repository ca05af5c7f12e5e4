#pragma once
// The extra-accounting codes register. Template "DCodExtracont".
#include "platform/plvges/FormViews.h"

class Kvz_CDeCodExtracontDoc : public CAbstractFormDoc
{
	DECLARE_DYNCREATE(Kvz_CDeCodExtracontDoc, CAbstractFormDoc)
};

class Kvz_CDeCodExtracontView : public CMasterFormView
{
	DECLARE_DYNCREATE(Kvz_CDeCodExtracontView, CMasterFormView)
public:
	Kvz_CDeCodExtracontView() : CMasterFormView(_T("Kvz_CDeCodExtracontView")) {}
};

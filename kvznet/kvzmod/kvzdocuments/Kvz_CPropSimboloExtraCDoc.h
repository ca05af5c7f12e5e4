#pragma once
// Definition of an extra-accounting symbol. Template "BDPropSimboloExtraC".
#include "platform/plvges/FormViews.h"

class Kvz_CPropSimboloExtraCDoc : public CAbstractFormDoc
{
	DECLARE_DYNCREATE(Kvz_CPropSimboloExtraCDoc, CAbstractFormDoc)
};

class Kvz_CPropSimboloExtraCView : public CAbstractFormView
{
	DECLARE_DYNCREATE(Kvz_CPropSimboloExtraCView, CAbstractFormView)
public:
	Kvz_CPropSimboloExtraCView() : CAbstractFormView(_T("Kvz_CPropSimboloExtraCView")) {}
};

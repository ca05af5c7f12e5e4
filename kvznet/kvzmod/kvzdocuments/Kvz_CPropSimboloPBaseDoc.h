#pragma once
// Definition of a base-plan symbol. Template "BDPropSimboloPBase".
#include "platform/plvges/FormViews.h"

class Kvz_CPropSimboloPBaseDoc : public CAbstractFormDoc
{
	DECLARE_DYNCREATE(Kvz_CPropSimboloPBaseDoc, CAbstractFormDoc)
};

class Kvz_CPropSimboloPBaseView : public CAbstractFormView
{
	DECLARE_DYNCREATE(Kvz_CPropSimboloPBaseView, CAbstractFormView)
public:
	Kvz_CPropSimboloPBaseView() : CAbstractFormView(_T("Kvz_CPropSimboloPBaseView")) {}
};

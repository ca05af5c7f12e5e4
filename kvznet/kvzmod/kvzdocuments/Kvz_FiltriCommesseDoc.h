#pragma once
// The cost-centre and job filter. Template "FiltriCommesse".
#include "platform/plvges/FormViews.h"

class Kvz_FiltriCommesseDoc : public CAbstractFormDoc
{
	DECLARE_DYNCREATE(Kvz_FiltriCommesseDoc, CAbstractFormDoc)
};

class Kvz_FiltriCommesseView : public CAbstractFormView
{
	DECLARE_DYNCREATE(Kvz_FiltriCommesseView, CAbstractFormView)
public:
	Kvz_FiltriCommesseView() : CAbstractFormView(_T("Kvz_FiltriCommesseView")) {}
};

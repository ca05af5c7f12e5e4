#pragma once
// Entry of monthly balances. Its procedure is not there yet: the
// document opens with its title, runs nothing and closes.
#include "platform/plvges/FormViews.h"

class Kvz_CInsSaldiMensiliDoc : public CAbstractFormDoc
{
	DECLARE_DYNCREATE(Kvz_CInsSaldiMensiliDoc, CAbstractFormDoc)
public:
	BOOL OnAttachData() override;
};

class Kvz_CInsSaldiMensiliView : public CMasterFormView
{
	DECLARE_DYNCREATE(Kvz_CInsSaldiMensiliView, CMasterFormView)
};

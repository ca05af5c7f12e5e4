#pragma once
// Assigns linked balance-sheet accounts to grouped accounts. Its procedure is not there yet: the
// document opens with its title, runs nothing and closes.
#include "platform/plvges/FormViews.h"

class Kvz_AssegnaContoPatrimDoc : public CAbstractFormDoc
{
	DECLARE_DYNCREATE(Kvz_AssegnaContoPatrimDoc, CAbstractFormDoc)
public:
	BOOL OnAttachData() override;
};

class Kvz_AssegnaContoPatrimView : public CMasterFormView
{
	DECLARE_DYNCREATE(Kvz_AssegnaContoPatrimView, CMasterFormView)
};

#pragma once
// The base plan of a grouped account: monthly balances and adjustments. Template "DPianoBase".
#include "platform/plvges/FormViews.h"

class Kvz_CPianoBaseDoc : public CAbstractFormDoc
{
	DECLARE_DYNCREATE(Kvz_CPianoBaseDoc, CAbstractFormDoc)
};

class Kvz_CPianoBaseView : public CMasterFormView
{
	DECLARE_DYNCREATE(Kvz_CPianoBaseView, CMasterFormView)
public:
	Kvz_CPianoBaseView() : CMasterFormView(_T("Kvz_CPianoBaseView")) {}
};

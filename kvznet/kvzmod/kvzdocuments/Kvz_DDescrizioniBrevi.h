#pragma once
// Short descriptions of reclassified codes. Template "DDescrizioniBrevi".
#include "platform/plvges/FormViews.h"

class Kvz_DDescrizioniBrevi : public CAbstractFormDoc
{
	DECLARE_DYNCREATE(Kvz_DDescrizioniBrevi, CAbstractFormDoc)
};

class Kvz_DescrizioniBreviView : public CAbstractFormView
{
	DECLARE_DYNCREATE(Kvz_DescrizioniBreviView, CAbstractFormView)
public:
	Kvz_DescrizioniBreviView() : CAbstractFormView(_T("Kvz_DescrizioniBreviView")) {}
};

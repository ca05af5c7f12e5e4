#pragma once
// Duplicates a year's grouped accounts into a new year. Its procedure is not there yet: the
// document opens with its title, runs nothing and closes.
#include "platform/plvges/FormViews.h"

class Kvz_CDuplicaContiEsercizioDoc : public CAbstractFormDoc
{
	DECLARE_DYNCREATE(Kvz_CDuplicaContiEsercizioDoc, CAbstractFormDoc)
public:
	BOOL OnAttachData() override;
};

class Kvz_CDuplicaContiEsercizioView : public CMasterFormView
{
	DECLARE_DYNCREATE(Kvz_CDuplicaContiEsercizioView, CMasterFormView)
};

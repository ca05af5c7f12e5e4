#pragma once
// Copies a year's grouped accounts, and on request their cost centres and jobs, into another
// year: accounts already there are overwritten, the others added, none deleted.
#include "platform/plvges/FormViews.h"

class Kvz_CDuplicaContiEsercizioDoc : public CAbstractFormDoc
{
	DECLARE_DYNCREATE(Kvz_CDuplicaContiEsercizioDoc, CAbstractFormDoc)
public:
	Kvz_CDuplicaContiEsercizioDoc();

	BOOL OnAttachData() override;
	void OnBatchExecute() override;
	// The form stays as it is while the batch runs.
	void DisableControlsForBatch() override {}

	DataInt m_EsercizioDa;
	DataInt m_EsercizioA;
	DataStr m_StatoElab;
	DataLng m_ContatoreConti;  // accounts copied by the last run
	DataBool m_AncheCommCdc;

protected:
	void DuplicaPdc();
};

class Kvz_CDuplicaContiEsercizioView : public CMasterFormView
{
	DECLARE_DYNCREATE(Kvz_CDuplicaContiEsercizioView, CMasterFormView)
public:
	Kvz_CDuplicaContiEsercizioView() : CMasterFormView(_T("DuplicaContiEsercizio"), 31803) {}
	void BuildDataControlLinks() override;
};

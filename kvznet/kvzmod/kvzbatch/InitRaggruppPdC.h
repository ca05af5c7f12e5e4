#pragma once
// Grouping initialisation: a row of grouping data for every account of the host's chart of
// accounts (grouped at the deepest level of the host's code structure), and the module
// parameters with that structure when they are missing.
#include "platform/erp/erpbasedbl/TChartOfAccountParameters.h"
#include "platform/plvges/FormViews.h"

class Kvz_CInitRaggruppPdCDoc : public CAbstractFormDoc
{
	DECLARE_DYNCREATE(Kvz_CInitRaggruppPdCDoc, CAbstractFormDoc)
public:
	Kvz_CInitRaggruppPdCDoc();

	BOOL OnAttachData() override;
	void OnBatchExecute() override;
	// The form stays as it is while the batch runs.
	void DisableControlsForBatch() override {}

	DataBool m_TuttiPdC;  // reset rows already there to the defaults too
	DataStr m_StatoElab;

protected:
	void InitRaggruppPdC();
	void CreaParametri();

	TChartOfAccountParameters m_ParametriPdC;
	long m_nInizializzati = 0;  // rows written by the run
};

class Kvz_CInitRaggruppPdCView : public CMasterFormView
{
	DECLARE_DYNCREATE(Kvz_CInitRaggruppPdCView, CMasterFormView)
public:
	Kvz_CInitRaggruppPdCView() : CMasterFormView(_T("InitRaggruppPdC"), 31780) {}
	void BuildDataControlLinks() override;
};

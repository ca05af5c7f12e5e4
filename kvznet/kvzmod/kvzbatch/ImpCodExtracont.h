#pragma once
// Imports extra-accounting codes and their monthly formulas from a fixed-width text file (see
// RigaCodExtracont.h): a new code takes the description of its first line, an existing one
// keeps its own; each line writes one formula of one month. A line that cannot be read is
// refused, named in the messages, and the import goes on with the next one.
#include "platform/plvges/FormViews.h"

class CLineFile;

class Kvz_CImpCodExtracontDoc : public CAbstractFormDoc
{
	DECLARE_DYNCREATE(Kvz_CImpCodExtracontDoc, CAbstractFormDoc)
	DECLARE_MESSAGE_MAP()
public:
	Kvz_CImpCodExtracontDoc();
	~Kvz_CImpCodExtracontDoc() override;

	BOOL OnAttachData() override;
	void OnBatchExecute() override;
	void DisableControlsForBatch() override {}

	DataStr m_FileCodici;
	DataStr m_StatoElab;
	DataLng m_Contatore;  // lines read by the last run
	long m_nImportate = 0;  // of which imported
	long m_nScartate = 0;   // and refused (blank lines are neither)

protected:
	void OnSfoglia();
	void ImportaCodici(CLineFile& file);
};

class Kvz_CImpCodExtracontView : public CMasterFormView
{
	DECLARE_DYNCREATE(Kvz_CImpCodExtracontView, CMasterFormView)
public:
	Kvz_CImpCodExtracontView() : CMasterFormView(_T("ImpCodExtracont"), 31806) {}
	void BuildDataControlLinks() override;
};

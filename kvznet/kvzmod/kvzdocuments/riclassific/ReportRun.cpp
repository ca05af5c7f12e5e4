#include "kvznet/kvzmod/kvzdocuments/riclassific/ReportRun.h"

#include <memory>

#include "platform/plvgeneric/Application.h"
#include "platform/plvgenlib/CommandManager.h"
#include "platform/plvges/CAbstractFormDoc.h"
#include "platform/plvrendoviewer/ReportDefinition.h"

namespace kvzdocuments {

BOOL EseguiReportProcedura(CAbstractDoc* pDoc, IDisposablePtr& pReport, const CPLVNamespace& nsReport,
						   const std::function<void(CRendoInfo&)>& setInputs)
{
	if (CRendoDoc* pAperto = pReport.Get())
	{
		CRendoInfo& info = pAperto->GetRendoInfo();
		info.ClearReports();
		info.AddReport(nsReport);
		setInputs(info);
		pAperto->RunReport(TRUE, TRUE);
		return TRUE;
	}
	CPlvCommandInterface* pCmd = AfxGetPlvCmdManager();
	if (!pCmd || !AfxGetReportEngine())
	{
		pDoc->Message(AfxLoadSourceString(_T("Stampa non eseguita: nessun motore di stampa disponibile."), "ReportRun"),
					  CMessages::MSG_WARNING);
		return FALSE;
	}
	auto pInfo = std::make_unique<CRendoInfo>();
	pInfo->SetNamespace(nsReport);
	pInfo->AddReport(nsReport);
	setInputs(*pInfo);
	pInfo->m_bShowAskDialog = FALSE;
	pInfo->m_bShowPreview = FALSE;
	pInfo->m_bShowProgress = FALSE;
	pInfo->m_bUnattended = TRUE;
	pReport = pCmd->RunReport(pInfo.release(), pDoc);
	return TRUE;
}

}  // namespace kvzdocuments

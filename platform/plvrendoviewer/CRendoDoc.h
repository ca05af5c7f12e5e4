#pragma once
// Running reports: the command manager starts a report request (CRendoInfo) with a context
// document; a report document (CRendoDoc) keeps the request and its context and can run it
// again. Rendering is not done here: each run is handed to the report runner, which for now
// records it (tests read what was asked) and says that the report is not rendered.
#include <memory>
#include <mutex>
#include <vector>

#include "platform/plvgenlib/CBaseDocument.h"
#include "platform/plvrendoviewer/CRendoInfo.h"

// What runs a report over its context document.
class IReportRunner
{
public:
	virtual ~IReportRunner() = default;
	// pContext is null when the report has no live context. FALSE: the report did not run.
	virtual BOOL RunReport(const CRendoInfo& info, CBaseDocument* pContext) = 0;
};

// Keeps every request: a copy of the report information and the context it ran with.
class CRecordingReportRunner : public IReportRunner
{
public:
	struct Request
	{
		std::shared_ptr<const CRendoInfo> info;
		CBaseDocument* pContext = nullptr;
		CString contextClass;  // the context's class name, empty without one
	};

	BOOL RunReport(const CRendoInfo& info, CBaseDocument* pContext) override;
	std::vector<Request> Requests() const;
	void Clear();
	// Progress text for each request (the default runner says that nothing is rendered).
	void SetAnnounce(bool bAnnounce) { m_bAnnounce = bAnnounce; }

private:
	mutable std::mutex m_Mutex;
	std::vector<Request> m_Requests;
	bool m_bAnnounce = false;
};

// The runner in force; the default is a recording runner that announces each request.
IReportRunner* AfxGetReportRunner();
// Installs a runner (not owned); null restores the default. Returns the previous one.
IReportRunner* AfxSetReportRunner(IReportRunner* pRunner);

class CRendoDoc : public CBaseDocument
{
	DECLARE_DYNAMIC(CRendoDoc, CBaseDocument)
public:
	CRendoDoc(std::unique_ptr<CRendoInfo> pInfo, CBaseDocument* pContext);
	~CRendoDoc() override;

	// Runs the report with its information over its context (when the context is still open).
	BOOL RunReport(BOOL bWait = TRUE, BOOL bReserved = TRUE);
	const CRendoInfo& GetRendoInfo() const { return *m_pInfo; }
	CRendoInfo& GetRendoInfo() { return *m_pInfo; }
	// The context document, null once it has closed.
	CBaseDocument* GetContext() const;
	int GetRunCount() const { return m_nRuns; }

private:
	std::unique_ptr<CRendoInfo> m_pInfo;
	CBaseDocument* m_pContext;
	int m_nRuns = 0;
};

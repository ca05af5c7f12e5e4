#include "platform/plvrendoviewer/CRendoDoc.h"

#include <algorithm>
#include <atomic>

#include "platform/plvgeneric/Interaction.h"
#include "platform/plvgenlib/CommandManager.h"

namespace {

std::atomic<IReportRunner*> g_pRunner{nullptr};

CRecordingReportRunner& DefaultRunner()
{
	static auto* runner = [] {
		auto* p = new CRecordingReportRunner;  // outlives every document
		p->SetAnnounce(true);
		return p;
	}();
	return *runner;
}

CString ReportNames(const CRendoInfo& info)
{
	CString names;
	for (const CPLVNamespace& ns : info.GetReportsToRun())
	{
		if (!names.IsEmpty())
			names += ", ";
		names += ns.GetPathName();
	}
	return names.IsEmpty() ? CString("(no report)") : names;
}

// Starts reports for the command manager and owns their documents until they close.
class CReportEngine : public IReportEngine, public IDocumentOwner
{
public:
	CReportEngine() { AfxSetReportEngine(this); }
	~CReportEngine() override
	{
		if (AfxGetReportEngine() == this)
			AfxSetReportEngine(nullptr);
		for (CBaseDocument* pDoc : m_Documents)
			delete pDoc;
	}

	CRendoDoc* StartReport(CRendoInfo* pInfo, CBaseDocument* pContext, BOOL bWait) override
	{
		auto pDoc = std::make_unique<CRendoDoc>(std::unique_ptr<CRendoInfo>(pInfo), pContext);
		if (!pDoc->RunReport(bWait))
			return nullptr;
		pDoc->SetOwner(this);
		std::lock_guard lock(m_Mutex);
		m_Documents.push_back(pDoc.get());
		return pDoc.release();
	}

	void EndReport(CRendoDoc* pReport) override
	{
		// Runs are synchronous: a report handed back has ended and closes.
		if (AfxExistWebServiceStateObject(pReport))
			pReport->CloseDocument(TRUE);
	}

	void DestroyDocument(CBaseDocument* pDocument) override
	{
		{
			std::lock_guard lock(m_Mutex);
			auto it = std::find(m_Documents.begin(), m_Documents.end(), pDocument);
			if (it == m_Documents.end())
				return;
			m_Documents.erase(it);
		}
		delete pDocument;
	}

private:
	std::mutex m_Mutex;
	std::vector<CBaseDocument*> m_Documents;
};

CReportEngine g_Engine;

}  // namespace

BOOL CRecordingReportRunner::RunReport(const CRendoInfo& info, CBaseDocument* pContext)
{
	Request r;
	r.info = std::make_shared<const CRendoInfo>(info);
	r.pContext = pContext;
	if (pContext)
		r.contextClass = pContext->GetRuntimeClass()->m_lpszClassName;
	{
		std::lock_guard lock(m_Mutex);
		m_Requests.push_back(std::move(r));
	}
	if (m_bAnnounce)
		AfxSetProgressText(CString::Formatted("Report %s requested (reports are not rendered yet).",
											  ReportNames(info).GetString()));
	return TRUE;
}

std::vector<CRecordingReportRunner::Request> CRecordingReportRunner::Requests() const
{
	std::lock_guard lock(m_Mutex);
	return m_Requests;
}

void CRecordingReportRunner::Clear()
{
	std::lock_guard lock(m_Mutex);
	m_Requests.clear();
}

IReportRunner* AfxGetReportRunner()
{
	IReportRunner* p = g_pRunner.load();
	return p ? p : &DefaultRunner();
}

IReportRunner* AfxSetReportRunner(IReportRunner* pRunner)
{
	IReportRunner* prev = g_pRunner.exchange(pRunner);
	return prev ? prev : &DefaultRunner();
}

CRendoDoc::CRendoDoc(std::unique_ptr<CRendoInfo> pInfo, CBaseDocument* pContext)
	: m_pInfo(pInfo ? std::move(pInfo) : std::make_unique<CRendoInfo>()), m_pContext(pContext)
{
	SetNamespace(m_pInfo->GetNamespace());
}

CRendoDoc::~CRendoDoc() = default;

CBaseDocument* CRendoDoc::GetContext() const
{
	return m_pContext && AfxExistWebServiceStateObject(m_pContext) ? m_pContext : nullptr;
}

BOOL CRendoDoc::RunReport(BOOL, BOOL)
{
	++m_nRuns;
	return AfxGetReportRunner()->RunReport(*m_pInfo, GetContext());
}

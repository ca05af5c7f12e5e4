#pragma once
// Running reports: the command manager starts a report request (CRendoInfo) with a context
// document; a report document (CRendoDoc) keeps the request and its context, runs it (at once,
// or on a worker that a wait joins) and can run it again. Each run is handed to the report
// runner in force: the renderer writes PDF, XLSX or CSV files from the registered report
// definitions; a recording runner only keeps the requests.
#include <atomic>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "platform/plvgenlib/CBaseDocument.h"
#include "platform/plvrendoviewer/CRendoInfo.h"
#include "platform/plvrendoviewer/ReportOutput.h"

// What runs a report over its context document.
class IReportRunner
{
public:
	virtual ~IReportRunner() = default;
	// pContext is null when the report has no live context; hWnd is the window of the thread that
	// started the report, where the exported functions run. FALSE: the report did not run (said).
	virtual BOOL RunReport(const CRendoInfo& info, CBaseDocument* pContext, HWND hWnd) = 0;
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

	BOOL RunReport(const CRendoInfo& info, CBaseDocument* pContext, HWND hWnd) override;
	std::vector<Request> Requests() const;
	void Clear();

private:
	mutable std::mutex m_Mutex;
	std::vector<Request> m_Requests;
};

// Renders each report of a request with its registered definition into files of one format,
// in a folder; a report whose data cannot be read leaves no file.
class CReportRenderer : public IReportRunner
{
public:
	using FileListener = std::function<void(const std::filesystem::path&)>;

	// The form chosen by the user; without one, the report's preferred form or PDF.
	void SetFormat(std::optional<ReportFormat> format);
	std::optional<ReportFormat> GetFormat() const;
	void SetFolder(const std::filesystem::path& folder);
	std::filesystem::path GetFolder() const;
	// Told of each file written, as it is written.
	void SetListener(FileListener listener);

	BOOL RunReport(const CRendoInfo& info, CBaseDocument* pContext, HWND hWnd) override;

	// One report: its files, or an exception with nothing left behind.
	std::vector<std::filesystem::path> Render(const CString& reportNs, const CRendoInfo& info, CObject* pContext,
											  HWND hWnd);

	std::vector<std::filesystem::path> GetWrittenFiles() const;
	CString GetLastError() const;
	// How many reports could not be written since the renderer was made.
	int GetFailedCount() const;

private:
	mutable std::mutex m_Mutex;
	std::optional<ReportFormat> m_Format;
	std::filesystem::path m_Folder;
	FileListener m_Listener;
	std::vector<std::filesystem::path> m_Written;
	CString m_strLastError;
	int m_nFailed = 0;
};

// The runner in force; the default is the renderer, writing PDF into the working folder.
IReportRunner* AfxGetReportRunner();
CReportRenderer* AfxGetReportRenderer();
// Installs a runner (not owned); null restores the default. Returns the previous one.
IReportRunner* AfxSetReportRunner(IReportRunner* pRunner);

class CRendoDoc : public CBaseDocument
{
	DECLARE_DYNAMIC(CRendoDoc, CBaseDocument)
public:
	CRendoDoc(std::unique_ptr<CRendoInfo> pInfo, CBaseDocument* pContext);
	~CRendoDoc() override;  // waits for a run still going

	// Runs the report with its information over its context (when the context is still open).
	// bWait: the run ends before this returns, with its result; otherwise it goes on on a worker
	// (TRUE here, the result comes with Wait). A run still going is waited for first.
	BOOL RunReport(BOOL bWait = TRUE, BOOL bReserved = TRUE);
	// Waits for the run going, running meanwhile the calls it makes to this thread's window.
	// The result of the last run.
	BOOL Wait();
	BOOL IsRunning() const { return m_bRunning.load(); }

	const CRendoInfo& GetRendoInfo() const { return *m_pInfo; }
	CRendoInfo& GetRendoInfo() { return *m_pInfo; }
	// The context document, null once it has closed.
	CBaseDocument* GetContext() const;
	int GetRunCount() const { return m_nRuns; }

private:
	BOOL RunNow();

	std::unique_ptr<CRendoInfo> m_pInfo;
	CBaseDocument* m_pContext;
	HWND m_hWnd;
	int m_nRuns = 0;
	std::thread m_Worker;
	std::atomic<bool> m_bRunning{false};
	std::atomic<bool> m_bLastResult{false};
};

// A report document kept by the document that started it: empty again as soon as the report
// document closes, and handed back to the command manager when the reference lets go of it.
class IDisposablePtr
{
public:
	IDisposablePtr() = default;
	explicit IDisposablePtr(CRendoDoc* pReport) : m_pReport(pReport) {}
	~IDisposablePtr() { Release(); }
	IDisposablePtr(const IDisposablePtr&) = delete;
	IDisposablePtr& operator=(const IDisposablePtr&) = delete;

	IDisposablePtr& operator=(CRendoDoc* pReport);
	// The report document, null once it has closed.
	CRendoDoc* Get() const;
	CRendoDoc* operator->() const { return Get(); }
	explicit operator bool() const { return Get() != nullptr; }
	// Hands the report document back to the command manager, which closes it once its run ends.
	void Release();

private:
	CRendoDoc* m_pReport = nullptr;
};

// The report chooser: which report a document prints. Nobody sits at a dialog here, so the
// choice comes from a script or the command line (AfxSetReportChoice).
class ReportMngDlg
{
public:
	// strReportName: the report chosen so far, which a choice replaces.
	ReportMngDlg(CString& strReportName, const CString& strDocumentNs);
	// IDOK with the choice in the report name; IDCANCEL, the name unchanged, when no choice was
	// given or the report chosen is not defined (said).
	int DoModal();

private:
	CString& m_strReportName;
	CString m_strDocumentNs;
};
// The answer of the chooser for a document's namespace (empty: for every document); an empty
// report takes the answer back.
void AfxSetReportChoice(const CString& documentNs, const CString& reportNs);

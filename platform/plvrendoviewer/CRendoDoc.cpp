#include "platform/plvrendoviewer/CRendoDoc.h"

#include <algorithm>
#include <chrono>
#include <ctime>
#include <exception>
#include <map>

#include "platform/plvgeneric/Application.h"
#include "platform/plvgeneric/Interaction.h"
#include "platform/plvgenlib/CommandManager.h"
#include "platform/plvnamesolver/FunctionWrapper.h"
#include "platform/plvrendoviewer/ReportDefinition.h"
#include "platform/plvrendoviewer/ReportWriters.h"

namespace fs = std::filesystem;

namespace {

std::atomic<IReportRunner*> g_pRunner{nullptr};

CReportRenderer& DefaultRenderer()
{
	static auto* renderer = new CReportRenderer;  // outlives every document
	return *renderer;
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
		if (pInfo && pInfo->m_bShowAskDialog && !pInfo->m_bUnattended && pContext)
		{
			CString chosen;
			if (ReportMngDlg(chosen, pContext->GetNamespace().GetPathName()).DoModal() == IDOK)
			{
				pDoc->GetRendoInfo().ClearReports();
				pDoc->GetRendoInfo().AddReport(CPLVNamespace(chosen));
			}
		}
		if (!pDoc->RunReport(bWait))
			return nullptr;
		pDoc->SetOwner(this);
		CRendoDoc* p = pDoc.get();
		{
			std::lock_guard lock(m_Mutex);
			m_Documents.push_back(pDoc.release());
		}
		if (bWait && p->GetRendoInfo().m_bCloseOnEnd)
			p->CloseDocument(TRUE);
		return p;
	}

	void EndReport(CRendoDoc* pReport) override
	{
		// A report handed back closes once its run is over.
		if (AfxExistWebServiceStateObject(pReport))
		{
			pReport->Wait();
			pReport->CloseDocument(TRUE);
		}
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

// The last part of a namespace: "KvzNet.KvzMod.ContiNonUsati" -> "ContiNonUsati".
std::string ShortName(const CString& ns)
{
	const std::string s = ns.str();
	const auto dot = s.find_last_of('.');
	std::string name = dot == std::string::npos ? s : s.substr(dot + 1);
	for (char& c : name)
		if (c == '/' || c == '\\' || c == ' ')
			c = '_';
	return name.empty() ? std::string("report") : name;
}

std::string Stamp()
{
	const std::time_t now = std::time(nullptr);
	std::tm tm{};
	localtime_r(&now, &tm);
	char buf[32];
	std::strftime(buf, sizeof buf, "%Y%m%d-%H%M%S", &tm);
	return buf;
}

// Files of one report, written under temporary names and renamed together once all are done.
class CPendingFiles
{
public:
	~CPendingFiles()
	{
		std::error_code ec;
		for (auto& [tmp, final] : m_Files)
			fs::remove(tmp, ec);
	}
	fs::path Add(const fs::path& final)
	{
		fs::path tmp = final;
		tmp += ".part";
		m_Files.emplace_back(tmp, final);
		return tmp;
	}
	std::vector<fs::path> Commit()
	{
		std::vector<fs::path> done;
		for (auto& [tmp, final] : m_Files)
		{
			fs::rename(tmp, final);
			done.push_back(final);
		}
		m_Files.clear();
		return done;
	}

private:
	std::vector<std::pair<fs::path, fs::path>> m_Files;
};

// A name not taken yet in the folder: report_stamp.ext, report_stamp-2.ext ...
fs::path FreeName(const fs::path& folder, const std::string& stem, const std::string& ext)
{
	static std::mutex s_Mutex;  // two runs in the same second must not pick the same name
	std::lock_guard lock(s_Mutex);
	static std::map<std::string, int> s_Taken;
	fs::path p = folder / (stem + "." + ext);
	for (int n = 2; fs::exists(p) || fs::exists(fs::path(p) += ".part") || s_Taken[p.string()]; ++n)
		p = folder / (stem + "-" + std::to_string(n) + "." + ext);
	s_Taken[p.string()] = 1;
	return p;
}

CString Today()
{
	DataDate d = AfxGetApplicationDate();
	return d.IsEmpty() ? CString() : CString::Formatted("%02d/%02d/%04d", d.Day(), d.Month(), d.Year());
}

// "w_ModelloInput" -> "Modello"
CString InputLabel(const CString& name)
{
	std::string s = name.str();
	if (s.rfind("w_", 0) == 0 || s.rfind("W_", 0) == 0)
		s.erase(0, 2);
	if (s.size() > 5 && s.compare(s.size() - 5, 5, "Input") == 0)
		s.erase(s.size() - 5);
	return CString(s);
}

}  // namespace

// ---- runners -----------------------------------------------------------------------------------

BOOL CRecordingReportRunner::RunReport(const CRendoInfo& info, CBaseDocument* pContext, HWND)
{
	Request r;
	r.info = std::make_shared<const CRendoInfo>(info);
	r.pContext = pContext;
	if (pContext)
		r.contextClass = pContext->GetRuntimeClass()->m_lpszClassName;
	std::lock_guard lock(m_Mutex);
	m_Requests.push_back(std::move(r));
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

void CReportRenderer::SetFormat(std::optional<ReportFormat> format)
{
	std::lock_guard lock(m_Mutex);
	m_Format = format;
}

std::optional<ReportFormat> CReportRenderer::GetFormat() const
{
	std::lock_guard lock(m_Mutex);
	return m_Format;
}

void CReportRenderer::SetFolder(const fs::path& folder)
{
	std::lock_guard lock(m_Mutex);
	m_Folder = folder;
}

fs::path CReportRenderer::GetFolder() const
{
	std::lock_guard lock(m_Mutex);
	return m_Folder.empty() ? fs::current_path() : m_Folder;
}

void CReportRenderer::SetListener(FileListener listener)
{
	std::lock_guard lock(m_Mutex);
	m_Listener = std::move(listener);
}

std::vector<fs::path> CReportRenderer::GetWrittenFiles() const
{
	std::lock_guard lock(m_Mutex);
	return m_Written;
}

CString CReportRenderer::GetLastError() const
{
	std::lock_guard lock(m_Mutex);
	return m_strLastError;
}

int CReportRenderer::GetFailedCount() const
{
	std::lock_guard lock(m_Mutex);
	return m_nFailed;
}

std::vector<fs::path> CReportRenderer::Render(const CString& reportNs, const CRendoInfo& info, CObject* pContext,
											  HWND hWnd)
{
	CReportDefinition* pDefinition = AfxFindReportDefinition(reportNs);
	if (!pDefinition)
		throw CApplicationErrorException(CString::Formatted("the report is not defined"));

	CReportOutput out;
	out.company = AfxGetLoginInfos()->m_strCompanyName;
	out.date = Today();
	CReportContext ctx(info, pContext, hWnd);
	if (info.m_bShowProgress)
		AfxSetProgressText(CString::Formatted("Report %s: reading its data...", reportNs.GetString()));
	// Every row is read before a file is opened: a data function that fails leaves nothing.
	pDefinition->Build(ctx, out);
	if (out.title.IsEmpty())
		out.title = CString(ShortName(reportNs));
	if (out.inputs.empty())
		for (int i = 0; i < info.GetParamCount(); ++i)
			out.inputs.emplace_back(InputLabel(info.GetParamName(i)), info.GetParamValue(i)->FormatData());
	std::erase_if(out.inputs, [](const auto& input) { return input.second.IsEmpty(); });
	if (out.tables.empty())
		throw CApplicationErrorException("the report laid out no table");

	const ReportFormat format =
		info.m_OutputFormat.value_or(GetFormat().value_or(pDefinition->GetPreferredFormat().value_or(ReportFormat::Pdf)));
	fs::path folder = info.m_strOutputFolder.IsEmpty() ? GetFolder() : fs::path(info.m_strOutputFolder.str());
	std::error_code ec;
	fs::create_directories(folder, ec);
	if (!fs::is_directory(folder))
		throw CApplicationErrorException(
			CString::Formatted("the folder %s cannot be made: %s", folder.c_str(), ec.message().c_str()));

	const std::string stem = ShortName(reportNs) + "_" + Stamp();
	const std::string ext = ReportFormatExtension(format).str();
	CPendingFiles files;
	switch (format)
	{
	case ReportFormat::Pdf: WriteReportPdf(out, files.Add(FreeName(folder, stem, ext))); break;
	case ReportFormat::Xlsx: WriteReportXlsx(out, files.Add(FreeName(folder, stem, ext))); break;
	case ReportFormat::Csv:
		// One table a file: a CSV holds one.
		for (size_t i = 0; i < out.tables.size(); ++i)
		{
			const std::string name = out.tables.size() == 1 ? stem : stem + "_" + std::to_string(i + 1);
			WriteReportCsv(out.tables[i], files.Add(FreeName(folder, name, ext)));
		}
		break;
	}
	return files.Commit();
}

BOOL CReportRenderer::RunReport(const CRendoInfo& info, CBaseDocument* pContext, HWND hWnd)
{
	const auto reports = info.GetReportsToRun();
	if (reports.empty())
	{
		std::lock_guard lock(m_Mutex);
		m_strLastError = "No report was named.";
	}
	BOOL ok = !reports.empty();
	for (const CPLVNamespace& ns : reports)
	{
		const CString name = ns.GetPathName();
		try
		{
			for (const fs::path& file : Render(name, info, pContext, hWnd))
			{
				FileListener listener;
				{
					std::lock_guard lock(m_Mutex);
					m_Written.push_back(file);
					listener = m_Listener;
				}
				if (listener)
					listener(file);
			}
		}
		catch (const std::exception& e)
		{
			const CString message = CString::Formatted("The report %s was not written: %s", name.GetString(), e.what());
			{
				std::lock_guard lock(m_Mutex);
				m_strLastError = message;
				++m_nFailed;
			}
			AfxMessageBox(message, MB_OK | MB_ICONERROR);
			ok = FALSE;
		}
	}
	return ok;
}

IReportRunner* AfxGetReportRunner()
{
	IReportRunner* p = g_pRunner.load();
	return p ? p : &DefaultRenderer();
}

CReportRenderer* AfxGetReportRenderer()
{
	return &DefaultRenderer();
}

IReportRunner* AfxSetReportRunner(IReportRunner* pRunner)
{
	IReportRunner* prev = g_pRunner.exchange(pRunner);
	return prev ? prev : &DefaultRenderer();
}

// ---- the report document -----------------------------------------------------------------------

CRendoDoc::CRendoDoc(std::unique_ptr<CRendoInfo> pInfo, CBaseDocument* pContext)
	: m_pInfo(pInfo ? std::move(pInfo) : std::make_unique<CRendoInfo>()), m_pContext(pContext),
	  m_hWnd(AfxGetThreadMainWnd())
{
	SetNamespace(m_pInfo->GetNamespace());
}

CRendoDoc::~CRendoDoc()
{
	Wait();
}

CBaseDocument* CRendoDoc::GetContext() const
{
	return m_pContext && AfxExistWebServiceStateObject(m_pContext) ? m_pContext : nullptr;
}

BOOL CRendoDoc::RunNow()
{
	return AfxGetReportRunner()->RunReport(*m_pInfo, GetContext(), m_hWnd);
}

BOOL CRendoDoc::RunReport(BOOL bWait, BOOL)
{
	Wait();
	++m_nRuns;
	if (bWait)
	{
		m_bLastResult = RunNow() != FALSE;
		return m_bLastResult.load();
	}
	m_bRunning = true;
	m_Worker = std::thread([this] {
		bool result = false;
		try
		{
			result = RunNow() != FALSE;
		}
		catch (...)
		{
		}
		m_bLastResult = result;
		m_bRunning = false;
	});
	return TRUE;
}

BOOL CRendoDoc::Wait()
{
	if (m_Worker.joinable())
	{
		AfxWaitRunningCalls([this] { return !m_bRunning.load(); });
		m_Worker.join();
	}
	return m_bLastResult.load();
}

// ---- references and the chooser ----------------------------------------------------------------

IDisposablePtr& IDisposablePtr::operator=(CRendoDoc* pReport)
{
	if (pReport != m_pReport)
	{
		Release();
		m_pReport = pReport;
	}
	return *this;
}

CRendoDoc* IDisposablePtr::Get() const
{
	return m_pReport && AfxExistWebServiceStateObject(m_pReport) ? m_pReport : nullptr;
}

void IDisposablePtr::Release()
{
	CRendoDoc* p = Get();
	m_pReport = nullptr;
	if (p)
		if (CPlvCommandInterface* pCmd = AfxGetPlvCmdManager())
			pCmd->ReleaseReport(p);
}

namespace {
std::mutex g_ChoiceMutex;
std::map<CString, CString>& Choices()
{
	static auto* choices = new std::map<CString, CString>;
	return *choices;
}
CString ChoiceKey(const CString& ns)
{
	CString k = ns;
	k.MakeUpper();
	return k;
}
}  // namespace

void AfxSetReportChoice(const CString& documentNs, const CString& reportNs)
{
	std::lock_guard lock(g_ChoiceMutex);
	if (reportNs.IsEmpty())
		Choices().erase(ChoiceKey(documentNs));
	else
		Choices()[ChoiceKey(documentNs)] = reportNs;
}

ReportMngDlg::ReportMngDlg(CString& strReportName, const CString& strDocumentNs)
	: m_strReportName(strReportName), m_strDocumentNs(strDocumentNs)
{
}

int ReportMngDlg::DoModal()
{
	CString choice;
	{
		std::lock_guard lock(g_ChoiceMutex);
		auto it = Choices().find(ChoiceKey(m_strDocumentNs));
		if (it == Choices().end())
			it = Choices().find(CString());
		if (it == Choices().end())
			return IDCANCEL;
		choice = it->second;
	}
	if (!AfxFindReportDefinition(choice))
	{
		AfxMessageBox(CString::Formatted("The report %s is not defined.", choice.GetString()), MB_OK | MB_ICONERROR);
		return IDCANCEL;
	}
	m_strReportName = choice;
	return IDOK;
}

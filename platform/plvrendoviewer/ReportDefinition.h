#pragma once
// Report definitions: each is registered under the namespace a request names and lays out its
// document from the request's inputs and the data it reads through the functions the
// libraries export, called by their exported names with the context document, as any report
// reads them (context handle, by-reference outputs, calls repeated until one answers false).
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "platform/plvgeneric/FunctionWrappers.h"
#include "platform/plvnamesolver/ApplicationContext.h"
#include "platform/plvrendoviewer/CRendoInfo.h"
#include "platform/plvrendoviewer/ReportOutput.h"

// A string an exported function fills by reference: owns its BSTR.
class CReportString
{
public:
	explicit CReportString(const char* init = "") : m_b(SysAllocString(init ? init : "")) {}
	~CReportString() { SysFreeString(m_b); }
	CReportString(const CReportString&) = delete;
	CReportString& operator=(const CReportString&) = delete;

	BSTR* Out() { return &m_b; }
	BSTR In() const { return m_b; }
	CString Get() const { return CString(m_b ? m_b : ""); }

private:
	BSTR m_b;
};

// A string result of an exported function, which the caller frees.
CString AfxTakeReportString(BSTR b);

// What a definition reads with: the request, its context document and the exported functions.
class CReportContext
{
public:
	CReportContext(const CRendoInfo& info, CObject* pContext, HWND hWnd) : m_Info(info), m_pContext(pContext), m_hWnd(hWnd) {}

	const CRendoInfo& GetInfo() const { return m_Info; }
	CObject* GetContextObject() const { return m_pContext; }
	HWND GetWindow() const { return m_hWnd; }

	// An input variable of the request as text (its formatted value), or the default.
	CString InputText(LPCTSTR lpszName, const CString& strDefault = CString()) const;
	int InputInt(LPCTSTR lpszName, int nDefault = 0) const;
	bool HasInput(LPCTSTR lpszName) const { return m_Info.GetParamValue(lpszName) != nullptr; }

	// The exported function of that name; CApplicationErrorException when no library exports it.
	void* Find(const char* lpszExport) const;

	// A member export: (HWND, context, args...) -> R.
	template <class R, class... A>
	R Member(const char* lpszExport, A... args) const
	{
		auto fn = reinterpret_cast<R (*)(HWND, CObject*, A...)>(Find(lpszExport));
		return fn(m_hWnd, m_pContext, args...);
	}
	// A free export: (HWND, args...) -> R.
	template <class R, class... A>
	R Global(const char* lpszExport, A... args) const
	{
		auto fn = reinterpret_cast<R (*)(HWND, A...)>(Find(lpszExport));
		return fn(m_hWnd, args...);
	}

private:
	const CRendoInfo& m_Info;
	CObject* m_pContext;
	HWND m_hWnd;
};

class CReportDefinition
{
public:
	virtual ~CReportDefinition() = default;
	// The report's namespace ("KvzNet.KvzMod.ConfrontoRiclassif").
	virtual CString GetNamespace() const = 0;
	// The exported functions the report reads with, by name (none for a report over tables).
	virtual std::vector<CString> GetExportsUsed() const { return {}; }
	// The form the report is meant for, used when neither the request nor the user chose one.
	virtual std::optional<ReportFormat> GetPreferredFormat() const { return std::nullopt; }
	// Lays out the document; an exception ends the report with nothing written.
	virtual void Build(CReportContext& ctx, CReportOutput& out) = 0;
};

// Registers a definition (taking it over) under its namespace, for the library of that module;
// one registered again replaces it. A library registers its definitions as it is loaded
// (DLL_PROCESS_ATTACH) and takes them back before it goes (AfxRemoveReportDefinitions).
void AfxRegisterReportDefinition(std::unique_ptr<CReportDefinition> pDefinition, HMODULE hModule = nullptr);
// Takes back every definition that the given library (module handle) registered.
void AfxRemoveReportDefinitions(HMODULE hModule);
CReportDefinition* AfxFindReportDefinition(const CString& ns);
std::vector<CString> AfxGetReportDefinitionNamespaces();

// The report a document prints by default, by the document's namespace; the host's reports
// library registers them. Empty when none is set.
void AfxSetDocumentDefaultReport(const CString& documentNs, const CString& reportNs);
CString AfxGetDocumentDefaultReport(const CString& documentNs);

#pragma once
// A report request: the report to run, by namespace, and its input variables
// ("w_ModelloInput", "w_EsercInput" ...), each with the value of a data object.
#include <memory>
#include <optional>
#include <vector>

#include "platform/plvgeneric/DataObj.h"
#include "platform/plvnamesolver/CPLVNamespace.h"
#include "platform/plvrendoviewer/ReportOutput.h"

// A function (here: a report) by namespace with its named parameters, in the order given.
class CFunctionDescription : public CObject
{
	DECLARE_DYNAMIC(CFunctionDescription, CObject)
public:
	CFunctionDescription() = default;
	CFunctionDescription(const CFunctionDescription& other);
	CFunctionDescription& operator=(const CFunctionDescription& other);
	~CFunctionDescription() override;

	const CPLVNamespace& GetNamespace() const { return m_Namespace; }
	void SetNamespace(const CPLVNamespace& ns) { m_Namespace = ns; }

	// Adds a parameter holding a copy of the value; a name given again takes the new value
	// and keeps its place.
	void AddParam(LPCTSTR lpszName, const DataObj& value);
	int GetParamCount() const { return static_cast<int>(m_Params.size()); }
	const CString& GetParamName(int i) const;
	const DataObj* GetParamValue(int i) const;
	// Null when there is no parameter of that name (names compare without case).
	const DataObj* GetParamValue(LPCTSTR lpszName) const;

private:
	struct Param
	{
		CString name;
		std::unique_ptr<DataObj> value;
	};
	CPLVNamespace m_Namespace;
	std::vector<Param> m_Params;
};

class CRendoInfo : public CFunctionDescription
{
	DECLARE_DYNAMIC(CRendoInfo, CFunctionDescription)
public:
	// The reports to run, in order; without any, the report of the namespace.
	void AddReport(const CPLVNamespace& ns) { m_Reports.push_back(ns); }
	void ClearReports() { m_Reports.clear(); }
	const std::vector<CPLVNamespace>& GetReports() const { return m_Reports; }
	std::vector<CPLVNamespace> GetReportsToRun() const;

	// Options of the run. Documents that print from their procedure clear the first three and
	// set the other two: nobody is asked anything and the report goes when its run ends.
	BOOL m_bShowAskDialog = TRUE;  // offer the report chooser before the run
	BOOL m_bShowPreview = TRUE;    // show the document written (no viewer here: its path is told)
	BOOL m_bShowProgress = TRUE;   // progress texts while the report reads its data
	BOOL m_bUnattended = FALSE;    // no question is ever asked
	BOOL m_bCloseOnEnd = FALSE;    // the report document closes as soon as its run ends

	// The document's form and folder; without them, those of the report engine.
	std::optional<ReportFormat> m_OutputFormat;
	CString m_strOutputFolder;

private:
	std::vector<CPLVNamespace> m_Reports;
};

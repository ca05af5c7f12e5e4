#include "platform/plvrendoviewer/ReportDefinition.h"

#include <algorithm>
#include <map>
#include <mutex>

#include "platform/plvgenlib/AddOnLibraries.h"

namespace {

struct Registered
{
	std::unique_ptr<CReportDefinition> pDefinition;
	HMODULE hModule = nullptr;
};

struct Registry
{
	std::mutex m;
	std::map<CString, Registered> definitions;  // by namespace, upper case
	std::map<CString, CString> defaults;       // document namespace (upper case) -> report
};

Registry& GetRegistry()
{
	static auto* registry = new Registry;  // libraries register while loading, before main may run
	return *registry;
}

CString Key(const CString& ns)
{
	CString k = ns;
	k.MakeUpper();
	return k;
}

}  // namespace

CString AfxTakeReportString(BSTR b)
{
	CString s(b ? b : "");
	SysFreeString(b);
	return s;
}

CString CReportContext::InputText(LPCTSTR lpszName, const CString& strDefault) const
{
	const DataObj* p = m_Info.GetParamValue(lpszName);
	return p ? p->FormatData() : strDefault;
}

int CReportContext::InputInt(LPCTSTR lpszName, int nDefault) const
{
	const DataObj* p = m_Info.GetParamValue(lpszName);
	if (!p)
		return nDefault;
	const SoapValue v = p->GetSoapValue();
	if (auto i = std::get_if<int>(&v))
		return *i;
	if (auto d = std::get_if<double>(&v))
		return static_cast<int>(*d);
	if (auto s = std::get_if<CString>(&v))
		return static_cast<int>(std::strtol(s->GetString(), nullptr, 10));
	return nDefault;
}

void* CReportContext::Find(const char* lpszExport) const
{
	void* p = AfxFindExportedFunction(lpszExport);
	if (!p)
		throw CApplicationErrorException(CString::Formatted("No loaded library exports the function %s.", lpszExport));
	return p;
}

void AfxRegisterReportDefinition(std::unique_ptr<CReportDefinition> pDefinition, HMODULE hModule)
{
	if (!pDefinition)
		return;
	const CString key = Key(pDefinition->GetNamespace());
	Registry& r = GetRegistry();
	std::lock_guard lock(r.m);
	r.definitions[key] = {std::move(pDefinition), hModule};
}

void AfxRemoveReportDefinitions(HMODULE hModule)
{
	Registry& r = GetRegistry();
	std::lock_guard lock(r.m);
	std::erase_if(r.definitions, [hModule](const auto& e) { return e.second.hModule == hModule; });
}

CReportDefinition* AfxFindReportDefinition(const CString& ns)
{
	Registry& r = GetRegistry();
	std::lock_guard lock(r.m);
	auto it = r.definitions.find(Key(ns));
	return it == r.definitions.end() ? nullptr : it->second.pDefinition.get();
}

std::vector<CString> AfxGetReportDefinitionNamespaces()
{
	Registry& r = GetRegistry();
	std::lock_guard lock(r.m);
	std::vector<CString> out;
	for (auto& [key, e] : r.definitions)
		out.push_back(e.pDefinition->GetNamespace());
	return out;
}

void AfxSetDocumentDefaultReport(const CString& documentNs, const CString& reportNs)
{
	Registry& r = GetRegistry();
	std::lock_guard lock(r.m);
	if (reportNs.IsEmpty())
		r.defaults.erase(Key(documentNs));
	else
		r.defaults[Key(documentNs)] = reportNs;
}

CString AfxGetDocumentDefaultReport(const CString& documentNs)
{
	Registry& r = GetRegistry();
	std::lock_guard lock(r.m);
	auto it = r.defaults.find(Key(documentNs));
	return it == r.defaults.end() ? CString() : it->second;
}

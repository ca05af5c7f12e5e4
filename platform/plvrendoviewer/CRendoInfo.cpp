#include "platform/plvrendoviewer/CRendoInfo.h"

#include "platform/mfc/CException.h"

CFunctionDescription::CFunctionDescription(const CFunctionDescription& other) : CObject(other)
{
	*this = other;
}

CFunctionDescription& CFunctionDescription::operator=(const CFunctionDescription& other)
{
	if (this == &other)
		return *this;
	m_Namespace = other.m_Namespace;
	m_Params.clear();
	for (auto& p : other.m_Params)
		m_Params.push_back({p.name, std::unique_ptr<DataObj>(p.value->Clone())});
	return *this;
}

CFunctionDescription::~CFunctionDescription() = default;

void CFunctionDescription::AddParam(LPCTSTR lpszName, const DataObj& value)
{
	const CString name = lpszName ? lpszName : "";
	std::unique_ptr<DataObj> copy(value.Clone());
	for (auto& p : m_Params)
		if (p.name.CompareNoCase(name) == 0)
		{
			p.value = std::move(copy);
			return;
		}
	m_Params.push_back({name, std::move(copy)});
}

const CString& CFunctionDescription::GetParamName(int i) const
{
	if (i < 0 || i >= GetParamCount())
		throw CInvalidArgException();
	return m_Params[static_cast<size_t>(i)].name;
}

const DataObj* CFunctionDescription::GetParamValue(int i) const
{
	if (i < 0 || i >= GetParamCount())
		throw CInvalidArgException();
	return m_Params[static_cast<size_t>(i)].value.get();
}

const DataObj* CFunctionDescription::GetParamValue(LPCTSTR lpszName) const
{
	for (auto& p : m_Params)
		if (p.name.CompareNoCase(lpszName ? lpszName : "") == 0)
			return p.value.get();
	return nullptr;
}

std::vector<CPLVNamespace> CRendoInfo::GetReportsToRun() const
{
	if (!m_Reports.empty())
		return m_Reports;
	if (GetNamespace().IsValid())
		return {GetNamespace()};
	return {};
}

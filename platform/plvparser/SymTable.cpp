#include "platform/plvparser/SymTable.h"

namespace {
std::unique_ptr<DataObj> NewData(WORD nDataType)
{
	switch (nDataType)
	{
	case DATA_STR_TYPE: return std::make_unique<DataStr>();
	case DATA_INT_TYPE: return std::make_unique<DataInt>();
	case DATA_LNG_TYPE: return std::make_unique<DataLng>();
	case DATA_MON_TYPE: return std::make_unique<DataMon>();
	case DATA_QTY_TYPE: return std::make_unique<DataQty>();
	case DATA_PERC_TYPE: return std::make_unique<DataPerc>();
	case DATA_DATE_TYPE: return std::make_unique<DataDate>();
	case DATA_BOOL_TYPE: return std::make_unique<DataBool>();
	case DATA_ENUM_TYPE: return std::make_unique<DataEnum>();
	default: return std::make_unique<DataDbl>();
	}
}
}  // namespace

SymField::SymField(const CString& strName, WORD nDataType) : m_strName(strName), m_pData(NewData(nDataType))
{
	m_pDbl = dynamic_cast<DataDbl*>(m_pData.get());
}

double SymField::GetValue() const
{
	if (m_pDbl)
		return m_pDbl->GetValue();
	DataValue v = m_pData->GetDataValue();
	if (auto* n = std::get_if<std::int64_t>(&v))
		return static_cast<double>(*n);
	if (auto* d = std::get_if<double>(&v))
		return *d;
	return 0.0;
}

BOOL SymField::IsNumeric() const
{
	switch (GetDataType())
	{
	case DATA_STR_TYPE:
	case DATA_DATE_TYPE:
	case DATA_ENUM_TYPE:
		return FALSE;
	default:
		return TRUE;
	}
}

SymField* SymTable::Add(const CString& strName, WORD nDataType)
{
	if (SymField* pField = GetField(strName))
		return pField;
	m_Fields.push_back(NewField(strName, nDataType));
	return m_ByName[strName.str()] = m_Fields.back().get();
}

SymField* SymTable::GetField(const CString& strName) const
{
	auto it = m_ByName.find(strName.str());
	return it == m_ByName.end() ? nullptr : it->second;
}

void SymTable::RemoveAll()
{
	m_ByName.clear();
	m_Fields.clear();
	++m_nGeneration;
}

std::unique_ptr<SymField> SymTable::NewField(const CString& strName, WORD nDataType) const
{
	return std::make_unique<SymField>(strName, nDataType);
}

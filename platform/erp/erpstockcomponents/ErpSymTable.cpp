#include "platform/erp/erpstockcomponents/ErpSymTable.h"

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

ErpSymField::ErpSymField(const CString& strName, WORD nDataType) : m_strName(strName), m_pData(NewData(nDataType)) {}

ErpSymField* ErpSymTable::Add(const CString& strName, WORD nDataType)
{
	if (ErpSymField* pField = GetField(strName))
		return pField;
	m_Fields.push_back(std::make_unique<ErpSymField>(strName, nDataType));
	return m_ByName[strName.str()] = m_Fields.back().get();
}

ErpSymField* ErpSymTable::GetField(const CString& strName) const
{
	auto it = m_ByName.find(strName.str());
	return it == m_ByName.end() ? nullptr : it->second;
}

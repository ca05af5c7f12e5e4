#include "platform/erp/erpstockcomponents/ErpSymTable.h"

std::unique_ptr<SymField> ErpSymTable::NewField(const CString& strName, WORD nDataType) const
{
	return std::make_unique<ErpSymField>(strName, nDataType);
}

#pragma once
// The host's symbol table for formulas: the parser's table, whose fields are ErpSymFields.
#include "platform/plvparser/SymTable.h"

class ErpSymField : public SymField
{
	DECLARE_DYNAMIC(ErpSymField, SymField)
public:
	using SymField::SymField;
};

class ErpSymTable : public SymTable
{
	DECLARE_DYNAMIC(ErpSymTable, SymTable)
public:
	ErpSymField* Add(const CString& strName, WORD nDataType)
	{
		return static_cast<ErpSymField*>(SymTable::Add(strName, nDataType));
	}
	ErpSymField* GetField(const CString& strName) const
	{
		return static_cast<ErpSymField*>(SymTable::GetField(strName));
	}
	ErpSymField* GetAt(int i) const { return static_cast<ErpSymField*>(SymTable::GetAt(i)); }

protected:
	std::unique_ptr<SymField> NewField(const CString& strName, WORD nDataType) const override;
};

#pragma once
// The symbol table formulas are parsed and evaluated over: named fields, each with a data type
// and a value. Names are compared exactly, case included.
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/plvgeneric/DataObj.h"

class ErpSymField : public CObject
{
	DECLARE_DYNAMIC(ErpSymField, CObject)
public:
	// A value of the type's default (DATA_DBL_TYPE: 0.0).
	ErpSymField(const CString& strName, WORD nDataType);

	const CString& GetName() const { return m_strName; }
	WORD GetDataType() const { return m_pData->GetDataType(); }
	DataObj* GetData() const { return m_pData.get(); }
	// Takes the value, converted to the field's type.
	void SetData(const DataObj& value) { m_pData->Assign(value); }

private:
	CString m_strName;
	std::unique_ptr<DataObj> m_pData;
};

class ErpSymTable : public CObject
{
	DECLARE_DYNAMIC(ErpSymTable, CObject)
public:
	ErpSymTable() = default;
	~ErpSymTable() override = default;
	ErpSymTable(const ErpSymTable&) = delete;
	ErpSymTable& operator=(const ErpSymTable&) = delete;

	// The field of that name, added when the table has none (its type is then the one given).
	ErpSymField* Add(const CString& strName, WORD nDataType);
	ErpSymField* GetField(const CString& strName) const;
	BOOL ExistField(const CString& strName) const { return GetField(strName) != nullptr; }

	// The fields in the order they were added.
	int GetSize() const { return static_cast<int>(m_Fields.size()); }
	ErpSymField* GetAt(int i) const { return m_Fields.at(static_cast<size_t>(i)).get(); }
	auto begin() const { return m_Fields.begin(); }
	auto end() const { return m_Fields.end(); }

	// Deletes every field.
	void RemoveAll()
	{
		m_ByName.clear();
		m_Fields.clear();
	}

private:
	std::vector<std::unique_ptr<ErpSymField>> m_Fields;
	std::unordered_map<std::string, ErpSymField*> m_ByName;
};

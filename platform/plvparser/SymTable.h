#pragma once
// The symbol table an expression is parsed and evaluated over: named fields, each with a data
// type and a value. Names are compared exactly, case included.
#include <cstddef>
#include <memory>
#include <span>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/plvgeneric/DataObj.h"

class SymField : public CObject
{
	DECLARE_DYNAMIC(SymField, CObject)
public:
	// A value of the type's default (DATA_DBL_TYPE: 0.0).
	SymField(const CString& strName, WORD nDataType);

	const CString& GetName() const { return m_strName; }
	WORD GetDataType() const { return m_pData->GetDataType(); }
	DataObj* GetData() const { return m_pData.get(); }
	// Takes the value, converted to the field's type.
	void SetData(const DataObj& value) { m_pData->Assign(value); }

	// The numeric value without a detour through DataObj conversions: formulas set their
	// fields once a month and read them at every evaluation.
	void SetValue(double value)
	{
		if (m_pDbl)
			*m_pDbl = value;
		else
			m_pData->SetDataValue(value);
	}
	// Gives each field fields[i] the value value(i), four to a turn: formulas set all their
	// fields once a month, and a turn of a loop costs about what setting one field does.
	template <class Value>
	static void SetValues(std::span<SymField* const> fields, Value&& value)
	{
		const size_t n = fields.size();
		size_t i = 0;
		for (; i + 4 <= n; i += 4)
		{
			fields[i]->SetValue(value(i));
			fields[i + 1]->SetValue(value(i + 1));
			fields[i + 2]->SetValue(value(i + 2));
			fields[i + 3]->SetValue(value(i + 3));
		}
		for (; i < n; ++i)
			fields[i]->SetValue(value(i));
	}
	double GetValue() const;
	// The floating value the field holds, null for the other types.
	const DataDbl* GetDblData() const { return m_pDbl; }
	// Integers, floating values and booleans take part in arithmetic; texts and dates do not.
	BOOL IsNumeric() const;

private:
	CString m_strName;
	std::unique_ptr<DataObj> m_pData;
	DataDbl* m_pDbl = nullptr;
};

class SymTable : public CObject
{
	DECLARE_DYNAMIC(SymTable, CObject)
public:
	SymTable() = default;
	~SymTable() override = default;
	SymTable(const SymTable&) = delete;
	SymTable& operator=(const SymTable&) = delete;

	// The field of that name, added when the table has none (its type is then the one given);
	// a second Add of a name keeps the first field as it is.
	SymField* Add(const CString& strName, WORD nDataType);
	SymField* GetField(const CString& strName) const;
	BOOL ExistField(const CString& strName) const { return GetField(strName) != nullptr; }

	// The fields in the order they were added.
	int GetSize() const { return static_cast<int>(m_Fields.size()); }
	SymField* GetAt(int i) const { return m_Fields.at(static_cast<size_t>(i)).get(); }
	auto begin() const { return m_Fields.begin(); }
	auto end() const { return m_Fields.end(); }

	// Deletes every field. Expressions parsed before then refuse to evaluate.
	void RemoveAll();
	// Changes whenever fields are deleted, so that a compiled expression can tell that the
	// fields it points at are gone.
	unsigned GetGeneration() const { return m_nGeneration; }

protected:
	// Derived tables make fields of their own class.
	virtual std::unique_ptr<SymField> NewField(const CString& strName, WORD nDataType) const;

private:
	std::vector<std::unique_ptr<SymField>> m_Fields;
	std::unordered_map<std::string, SymField*> m_ByName;
	unsigned m_nGeneration = 0;
};

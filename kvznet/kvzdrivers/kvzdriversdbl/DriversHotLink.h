#pragma once
// What the cost-driver lookups share: no add-on-fly, the value must exist, an optional fixed
// filter on a member the document sets, then the exact code (selection type 1), the codes
// starting with a pattern (types 2 and 4) or the descriptions starting with one (type 3), each
// sorted on the column searched, on the parameter "Param". Any other type adds nothing more.
#include "platform/plvges/HotKeyLink.h"

class DriversHotLink : public HotKeyLink
{
	DECLARE_DYNAMIC(DriversHotLink, HotKeyLink)
public:
	BOOL Customize(const DataObjArray& params) override;

protected:
	explicit DriversHotLink(CRuntimeClass* pRecordClass);
	// The fixed filter: the column equals the member's value, on the named parameter.
	void SetFixedFilter(LPCTSTR szParam, LPCTSTR szColumn, const DataObj& value);

	void OnDefineQuery(int nSelectionType) override;
	void OnPrepareQuery(DataObj* pValue, int nSelectionType) override;

	// The typed record's access, with the release assertion of a record of another class.
	template <class Rec>
	Rec* TypedRecord() const
	{
		SqlRecord* p = HotKeyLink::GetRecord();
		AssertRecordClass(p && p->IsKindOf(Rec::GetThisClass()),
						  CString("m_pRecord->IsKindOf((") + Rec::GetThisClass()->m_lpszClassName + "::GetThisClass()))");
		return static_cast<Rec*>(p);
	}

private:
	void AssertRecordClass(bool bOk, const CString& condition) const;
	// The column a selection type searches; null for a type that searches none.
	DataObj* SearchedColumn(int nSelectionType) const;

	CString m_strFixedParam;
	CString m_strFixedColumn;
	const DataObj* m_pFixedValue = nullptr;
};

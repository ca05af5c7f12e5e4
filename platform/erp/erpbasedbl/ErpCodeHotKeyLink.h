#pragma once
// The host's lookups on a code and its description: the exact code, codes starting with a
// pattern (sorted by code), descriptions starting with a pattern (sorted by description),
// every row (sorted by code). Lookups with further conditions add them in the filter hooks.
#include "platform/plvges/HotKeyLink.h"

class ErpCodeHotKeyLink : public HotKeyLink
{
	DECLARE_DYNAMIC(ErpCodeHotKeyLink, HotKeyLink)
public:
	ErpCodeHotKeyLink(CRuntimeClass* pRecordClass, LPCTSTR szCodeColumn, LPCTSTR szDescriptionColumn,
					  const CString& docNamespace = CString());
	DataObj* GetDataObj() const override { return &Code(); }
	CString GetDescription() const override;

protected:
	void OnDefineQuery(int nSelectionType) override;
	void OnPrepareQuery(DataObj* pValue, int nSelectionType) override;
	// Conditions of every selection, beside the code or description.
	virtual void OnDefineFilters(int) {}
	virtual void OnPrepareFilters(int) {}

	DataStr& Code() const;
	DataStr& Description() const;

private:
	CString m_strCodeColumn;
	CString m_strDescriptionColumn;
};

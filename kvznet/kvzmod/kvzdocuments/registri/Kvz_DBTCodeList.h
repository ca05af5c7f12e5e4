#pragma once
// The master buffer the code-list registers share: the record is read by its whole key, the
// key columns are checked in order, each with its own message, and stay read-only in edit
// mode; the register names the columns a search may use.
#include <vector>

#include "platform/plvges/DBTObject.h"

class Kvz_DBTCodeList : public DBTMaster
{
	DECLARE_DYNAMIC(Kvz_DBTCodeList, DBTMaster)
public:
	struct KeyCheck
	{
		LPCTSTR column;
		LPCTSTR missing;  // the localisable message of an empty value
	};

	Kvz_DBTCodeList(CRuntimeClass* pRecordClass, CAbstractFormDoc* pDocument, const CString& strName,
					std::vector<KeyCheck> checks, std::vector<LPCTSTR> findable);

protected:
	void OnDefineQuery() override;
	void OnPrepareQuery() override;
	void OnEnableControlsForFind() override;
	// The code stays: a new code is a new record.
	void OnDisableControlsForEdit() override;
	BOOL OnCheckPrimaryKey() override;

	DataObj& Column(LPCTSTR szColumn) const;

private:
	std::vector<KeyCheck> m_Checks;
	std::vector<LPCTSTR> m_Findable;
};

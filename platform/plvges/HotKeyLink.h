#pragma once
// Lookups: a hotlink lets a user pick a row of a table for the value a control edits,
// checks a typed value against the table, and shows the row's description beside it.
#include <memory>
#include <vector>

#include "platform/plvgenlib/CBaseDocument.h"
#include "platform/plvgenlib/HotKeyLinkObj.h"
#include "platform/plvgeneric/Array.h"
#include "platform/plvoledb/SqlTable.h"

class HotKeyLink : public HotKeyLinkObj
{
	DECLARE_DYNAMIC(HotKeyLink, HotKeyLinkObj)
public:
	// How the lookup is queried.
	enum SelectionType
	{
		DIRECT_ACCESS = 1,  // the exact code
		UPPER_BUTTON = 2,   // codes starting with a pattern
		LOWER_BUTTON = 3,   // descriptions starting with a pattern
		COMBO_ACCESS = 4,   // every row (any other type)
	};

	// The namespace is that of the document that maintains the table ("" for none);
	// pConnection null reads the document's or the default connection.
	HotKeyLink(CRuntimeClass* pRecordClass, const CString& docNamespace = CString(), SqlConnection* pConnection = nullptr);
	~HotKeyLink() override;

	void EnableAddOnFly(BOOL b = TRUE) { m_bAddOnFly = b != FALSE; }
	BOOL IsAddOnFlyEnabled() const { return m_bAddOnFly; }
	void MustExistData(BOOL b = TRUE) { m_bMustExist = b != FALSE; }
	BOOL IsMustExistData() const { return m_bMustExist; }
	const CString& GetAddOnFlyNamespace() const { return m_strDocNamespace; }
	void AttachDocument(CBaseDocument* pDocument) { m_pDocument = pDocument; }
	CBaseDocument* GetDocument() const { return m_pDocument; }

	SqlRecord* GetRecord() const { return m_pRecord.get(); }

	// Finds the row for a value (the exact-code query). TRUE when found; the record holds it.
	BOOL FindRecord(DataObj* pValue, BOOL bCallLink = FALSE, BOOL bFromControl = FALSE, BOOL bInternal = FALSE) override;
	BOOL IsFound() const { return m_bFound; }
	// Checks a value as a control would when a user types it: find, then IsValid.
	BOOL ValidateValue(DataObj* pValue) override;
	// The rows a search of the given type lists for a pattern (at most nMaxRows).
	std::vector<std::unique_ptr<SqlRecord>> Search(int nSelectionType, const DataObj& value, int nMaxRows = 1000);

	// The framework's check: a value that must exist and was not found is refused.
	BOOL IsValid() override;
	// Refuses with a message; returns FALSE so that IsValid can return it.
	BOOL SetErrorString(const CString& text);
	const CString& GetErrorString() const override { return m_strError; }

	// A code not found, of a lookup that must find its codes and names the document that
	// maintains them: the user is asked whether to add it; on yes that document opens on a new
	// record with the code, and its save gives the code to the control.
	AddOnFly OfferAddOnFly(CParsedCtrl* pCtrl, const DataObj& value) override;

	// A description of the found row, for display beside the control.
	virtual CString GetDescription() const;
	CString GetDescriptionOf(const DataObj& value) const override;
	virtual BOOL Customize(const DataObjArray&) { return FALSE; }

protected:
	virtual void OnDefineQuery(int nSelectionType) = 0;
	virtual void OnPrepareQuery(DataObj* pValue, int nSelectionType) = 0;

	// The cursor the query hooks define.
	SqlTable* m_pTable = nullptr;

private:
	void Define(int nSelectionType);
	SqlSession* ChooseSession() const;

	std::unique_ptr<SqlRecord> m_pRecord;
	std::unique_ptr<SqlTable> m_pOwnedTable;
	CString m_strDocNamespace;
	SqlConnection* m_pConnection;
	CBaseDocument* m_pDocument = nullptr;
	bool m_bAddOnFly = true;
	bool m_bMustExist = false;
	bool m_bFound = false;
	int m_nDefinedType = 0;
	CString m_strError;
	CString m_strLastValue;
};

#pragma once
// What a control knows of its lookup: the value it checks and the description it shows.
#include "platform/plvgeneric/DataObj.h"

class CParsedCtrl;

class HotKeyLinkObj : public CObject
{
	DECLARE_DYNAMIC(HotKeyLinkObj, CObject)
public:
	// The value the lookup control edits.
	virtual DataObj* GetDataObj() const = 0;
	// Checks the record found for the value; FALSE with an error text refuses it.
	virtual BOOL IsValid() = 0;
	// Finds the row for a value; TRUE when found.
	virtual BOOL FindRecord(DataObj* pValue, BOOL bCallLink = FALSE, BOOL bFromControl = FALSE, BOOL bInternal = FALSE) = 0;
	// Checks a value as a control does when a user types it: find, then IsValid.
	virtual BOOL ValidateValue(DataObj* pValue) = 0;
	// Why the last value was refused.
	virtual const CString& GetErrorString() const = 0;
	// The description of the row found for the value, empty when that value was not found.
	virtual CString GetDescriptionOf(const DataObj& value) const = 0;

	enum AddOnFly
	{
		ADD_NOT_OFFERED,  // the lookup adds no codes: the value is refused as usual
		ADD_DECLINED,     // the user did not want the code added
		ADD_OPENED,       // a document to add the code opened; its save gives the code to the control
	};
	// A value the lookup refused: offers to add it through the document that maintains the table.
	virtual AddOnFly OfferAddOnFly(CParsedCtrl* /*pCtrl*/, const DataObj& /*value*/) { return ADD_NOT_OFFERED; }
};

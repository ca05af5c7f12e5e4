#pragma once
// The host's VAT codes with their rates.
#include "platform/erp/erpbasedbl/ErpCodeHotKeyLink.h"
#include "platform/plvges/KeyedQuery.h"

class TTAX : public SqlRecord
{
	DECLARE_DYNCREATE(TTAX, SqlRecord)
public:
	explicit TTAX(BOOL bCallInit = TRUE);
	static LPCTSTR GetStaticName() { return _T("Erp_TaxCodes"); }
	void BindRecord() override;

	DataStr f_TaxCode;
	DataStr f_Description;
	DataPerc f_Perc;  // the rate, in percent
};

class TRTAX : public KeyedReader
{
	DECLARE_DYNAMIC(TRTAX, TableReader)
public:
	explicit TRTAX(CBaseDocument* pDocument = nullptr);
	FindResult FindRecord(const DataStr& aTaxCode);
	TTAX* GetRecord() const;

protected:
	DataStr m_TaxCode;
};

class HKLTAX : public ErpCodeHotKeyLink
{
	DECLARE_DYNCREATE(HKLTAX, ErpCodeHotKeyLink)
public:
	HKLTAX();
	TTAX* GetRecord() const;
};

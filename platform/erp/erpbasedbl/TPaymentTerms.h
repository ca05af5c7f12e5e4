#pragma once
// The host's payment terms: how many instalments, when they fall due and how an amount and its
// tax are split over them.
#include "platform/erp/erpbasedbl/ErpBaseDblEnums.h"
#include "platform/erp/erpbasedbl/ErpCodeHotKeyLink.h"
#include "platform/plvges/KeyedQuery.h"

class TPaymentTerms : public SqlRecord
{
	DECLARE_DYNCREATE(TPaymentTerms, SqlRecord)
public:
	explicit TPaymentTerms(BOOL bCallInit = TRUE);
	static LPCTSTR GetStaticName() { return _T("Erp_PaymentTerms"); }
	void BindRecord() override;

	DataStr f_Code;
	DataStr f_Description;
	DataInt f_NoOfInstalments;         // 0 counts as one
	DataInt f_DaysToFirstInstalment;   // from the date the schedule starts at
	DataInt f_DaysBetweenInstalments;
	DataBool f_EndOfMonth;             // each due date moves to the end of its month
	DataEnum f_AmountsSplit{E_INSTALMENTSPLIT, 0};
	DataBool f_TaxOnFirstInstalment;   // the whole tax falls due with the first instalment
};

class TRPaymentTerms : public KeyedReader
{
	DECLARE_DYNAMIC(TRPaymentTerms, TableReader)
public:
	explicit TRPaymentTerms(CBaseDocument* pDocument = nullptr);
	FindResult FindRecord(const DataStr& aCode);
	TPaymentTerms* GetRecord() const;

protected:
	DataStr m_Code;
};

class HKLPaymentTerms : public ErpCodeHotKeyLink
{
	DECLARE_DYNCREATE(HKLPaymentTerms, ErpCodeHotKeyLink)
public:
	HKLPaymentTerms();
	TPaymentTerms* GetRecord() const;
};

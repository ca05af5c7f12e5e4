#pragma once
// The host's cost centres.
#include "platform/erp/erpbasedbl/ErpCodeHotKeyLink.h"
#include "platform/plvges/KeyedQuery.h"

class TCostCenters : public SqlRecord
{
	DECLARE_DYNCREATE(TCostCenters, SqlRecord)
public:
	explicit TCostCenters(BOOL bCallInit = TRUE);
	static LPCTSTR GetStaticName() { return _T("Erp_CostCenters"); }
	void BindRecord() override;

	DataStr f_CostCenter;
	DataStr f_Description;
};

class TRCostCenters : public KeyedReader
{
	DECLARE_DYNAMIC(TRCostCenters, TableReader)
public:
	explicit TRCostCenters(CBaseDocument* pDocument = nullptr);
	FindResult FindRecord(const DataStr& aCostCenter);
	TCostCenters* GetRecord() const;

protected:
	DataStr m_CostCenter;
};

class HKLCostCenters : public ErpCodeHotKeyLink
{
	DECLARE_DYNCREATE(HKLCostCenters, ErpCodeHotKeyLink)
public:
	HKLCostCenters();
	TCostCenters* GetRecord() const;
};

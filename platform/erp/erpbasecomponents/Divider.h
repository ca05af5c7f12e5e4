#pragma once
// A payment schedule: the instalments in which payment terms split an amount and its tax, each
// with its due date. The instalments add up to the amount and the tax to the cent.
#include <vector>

#include "platform/erp/erpbasedbl/TPaymentTerms.h"
#include "platform/plvgenlib/CBaseDocument.h"

class Instalment : public CObject
{
	DECLARE_DYNAMIC(Instalment, CObject)
public:
	DataDate f_DueDate;
	DataMon f_Amount;  // the share of the amount plus the share of the tax
	DataMon f_Tax;     // the share of the tax
};

class Divider : public CObject
{
	DECLARE_DYNAMIC(Divider, CObject)
public:
	explicit Divider(CBaseDocument* pDocument = nullptr) : m_pDocument(pDocument) {}

	// The instalments of the terms from the first date: their due dates, and the amount and tax
	// split as the terms say.
	void GeneratePymtSchedule(const TPaymentTerms& aTerms, const DataDate& aFirstDate, const DataMon& aAmount,
							  const DataMon& aTax);
	// Splits an amount and its tax anew over the instalments of the schedule (one when there is
	// none yet): aSplit of E_INSTALMENTSPLIT, aTaxOnFirst puts the whole tax on the first.
	void SubdivideAmounts(const DataEnum& aSplit, const DataBool& aTaxOnFirst, const DataMon& aAmount,
						  const DataMon& aTax);

	int GetSize() const { return static_cast<int>(m_Instalments.size()); }
	// Null outside 0 .. GetSize() - 1.
	const Instalment* GetInstalment(int i) const;
	void RemoveAll() { m_Instalments.clear(); }
	CBaseDocument* GetDocument() const { return m_pDocument; }

private:
	CBaseDocument* m_pDocument;
	std::vector<Instalment> m_Instalments;
};

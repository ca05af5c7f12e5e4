#include "platform/erp/erpbasecomponents/Divider.h"

#include <cmath>

namespace {
long long Cents(double amount)
{
	return std::llround(amount * 100.0);
}

// A total in cents split into n equal shares; what does not divide goes to the last share, or
// to the first one when asked.
std::vector<long long> Split(long long total, size_t n, bool remainderFirst)
{
	std::vector<long long> shares(n, total / static_cast<long long>(n));
	const long long remainder = total - shares[0] * static_cast<long long>(n);
	shares[remainderFirst ? 0 : n - 1] += remainder;
	return shares;
}
}  // namespace

void Divider::GeneratePymtSchedule(const TPaymentTerms& aTerms, const DataDate& aFirstDate, const DataMon& aAmount,
								   const DataMon& aTax)
{
	m_Instalments.clear();
	const int n = aTerms.f_NoOfInstalments > 0 ? aTerms.f_NoOfInstalments.GetValue() : 1;
	for (int i = 0; i < n; ++i)
	{
		Instalment inst;
		inst.f_DueDate = aFirstDate;
		inst.f_DueDate += aTerms.f_DaysToFirstInstalment + static_cast<long>(i) * aTerms.f_DaysBetweenInstalments;
		if (aTerms.f_EndOfMonth && !inst.f_DueDate.IsEmpty())
		{
			const DataDate due = inst.f_DueDate;
			inst.f_DueDate.SetDate(MonthDays(due.Month(), due.Year()), due.Month(), due.Year());
		}
		m_Instalments.push_back(inst);
	}
	SubdivideAmounts(aTerms.f_AmountsSplit, aTerms.f_TaxOnFirstInstalment, aAmount, aTax);
}

void Divider::SubdivideAmounts(const DataEnum& aSplit, const DataBool& aTaxOnFirst, const DataMon& aAmount,
							   const DataMon& aTax)
{
	if (m_Instalments.empty())
		m_Instalments.emplace_back();
	const size_t n = m_Instalments.size();
	const bool remainderFirst = aSplit.GetItemValue() == 1;
	const std::vector<long long> amounts = Split(Cents(aAmount), n, remainderFirst);
	std::vector<long long> taxes = Split(Cents(aTax), n, remainderFirst);
	if (aTaxOnFirst)
	{
		taxes.assign(n, 0);
		taxes[0] = Cents(aTax);
	}
	for (size_t i = 0; i < n; ++i)
	{
		m_Instalments[i].f_Amount = static_cast<double>(amounts[i] + taxes[i]) / 100.0;
		m_Instalments[i].f_Tax = static_cast<double>(taxes[i]) / 100.0;
	}
}

const Instalment* Divider::GetInstalment(int i) const
{
	return i >= 0 && i < GetSize() ? &m_Instalments[static_cast<size_t>(i)] : nullptr;
}

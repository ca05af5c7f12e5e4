#pragma once
// The updaters of a driver's target models and of their working copy find a row the same way:
// by year, company, driver and model; a row without a model is no query.
#include "platform/plvges/KeyedQuery.h"

namespace kvzdrivers {

template <class Rec>
class DriversModelUpdater : public KeyedUpdater
{
public:
	explicit DriversModelUpdater(CBaseDocument* pDocument = nullptr, CMessages* pMessages = nullptr)
		: KeyedUpdater(Rec::GetThisClass(), pDocument, pMessages)
	{
		m_Keys.Add(_T("Esercizio"), _T("Esercizio"), m_Esercizio, false);
		m_Keys.Add(_T("Ditta"), _T("Ditta"), m_Ditta, false);
		m_Keys.Add(_T("ParamModelloDrivers"), _T("ModelloDrivers"), m_ModelloDrivers, false);
		m_Keys.Add(_T("ModelloRiclassific"), _T("ModelloRiclassific"), m_ModelloRiclassific);
	}

	FindResult FindRecord(const DataInt& aEsercizio, const DataStr& aDitta, const DataStr& aModelloDrivers,
						  const DataStr& aModelloRiclassific, BOOL bLock)
	{
		m_Esercizio = aEsercizio;
		m_Ditta = aDitta;
		m_ModelloDrivers = aModelloDrivers;
		m_ModelloRiclassific = aModelloRiclassific;
		return TableUpdater::FindRecord(bLock, nullptr);
	}

protected:
	DataInt m_Esercizio;
	DataStr m_Ditta;
	DataStr m_ModelloDrivers;
	DataStr m_ModelloRiclassific;
};

}  // namespace kvzdrivers
